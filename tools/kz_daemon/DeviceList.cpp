#include "tools/kz_daemon/DeviceList.h"

namespace kz::adapter {

namespace {

std::string_view StripLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

bool IsOfflineEntry(std::string_view line)
{
    constexpr std::string_view kState = "\toffline";
    const size_t tab = line.find('\t');
    return tab != 0 && tab != std::string_view::npos && line.substr(tab) == kState;
}

}  // namespace

bool ListsOfflineDevice(std::string_view devicesOutput)
{
    while (!devicesOutput.empty()) {
        const size_t end = devicesOutput.find('\n');
        const size_t lineLength = end == std::string_view::npos ? devicesOutput.size() : end + 1;
        if (IsOfflineEntry(StripLineEnd(devicesOutput.substr(0, lineLength))))
            return true;
        devicesOutput.remove_prefix(lineLength);
    }
    return false;
}

}  // namespace kz::adapter
