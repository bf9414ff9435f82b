#pragma once
// The file side of the sync service: stat and push into the virtual tree.

#include "BoxState.h"
#include "Device.h"

#include <memory>
#include <string>

namespace box::dev {

FileStat StatPath(const BoxState& box, const std::string& devicePath);
std::unique_ptr<PushTarget> OpenPush(BoxState& box, const std::string& devicePath, uint32_t mode, std::string& error);

}  // namespace box::dev
