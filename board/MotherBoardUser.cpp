// Writing files into the user partition, one row per file, and reading the
// user area into a file.
#include <QAbstractButton>
#include <QBoxLayout>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>

#include "link/Texts.h"
#include "board/BoardWorker.h"
#include "board/MotherBoard.h"
#include "board/core/BoardCommands.h"
#include "board/core/BoardInput.h"
#include "board/core/BoardTexts.h"
#include "files/core/FileManagerMode.h"

namespace {

namespace text = kz::board::text;

const QString kRowName = QStringLiteral("listelement");

QString RowGroup(int row)
{
    return QStringLiteral("option_userpartition%1").arg(row);
}

template <class T = QWidget>
T* InRow(QWidget* row, const char* name)
{
    return row ? row->findChild<T*>(QString::fromUtf8(name)) : nullptr;
}

}  // namespace

void CMotherBoard::BuildUserRows()
{
    const int count = kz::board::ParseDecimal(kz::ui::GetControlText(FindControl(QStringLiteral("edit_filenum"))));
    if (count < kz::board::kMinFileRows || count > kz::board::kMaxFileRows) {
        Prompt(Text(text::FileNumRange));
        return;
    }
    auto* list = FindControl<QScrollArea>(QStringLiteral("userpartition"));
    QWidget* rows = list ? list->widget() : nullptr;
    auto* layout = rows ? qobject_cast<QBoxLayout*>(rows->layout()) : nullptr;
    if (!layout)
        return;
    qDeleteAll(rows->findChildren<QWidget*>(kRowName, Qt::FindDirectChildrenOnly));
    for (int i = 0; i < count; ++i) {
        QWidget* row = BuildSkinPart(QStringLiteral("userpartition.xml"), rows);
        if (!row)
            return;
        row->setObjectName(kRowName);
        kz::ui::SetTag(row, i);
        layout->insertWidget(i, row);
        kz::ui::SetControlText(InRow(row, "text_addr"), Text(text::WriteAddr) + QStringLiteral("(HEX)"));
        kz::ui::SetControlText(InRow(row, "text_userfilename"), Text(text::FileName));
        kz::ui::SetControlText(InRow(row, "text_user_udisk"), Text(text::Udisk));
        kz::ui::SetControlText(InRow(row, "text_user_sdcard"), Text(text::Sdcard));
        kz::ui::SetControlText(InRow(row, "btn_browseuserpartition"), Text(text::Browse));
        kz::ui::SetControlText(InRow(row, "btn_writeuserpartition"), Text(text::Write));
        auto* udisk = InRow<QAbstractButton>(row, "option_user_udisk");
        auto* sdcard = InRow<QAbstractButton>(row, "option_user_sdcard");
        SetOptionGroup(udisk, RowGroup(i));
        SetOptionGroup(sdcard, RowGroup(i));
        // A rebuilt row keeps the source its index had, and shows it.
        QAbstractButton* shown = UserRowSource(i) == SOURCE_USER_SDCARD ? sdcard : udisk;
        if (shown)
            shown->setChecked(true);
        row->show();
    }
}

// A row's buttons sit one container deep inside the row.
QWidget* CMotherBoard::ClickedRow(const kz::ui::TNotifyUI& msg) const
{
    QWidget* parent = msg.pSender ? msg.pSender->parentWidget() : nullptr;
    QWidget* row = parent ? parent->parentWidget() : nullptr;
    if (!row || row->objectName().compare(kRowName, Qt::CaseInsensitive) != 0)
        return nullptr;
    return row;
}

void CMotherBoard::ChooseRowSource(const kz::ui::TNotifyUI& msg)
{
    const int source = msg.senderName.contains(QLatin1String("option_user_udisk")) ? SOURCE_USER_UDISK
                                                                                      : SOURCE_USER_SDCARD;
    const QString group = OptionGroup(qobject_cast<QAbstractButton*>(msg.pSender.data()));
    for (int i = 0; i < kz::kMaxPartitionRows; ++i) {
        if (group.compare(RowGroup(i), Qt::CaseInsensitive) == 0) {
            m_shared->userRowSource[size_t(i)] = source;
            return;
        }
    }
}

void CMotherBoard::BrowseUserRow(QWidget* row)
{
    PickFile(UserRowSource(int(kz::ui::GetTag(row))), InRow<QLineEdit>(row, "edit_userfilename"));
}

void CMotherBoard::WriteUserRow(QWidget* row)
{
    const int index = int(kz::ui::GetTag(row));
    QString name = kz::ui::GetControlText(InRow(row, "edit_userfilename"));
    const std::optional<int> startMb =
        kz::board::WriteStartMb(kz::ui::GetControlText(InRow(row, "edit_userwriteaddr")));
    if (!startMb) {
        Prompt(Text(text::AddressFormat));
        return;
    }
    if (index < 0 || index >= kz::kMaxPartitionRows || !CheckName(name))
        return;
    QPointer<QAbstractButton> button = InRow<QAbstractButton>(row, "btn_writeuserpartition");
    QPointer<QWidget> build = FindControl(QStringLiteral("btn_ok"));
    kz::ui::SetControlText(button, Text(text::Writing));
    if (button)
        button->setEnabled(false);
    if (build)
        build->setEnabled(false);
    ++m_rowWritesRunning;

    kz::board::WorkerJob job;
    job.command = [index, name, start = *startMb, shared = m_shared] {
        return kz::board::WriteUserAreaCommand(shared->userRowSource[size_t(index)], name, start);
    };
    job.caption = Text(kz::text::Prompt);
    job.okText = Text(text::UserWriteOk);
    job.failText = Text(text::UserWriteFailed);
    SetJobRecord(job, QStringLiteral("write-user"), text::UserWriteOk, text::UserWriteFailed);
    // The rows may be rebuilt only when no row write is left running.
    job.afterBox = [this, button, build, write = Text(text::Write)](bool, const QString&) {
        if (button)
            button->setEnabled(true);
        kz::ui::SetControlText(button, write);
        if (--m_rowWritesRunning == 0 && build)
            build->setEnabled(true);
    };
    StartWorker(std::move(job));
}

void CMotherBoard::ReadUserArea()
{
    QPointer<QAbstractButton> button = FindControl<QAbstractButton>(QStringLiteral("btn_userread"));
    QString name = kz::ui::GetControlText(FindControl(QStringLiteral("edit_userread_filename")));
    if (!CheckName(name))
        return;
    // The size and unit are taken here, where the size was checked.
    const int size = kz::board::ParseDecimal(kz::ui::GetControlText(FindControl(QStringLiteral("edit_userread_filesize"))));
    if (size < kz::board::kMinReadSize || size > kz::board::kMaxReadSize) {
        Prompt(Text(text::FileSizeRange));
        return;
    }
    auto* unitCombo = FindControl<QComboBox>(QStringLiteral("comb_unit"));
    const QString unit = unitCombo ? unitCombo->currentText() : QString();
    kz::ui::SetControlText(button, Text(text::Saving));
    if (button)
        button->setEnabled(false);

    kz::board::WorkerJob job;
    job.command = [name, size, unit] { return kz::board::ReadUserAreaCommand(name, size, unit); };
    job.caption = Text(kz::text::Prompt);
    job.okText = Text(text::UserReadOk);
    job.failText = Text(text::UserReadFailed);
    SetJobRecord(job, QStringLiteral("read-user-area"), text::UserReadOk, text::UserReadFailed);
    job.afterBox = [button, read = Text(text::Read)](bool, const QString&) {
        kz::ui::SetControlText(button, read);
        if (button)
            button->setEnabled(true);
    };
    StartWorker(std::move(job));
}
