#pragma once
// The system update as data: the fixed list of device commands that replace
// the box's support programs, chip tool, kernel and ramdisk, and the test
// each command's answer must pass.  No I/O here.

#include <QString>
#include <QStringList>
#include <vector>

namespace kz {

enum class UpdateCheck {
    Removal,  // "shell rm": nothing printed, or only "there was nothing to remove"
    Push,     // a transfer report, and no sign of failure
    Silent,   // nothing printed
    None,     // answer not judged (the flashing scripts)
};

struct UpdateStep {
    QString command;
    UpdateCheck check = UpdateCheck::None;
    // Removal: answers that mean there was nothing to remove.
    QStringList nothingToRemove;
    // Progress step reached once this command has passed (0: none).
    int progress = 0;
};

// Progress step of a finished update.
inline constexpr int kUpdateDoneStep = 10;

// The files the update pushes, in push order.
const QStringList& UpdateFileNames();

// The commands for a source folder that ends with a slash.  Host paths are
// quoted for the client's command-line splitting, so blanks are safe.
std::vector<UpdateStep> BuildUpdateSequence(const QString& sourceFolder);

// Whether `output`, the client's answer to step.command, lets the update go on.
bool PassesCheck(const UpdateStep& step, const QString& output);

}  // namespace kz
