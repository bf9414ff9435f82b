#include "AtomicFile.h"

#include <fstream>
#include <system_error>

namespace box::dev {

bool WriteFileAtomically(const std::filesystem::path& file, const std::string& content)
{
    auto temp = file;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out.write(content.data(), static_cast<std::streamsize>(content.size())))
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    return !ec;
}

}  // namespace box::dev
