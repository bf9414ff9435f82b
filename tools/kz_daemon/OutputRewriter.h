#pragma once
// Turns what Debian's adb prints into the vocabulary the program was written
// against: CR LF line ends, the device-list header with its trailing blank and
// the older wording of the two "which device" errors.  Pure and streaming, so
// it can sit between a live pipe and standard output.

#include <string>
#include <string_view>

namespace kz::adapter {

class OutputRewriter
{
public:
    // Rewrites a chunk.  A tail that could still grow into one of the texts
    // being replaced is held back until the next chunk decides it.
    std::string Feed(std::string_view chunk);

    // Releases whatever is held back, unreplaced: at the end of the stream, or
    // when the stream paused long enough that the rest of a split text is no
    // longer expected.  Feeding may continue afterwards.
    std::string Finish();

    bool HoldsBack() const { return !held_.empty(); }

private:
    std::string Process(bool final);

    std::string held_;
    bool heldAtLineStart_ = true;
};

}  // namespace kz::adapter
