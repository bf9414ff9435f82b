#include "Scenario.h"

#include "AtomicFile.h"

#include <charconv>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

namespace box::dev {
namespace {

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::string OperationList(const std::set<std::string>& operations)
{
    std::string list;
    for (const auto& op : operations)
        list += (list.empty() ? "" : ", ") + op;
    return list;
}

std::string SetSpeed(Scenario& scenario, const std::vector<std::string>& w)
{
    uint64_t value = 0;
    if (w.size() != 2)
        return "error: usage: speed BYTES_PER_SECOND";
    const auto* end = w[1].data() + w[1].size();
    auto [ptr, ec] = std::from_chars(w[1].data(), end, value);
    if (ec != std::errc() || ptr != end)
        return "error: speed wants a whole number of bytes per second, got '" + w[1] + "'";
    scenario.speed = value;
    return "ok";
}

// "fail OP..." and "corrupt OP...": the words name operations of `known`;
// the command alone clears the set.
std::string SetOperations(std::set<std::string>& set, const std::set<std::string>& known,
                          const std::vector<std::string>& w)
{
    if (w.size() == 1) {
        set.clear();
        return "ok";
    }
    for (size_t i = 1; i < w.size(); ++i)
        if (!known.count(w[i]))
            return "error: unknown operation '" + w[i] + "' (known: " + OperationList(known) + ")";
    for (size_t i = 1; i < w.size(); ++i)
        set.insert(w[i]);
    return "ok";
}

void LoadOperations(const nlohmann::json& j, const char* key, const std::set<std::string>& known,
                    std::set<std::string>& set)
{
    for (const auto& op : j.value(key, std::vector<std::string>{}))
        if (known.count(op))
            set.insert(op);
}

}  // namespace

const std::set<std::string>& FailableOperations()
{
    static const std::set<std::string> ops{"configure", "cp", "df", "info", "ls", "mount", "mtk",
                                           "pull", "push", "read", "read_user", "write"};
    return ops;
}

const std::set<std::string>& CorruptibleOperations()
{
    static const std::set<std::string> ops{"cp", "pull", "push", "write"};
    return ops;
}

std::string ApplyControl(Scenario& scenario, const std::string& command)
{
    const auto w = Words(command);
    if (w.empty())
        return "error: empty command";
    const bool single = w.size() == 1;
    if (w[0] == "insert-chip" && single)
        scenario.chipInserted = true;
    else if (w[0] == "remove-chip" && single)
        scenario.chipInserted = false;
    else if (w[0] == "insert-udisk" && single)
        scenario.udiskInserted = true;
    else if (w[0] == "remove-udisk" && single)
        scenario.udiskInserted = false;
    else if (w[0] == "speed")
        return SetSpeed(scenario, w);
    else if (w[0] == "fail")
        return SetOperations(scenario.fail, FailableOperations(), w);
    else if (w[0] == "corrupt")
        return SetOperations(scenario.corrupt, CorruptibleOperations(), w);
    else
        return "error: unknown command '" + command + "'";
    return "ok";
}

bool LoadScenario(const std::filesystem::path& file, Scenario& scenario)
{
    std::ifstream in(file);
    if (!in)
        return false;
    try {
        const auto j = nlohmann::json::parse(in);
        Scenario s;
        s.chipInserted = j.value("chipInserted", true);
        s.udiskInserted = j.value("udiskInserted", true);
        if (j.contains("speed") && j["speed"].is_number_unsigned())
            s.speed = j["speed"].get<uint64_t>();
        LoadOperations(j, "fail", FailableOperations(), s.fail);
        LoadOperations(j, "corrupt", CorruptibleOperations(), s.corrupt);
        scenario = s;
        return true;
    } catch (const nlohmann::json::exception&) {
        return false;
    }
}

bool SaveScenario(const std::filesystem::path& file, const Scenario& scenario)
{
    nlohmann::json j;
    j["chipInserted"] = scenario.chipInserted;
    j["udiskInserted"] = scenario.udiskInserted;
    if (scenario.speed)
        j["speed"] = *scenario.speed;
    j["fail"] = std::vector<std::string>(scenario.fail.begin(), scenario.fail.end());
    j["corrupt"] = std::vector<std::string>(scenario.corrupt.begin(), scenario.corrupt.end());
    return WriteFileAtomically(file, j.dump(2) + "\n");
}

}  // namespace box::dev
