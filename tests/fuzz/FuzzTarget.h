#pragma once
// One fuzz target's source serves two builds.  With KZ_FUZZ_LIBFUZZER (the
// clang tree of scripts/fuzz) KZ_FUZZ_TARGET(Name) is libFuzzer's entry
// point; otherwise it registers the function under Name so that the replay
// test feeds it every file of corpus/Name/ in the normal suite.
//
// KZ_FUZZ_CHECK states an invariant: libFuzzer stops at a broken one and
// keeps the input; the replay test reports it as a failure of that input.

#include <cstddef>
#include <cstdint>

namespace kz::fuzz {

using Target = void (*)(const uint8_t* data, size_t size);

// Keeps `target` for the replay test; the result only serves static initialisation.
bool Register(const char* name, Target target);

void ReportBrokenInvariant(const char* condition, const char* file, int line);

}  // namespace kz::fuzz

#ifdef KZ_FUZZ_LIBFUZZER

#define KZ_FUZZ_TARGET(Name)                                                              \
    static void KzFuzzOne(const uint8_t* data, size_t size);                              \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)               \
    {                                                                                     \
        KzFuzzOne(data, size);                                                            \
        return 0;                                                                         \
    }                                                                                     \
    static void KzFuzzOne(const uint8_t* data, size_t size)

#else

#define KZ_FUZZ_TARGET(Name)                                                              \
    static void KzFuzzOne(const uint8_t* data, size_t size);                              \
    [[maybe_unused]] static const bool kKzFuzzRegistered = kz::fuzz::Register(#Name, KzFuzzOne); \
    static void KzFuzzOne(const uint8_t* data, size_t size)

#endif

#define KZ_FUZZ_CHECK(condition)                                                          \
    do {                                                                                  \
        if (!(condition))                                                                 \
            kz::fuzz::ReportBrokenInvariant(#condition, __FILE__, __LINE__);              \
    } while (false)
