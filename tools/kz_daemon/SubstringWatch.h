#pragma once
// Notices a text in a stream that arrives in chunks, even when a chunk
// boundary cuts through it.

#include <string>
#include <string_view>

namespace kz::adapter {

class SubstringWatch
{
public:
    explicit SubstringWatch(std::string needle);

    void Feed(std::string_view chunk);
    bool Seen() const { return seen_; }

private:
    std::string needle_;
    std::string carry_;
    bool seen_ = false;
};

}  // namespace kz::adapter
