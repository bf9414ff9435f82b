#pragma once
// An argument list as posix_spawn takes it: pointers into `args`, which must
// outlive the result, ending in a null pointer.

#include <string>
#include <vector>

namespace bench {

inline std::vector<char*> ArgvOf(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    return argv;
}

}  // namespace bench
