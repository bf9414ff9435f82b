#pragma once
// The MTX master image format of the simulated box: a header that names the
// size of the whole user area, then the pieces that hold data, each as
// "OFFSET LENGTH\n" followed by LENGTH raw bytes, and a closing "end\n".
// Everything between the pieces is zero, so a master of many gigabytes
// travels in a small file.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace box::dev {

struct MtxPiece {
    uint64_t offset = 0;
    std::string bytes;
};

bool WriteMtxFile(const std::filesystem::path& file, uint64_t imageBytes, const std::vector<MtxPiece>& pieces);

class MtxReader {
public:
    // Opens the file and reads its header; Error() tells why it failed.
    explicit MtxReader(const std::filesystem::path& file);
    ~MtxReader();
    MtxReader(const MtxReader&) = delete;
    MtxReader& operator=(const MtxReader&) = delete;

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    uint64_t ImageBytes() const { return imageBytes_; }
    uint64_t FileBytes() const { return fileBytes_; }

    // Next piece header; false at "end" or on a format fault (then Error()).
    bool NextPiece(uint64_t& offset, uint64_t& length);
    // Reads up to n bytes of the current piece.
    bool ReadPieceBytes(char* buf, size_t n);

private:
    bool ReadLine(std::string& line);

    std::FILE* file_ = nullptr;
    std::string error_;
    uint64_t imageBytes_ = 0;
    uint64_t fileBytes_ = 0;
    uint64_t pieceLeft_ = 0;
};

}  // namespace box::dev
