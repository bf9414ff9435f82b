#pragma once
// The verdict on a whole MTX decompression run, from the tool's text alone.

#include <QString>

namespace kz::master {

struct MtxVerdict {
    bool pass = false;
    // The stick held no MTX file: the operator is told so, besides FAIL.
    bool noMtxFile = false;
};

// Case-sensitive substring tests, first rule wins: "error" or "failed"
// anywhere fails; the tool's missing-file text fails with noMtxFile;
// "Master OK" passes; anything else (an empty output too) fails.
MtxVerdict JudgeMtxOutput(const QString& output);

}  // namespace kz::master
