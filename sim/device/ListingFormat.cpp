#include "ListingFormat.h"

#include <cstdio>

namespace box::dev {

std::string PermissionText(unsigned mode)
{
    std::string text = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit)
        if (!(mode & (1u << (8 - bit))))
            text[static_cast<size_t>(bit)] = '-';
    return text;
}

std::string FormatListingLine(const ListingEntry& e)
{
    char date[32];
    std::tm tm{};
    localtime_r(&e.mtime, &tm);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &tm);
    const std::string head = e.type + e.permissions;
    char line[160];
    switch (e.type) {
    case '-':
        std::snprintf(line, sizeof line, "%s %-8s %-8s %8d %s ", head.c_str(), "root", "root",
                      static_cast<int32_t>(static_cast<uint32_t>(e.size)), date);
        return line + e.name;
    case 'b':
        std::snprintf(line, sizeof line, "%s %-8s %-8s %3d, %3d %s ", head.c_str(), "root", "root", 8, 1, date);
        return line + e.name;
    default:
        std::snprintf(line, sizeof line, "%s %-8s %-8s          %s ", head.c_str(), "root", "root", date);
        return line + e.name + (e.type == 'l' ? " -> " + e.linkTarget : "");
    }
}

}  // namespace box::dev
