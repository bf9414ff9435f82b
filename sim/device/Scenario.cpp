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

std::string OperationList()
{
    std::string list;
    for (const auto& op : FailableOperations())
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

std::string SetFail(Scenario& scenario, const std::vector<std::string>& w)
{
    if (w.size() == 1) {
        scenario.fail.clear();
        return "ok";
    }
    for (size_t i = 1; i < w.size(); ++i)
        if (!FailableOperations().count(w[i]))
            return "error: unknown operation '" + w[i] + "' (known: " + OperationList() + ")";
    for (size_t i = 1; i < w.size(); ++i)
        scenario.fail.insert(w[i]);
    return "ok";
}

}  // namespace

const std::set<std::string>& FailableOperations()
{
    static const std::set<std::string> ops{"configure", "cp", "df", "info", "ls", "mount", "mtk",
                                           "push", "read", "read_user", "write"};
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
        return SetFail(scenario, w);
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
        for (const auto& op : j.value("fail", std::vector<std::string>{}))
            if (FailableOperations().count(op))
                s.fail.insert(op);
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
    return WriteFileAtomically(file, j.dump(2) + "\n");
}

}  // namespace box::dev
