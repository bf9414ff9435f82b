#pragma once
// Qt orders a queued call after its sender's work, and a blocking call's
// return after the call, with mutexes and semaphores inside its own
// libraries.  Those are not instrumented, so ThreadSanitizer cannot see that
// order and reports the two threads' accesses to the call's data as races.
// A HandOverMark captured as the LAST member of a functor handed to Qt tells
// it about the order Qt keeps:
//  - each move of the functor (into Qt's call object) publishes what the
//    sender wrote, captures included;
//  - Received(), first thing in the call, takes that up;
//  - Returned(), last thing in a blocking call, publishes what the call wrote;
//  - destroying the mark (Qt drops the call object) takes that up, before the
//    other captures are destroyed.
// In builds without ThreadSanitizer it is empty and does nothing.

#if defined(__SANITIZE_THREAD__)
#define KZ_TSAN_HAND_OVER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KZ_TSAN_HAND_OVER 1
#endif
#endif

#ifdef KZ_TSAN_HAND_OVER
#include <sanitizer/tsan_interface.h>
#endif

namespace kz::ui {

#ifdef KZ_TSAN_HAND_OVER
class HandOverMark {
public:
    HandOverMark() { Publish(); }
    HandOverMark(const HandOverMark&) { Publish(); }
    HandOverMark(HandOverMark&&) noexcept { Publish(); }
    HandOverMark& operator=(const HandOverMark&) = delete;
    HandOverMark& operator=(HandOverMark&&) = delete;
    ~HandOverMark() { TakeUp(); }

    void Received() const { TakeUp(); }
    void Returned() const { Publish(); }

private:
    // One key for all calls, as Qt orders every call posted to a thread
    // through that thread's one event queue lock.  (A key kept in the mark
    // would have to be read before the order is taken up.)
    static char* Key()
    {
        static char key;
        return &key;
    }
    static void Publish() { __tsan_release(Key()); }
    static void TakeUp() { __tsan_acquire(Key()); }
};
#else
struct HandOverMark {
    void Received() const {}
    void Returned() const {}
};
#endif

}  // namespace kz::ui
