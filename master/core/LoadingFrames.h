#pragma once
// The loading animation: frames 1 to 16, then 1 again, ten a second.

#include <QString>

namespace kz::master {

inline constexpr int kLoadingFrameCount = 16;
inline constexpr int kLoadingFrameMs = 100;

struct LoadingTiming {
    int frameMs = kLoadingFrameMs;
    // A chip tool that never answers does not keep the dialog open for ever.
    int giveUpMs = 1000 * 1000;
};

// The frame after `frame`.
inline int NextLoadingFrame(int frame)
{
    return frame >= kLoadingFrameCount || frame < 1 ? 1 : frame + 1;
}

// The image of a frame in the skin folder: loading_1.png ... loading_16.png.
inline QString LoadingFrameFile(int frame)
{
    return QStringLiteral("loading_%1.png").arg(frame);
}

}  // namespace kz::master
