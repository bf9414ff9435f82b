#include "tools/kz_daemon/DeviceList.h"

namespace kz::adapter {

namespace {

std::string_view StripLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

// An entry is "SERIAL\tSTATE"; the header, blank lines and server notices
// have no tab.
bool IsEntry(std::string_view line, std::string_view& serial, std::string_view& state)
{
    const size_t tab = line.find('\t');
    if (tab == 0 || tab == std::string_view::npos)
        return false;
    serial = line.substr(0, tab);
    state = line.substr(tab + 1);
    return true;
}

}  // namespace

bool DevicesSettled(std::string_view devicesOutput, std::string_view serial)
{
    bool listed = false;
    while (!devicesOutput.empty()) {
        const size_t end = devicesOutput.find('\n');
        const size_t lineLength = end == std::string_view::npos ? devicesOutput.size() : end + 1;
        std::string_view entry, state;
        if (IsEntry(StripLineEnd(devicesOutput.substr(0, lineLength)), entry, state) &&
            (serial.empty() || entry == serial)) {
            if (state == "offline")
                return false;
            listed = true;
        }
        devicesOutput.remove_prefix(lineLength);
    }
    return listed;
}

}  // namespace kz::adapter
