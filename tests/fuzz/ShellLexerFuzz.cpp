// korvald-box: the command lines its shell is asked to run.
#include "sim/device/ShellLexer.h"
#include "tests/fuzz/FuzzTarget.h"

#include <string>
#include <vector>

namespace {

using namespace box::dev;

// The text a pattern matches literally, when it has no wildcard.
std::string Unescaped(const std::string& pattern)
{
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\' && i + 1 < pattern.size())
            ++i;
        text += pattern[i];
    }
    return text;
}

std::string SingleQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    quoted += '\'';
    return quoted;
}

void CheckParsed(const ParsedLine& parsed)
{
    if (!parsed.error.empty()) {
        KZ_FUZZ_CHECK(parsed.commands.empty());
        return;
    }
    for (size_t i = 0; i < parsed.commands.size(); ++i) {
        const SimpleCommand& command = parsed.commands[i];
        KZ_FUZZ_CHECK(!command.words.empty());
        KZ_FUZZ_CHECK((i == 0) == (command.joint == Joint::First));
        for (const Word& word : command.words) {
            size_t textAt = 0;
            size_t patternAt = 0;
            for (const Substitution& substitution : word.substitutions) {
                KZ_FUZZ_CHECK(substitution.textAt >= textAt && substitution.textAt <= word.text.size());
                KZ_FUZZ_CHECK(substitution.patternAt >= patternAt && substitution.patternAt <= word.pattern.size());
                textAt = substitution.textAt;
                patternAt = substitution.patternAt;
            }
            if (word.glob)
                KZ_FUZZ_CHECK(word.text.find_first_of("*?") != std::string::npos);
            else
                KZ_FUZZ_CHECK(Unescaped(word.pattern) == word.text);
        }
    }
}

}  // namespace

KZ_FUZZ_TARGET(ShellLexer)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    CheckParsed(ParseCommandLine(line));

    // The NUL-separated pieces of the input, each in single quotes as the
    // program quotes file names: one command of exactly these words, nothing
    // in them run.
    std::vector<std::string> pieces;
    std::string quoted;
    size_t start = 0;
    for (size_t end = 0; end <= line.size(); ++end) {
        if (end < line.size() && line[end] != '\0')
            continue;
        pieces.push_back(line.substr(start, end - start));
        if (!quoted.empty())
            quoted += ' ';
        quoted += SingleQuoted(pieces.back());
        start = end + 1;
    }
    const ParsedLine parsed = ParseCommandLine(quoted);
    KZ_FUZZ_CHECK(parsed.error.empty() && parsed.commands.size() == 1);
    if (parsed.commands.size() != 1)
        return;
    const std::vector<Word>& words = parsed.commands[0].words;
    KZ_FUZZ_CHECK(words.size() == pieces.size());
    for (size_t i = 0; i < words.size() && i < pieces.size(); ++i)
        KZ_FUZZ_CHECK(words[i].text == pieces[i] && !words[i].glob && words[i].substitutions.empty());
}
