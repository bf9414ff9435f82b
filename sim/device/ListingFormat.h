#pragma once
// One line of "ls -l" in the box's old toolbox format:
//   -rw-rw-r-- root     root         1234 2024-05-01 09:30 name
// The size is printed as a signed 32-bit number, so files of 2 GiB and more
// come out negative, as they do on the box.

#include <cstdint>
#include <ctime>
#include <string>

namespace box::dev {

struct ListingEntry {
    char type = '-';                  // '-', 'd', 'l' or 'b'
    std::string permissions = "rw-rw-r--";
    uint64_t size = 0;
    std::time_t mtime = 0;
    std::string name;
    std::string linkTarget;           // for 'l'
};

std::string FormatListingLine(const ListingEntry& entry);

// Permission letters of the low nine mode bits, e.g. 0754 -> "rwxr-xr--".
std::string PermissionText(unsigned mode);

}  // namespace box::dev
