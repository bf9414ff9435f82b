#pragma once
// Splits a shell command line into simple commands joined by ";", "&&" and
// "||", with single and double quotes and backslash escapes.  Only the
// unquoted "*" and "?" of a word are wildcards.

#include <optional>
#include <string>
#include <vector>

namespace box::dev {

struct Word {
    std::string text;     // the word with quotes removed
    std::string pattern;  // the same with quoted wildcards escaped by a backslash
    bool glob = false;    // holds an unquoted wildcard
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
