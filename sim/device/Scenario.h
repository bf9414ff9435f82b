#pragma once
// What the operator or a test has set up around the box: which media are in
// it, how fast it works and which operations are made to fail.  Kept in the
// state directory so that a restarted box comes back the same.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace box::dev {

struct Scenario {
    bool chipInserted = true;
    bool udiskInserted = true;
    std::optional<uint64_t> speed;  // bytes per second (0 = unthrottled); unset: the config's
    std::set<std::string> fail;  // operations that report an I/O failure
    // Operations that end well but leave one byte of what they wrote flipped,
    // as a bad cell would: only a checksum can tell.
    std::set<std::string> corrupt;
};

// The operation names "fail" accepts.
const std::set<std::string>& FailableOperations();
// The operation names "corrupt" accepts: "cp" (the copy's target), "write"
// (the chip partition written from a file), "push" (the pushed file) and
// "pull" (the bytes sent to the host).
const std::set<std::string>& CorruptibleOperations();

// Applies one control command.  Returns "ok" or an error text; on error the
// scenario is unchanged.
std::string ApplyControl(Scenario& scenario, const std::string& command);

bool LoadScenario(const std::filesystem::path& file, Scenario& scenario);
bool SaveScenario(const std::filesystem::path& file, const Scenario& scenario);

}  // namespace box::dev
