#pragma once
// The file side of the sync service: stat, push into and pull from the
// virtual tree, at the box's pace.

#include "BoxState.h"
#include "Device.h"

#include <memory>
#include <string>

namespace box::dev {

FileStat StatPath(const BoxState& box, const std::string& devicePath);
std::unique_ptr<PushTarget> OpenPush(BoxState& box, const std::string& devicePath, uint32_t mode, std::string& error);
std::unique_ptr<PullSource> OpenPull(BoxState& box, const std::string& devicePath, std::string& error);

}  // namespace box::dev
