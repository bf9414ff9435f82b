#include "tools/kz_daemon/OutputRewriter.h"

#include <algorithm>
#include <array>

namespace kz::adapter {

namespace {

struct Rule
{
    std::string_view from;
    std::string_view to;
    bool lineStartOnly;
};

// The header rule includes its line feed so that it only matches the whole
// line, and supplies the CR itself.
constexpr std::array kRules{
    Rule{"List of devices attached\n", "List of devices attached \r\n", true},
    Rule{"no devices/emulators found", "device not found", false},
    Rule{"more than one device/emulator", "more than one device and emulator", false},
};

// Every byte a rule can start with, plus the line feed; anything else is
// copied in runs.
constexpr std::string_view kInteresting = "\nLnm";

enum class Match { None, Partial, Full };

Match MatchAt(std::string_view text, std::string_view pattern)
{
    if (text.size() >= pattern.size())
        return text.substr(0, pattern.size()) == pattern ? Match::Full : Match::None;
    return pattern.substr(0, text.size()) == text ? Match::Partial : Match::None;
}

struct RuleMatch
{
    Match match = Match::None;
    const Rule* rule = nullptr;
};

// A full match wins over another rule's partial one.
RuleMatch MatchRules(std::string_view rest, bool atLineStart)
{
    RuleMatch best;
    for (const Rule& rule : kRules) {
        if (rule.lineStartOnly && !atLineStart)
            continue;
        const Match m = MatchAt(rest, rule.from);
        if (m == Match::Full)
            return {Match::Full, &rule};
        if (m == Match::Partial)
            best = {Match::Partial, &rule};
    }
    return best;
}

}  // namespace

std::string OutputRewriter::Feed(std::string_view chunk)
{
    held_.append(chunk);
    return Process(false);
}

std::string OutputRewriter::Finish()
{
    return Process(true);
}

std::string OutputRewriter::Process(bool final)
{
    const std::string_view text = held_;
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 8);
    size_t i = 0;
    while (i < text.size()) {
        const size_t next = std::min(text.find_first_of(kInteresting, i), text.size());
        out.append(text.substr(i, next - i));
        i = next;
        if (i == text.size())
            break;
        const bool atLineStart = i == 0 ? heldAtLineStart_ : text[i - 1] == '\n';
        const RuleMatch m = MatchRules(text.substr(i), atLineStart);
        if (m.match == Match::Partial && !final)
            break;
        if (m.match == Match::Full) {
            out.append(m.rule->to);
            i += m.rule->from.size();
            continue;
        }
        out.append(text[i] == '\n' ? "\r\n" : text.substr(i, 1));
        ++i;
    }
    if (i > 0)
        heldAtLineStart_ = text[i - 1] == '\n';
    held_.erase(0, i);
    return out;
}

}  // namespace kz::adapter
