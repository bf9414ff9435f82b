#pragma once
// The box's command interpreter: runs one command line of the shell service.

#include "ShellContext.h"
#include "ShellLexer.h"

namespace box::dev {

ShellResult RunCommandLine(BoxState& box, const std::string& line, Output& out);

// Expands the wildcard words of a command against the box's file tree.
Args ExpandWords(const ShellContext& ctx, const std::vector<Word>& words);

}  // namespace box::dev
