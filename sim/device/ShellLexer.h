#pragma once
// Splits a shell command line into simple commands joined by ";", "&&" and
// "||", with single and double quotes and backslash escapes.  Only the
// unquoted "*" and "?" of a word are wildcards.  A command substitution,
// "$(...)" or backquotes, unquoted or in double quotes, is kept with the
// word: the shell runs it when it expands the word, as sh does.

#include <optional>
#include <string>
#include <vector>

namespace box::dev {

struct Substitution {
    std::string command;   // the text between "$(" and ")" or the backquotes
    size_t textAt = 0;     // where its output goes into the word's text
    size_t patternAt = 0;  // and into its pattern
};

struct Word {
    std::string text;     // the word with quotes removed
    std::string pattern;  // the same with quoted wildcards escaped by a backslash
    bool glob = false;    // holds an unquoted wildcard
    std::vector<Substitution> substitutions;  // in the order they appear
};

enum class Joint { First, Always, IfOk, IfFailed };  // start, ";", "&&", "||"

struct SimpleCommand {
    Joint joint = Joint::First;
    std::vector<Word> words;
};

struct ParsedLine {
    std::vector<SimpleCommand> commands;
    std::string error;  // a syntax error: nothing may run
};

ParsedLine ParseCommandLine(const std::string& line);

}  // namespace box::dev
