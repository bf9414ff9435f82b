#include "MtxFile.h"

#include <cinttypes>
#include <fstream>

namespace box::dev {
namespace {
constexpr const char* kMagic = "KZMTX 1 ";
}

bool WriteMtxFile(const std::filesystem::path& file, uint64_t imageBytes, const std::vector<MtxPiece>& pieces)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << kMagic << imageBytes << "\n";
    for (const auto& p : pieces)
        out << p.offset << " " << p.bytes.size() << "\n" << p.bytes;
    out << "end\n";
    return static_cast<bool>(out);
}

MtxReader::MtxReader(const std::filesystem::path& file)
{
    std::error_code ec;
    fileBytes_ = std::filesystem::file_size(file, ec);
    file_ = std::fopen(file.c_str(), "rb");
    if (!file_) {
        error_ = "can't open " + file.string();
        return;
    }
    std::string header;
    const std::string magic = kMagic;
    if (!ReadLine(header) || header.compare(0, magic.size(), magic) != 0 ||
        std::sscanf(header.c_str() + magic.size(), "%" SCNu64, &imageBytes_) != 1 || imageBytes_ == 0)
        error_ = "not an MTX file";
}

MtxReader::~MtxReader()
{
    if (file_)
        std::fclose(file_);
}

bool MtxReader::ReadLine(std::string& line)
{
    line.clear();
    for (int c; (c = std::fgetc(file_)) != EOF;) {
        if (c == '\n')
            return true;
        if (line.size() > 64)
            return false;
        line += static_cast<char>(c);
    }
    return false;
}

bool MtxReader::NextPiece(uint64_t& offset, uint64_t& length)
{
    if (!Ok())
        return false;
    std::string line;
    if (pieceLeft_ != 0 || !ReadLine(line)) {
        error_ = "MTX file is truncated";
        return false;
    }
    if (line == "end")
        return false;
    char tail = 0;
    if (std::sscanf(line.c_str(), "%" SCNu64 " %" SCNu64 "%c", &offset, &length, &tail) != 2 ||
        offset > imageBytes_ || length > imageBytes_ - offset) {
        error_ = "MTX piece header is damaged: '" + line + "'";
        return false;
    }
    pieceLeft_ = length;
    return true;
}

bool MtxReader::ReadPieceBytes(char* buf, size_t n)
{
    if (n > pieceLeft_ || std::fread(buf, 1, n, file_) != n) {
        error_ = "MTX file is truncated";
        return false;
    }
    pieceLeft_ -= n;
    return true;
}

}  // namespace box::dev
