#include "tools/kz_daemon/SubstringWatch.h"

#include <utility>

namespace kz::adapter {

SubstringWatch::SubstringWatch(std::string needle) : needle_(std::move(needle)) {}

void SubstringWatch::Feed(std::string_view chunk)
{
    if (seen_ || needle_.empty())
        return;
    // Only the last needle-length-minus-one bytes can start a match that the
    // next chunk completes, so the carry stays small however much passes.
    carry_.append(chunk);
    if (carry_.find(needle_) != std::string::npos) {
        seen_ = true;
        carry_.clear();
        return;
    }
    const size_t keep = needle_.size() - 1;
    if (carry_.size() > keep)
        carry_.erase(0, carry_.size() - keep);
}

}  // namespace kz::adapter
