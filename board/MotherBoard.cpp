#include "board/MotherBoard.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeView>

#include "app/MainFrame.h"
#include "link/Texts.h"
#include "board/BoardWorker.h"
#include "board/core/BootChoice.h"
#include "board/core/BoardTexts.h"
#include "device/AdbRunner.h"
#include "files/FilePicker.h"
#include "files/core/FileTexts.h"
#include "platform/MessageBox.h"

namespace {

// Controls whose text is the localised text of a key.
const std::pair<const char*, const char*> kLabels[] = {
    {"option_info", "Info Modify"},
    {"option_write", "Chip Product"},
    {"text_title", "eMMC Master Product"},
    {"text_manufacturer", "Chip Manufacturer:"},
    {"text_producename", "Chip ProduceName:"},
    {"btn_partitionselected", "Modify"},
    {"btn_ack", "Modify"},
    {"btn_bootmode", "Modify"},
    {"btn_buswidth", "Modify"},
    {"text_selectpartition", "select the partition:"},
    {"text_filenum", "enter the file num:"},
    {"text_selectwriteboot1file", "file name:"},
    {"text_selectwriteboot2file", "file name:"},
    {"text_userread_filename", "file name:"},
    {"text_boot1_udisk", "Udisk"},
    {"text_boot2_udisk", "Udisk"},
    {"text_boot1_sdcard", "SDcard"},
    {"text_boot2_sdcard", "SDcard"},
    {"btn_readboot1", "Read"},
    {"btn_readboot2", "Read"},
    {"btn_userread", "Read"},
    {"btn_browseboot1", "Browse"},
    {"btn_browseboot2", "Browse"},
    {"btn_writeboot1", "Write"},
    {"btn_writeboot2", "Write"},
    {"btn_ok", "OK"},
    {"text_userread_fileaddr", "file size:"},
};

}  // namespace

CMotherBoard::CMotherBoard(CMainFrame* owner, kz::board::ReadBackNamer readBackNamer)
    : m_pOwner(owner), m_shared(std::make_shared<kz::board::BoardShared>()), m_readBackNamer(std::move(readBackNamer))
{
    // The server stays up when the dialog closes: workers may still be
    // talking to the box.
    const QString start = QStringLiteral("start-server");
    QString ignored;
    if (m_pOwner)
        m_pOwner->RunShortCommand(start);
    else
        RunAdbCommand(start, ignored);
    SetPickers({}, {});
    ResetSources();
}

CMotherBoard::~CMotherBoard()
{
    if (m_partitionModel)
        m_partitionModel->DetachOwner();
}

void CMotherBoard::SetPickers(FilePicker picker, NameAsker asker)
{
    m_picker = picker ? std::move(picker) : [](CMotherBoard& board, int mode) { PickDeviceFile(board, mode); };
    m_asker = asker ? std::move(asker) : [](CMotherBoard& board) { AskFileName(board); };
}

QString CMotherBoard::Text(const char* key) const
{
    return m_pOwner ? m_pOwner->Text(key) : QString::fromUtf8(key);
}

void CMotherBoard::Prompt(const QString& text)
{
    kz::ShowMessageBox(GetHWND(), text, Text(kz::text::Prompt));
}

void CMotherBoard::InitControls()
{
    SetLabels();
    SetUpPartitionList();
    ResetSources();
}

void CMotherBoard::SetLabels()
{
    for (const auto& [name, key] : kLabels)
        kz::ui::SetControlText(FindControl(QString::fromUtf8(name)), Text(key));
}

// The list keeps its model across calls, so a second set-up does not lose
// the partitions the chip report filled in.
void CMotherBoard::SetUpPartitionList()
{
    auto* list = FindControl<QTreeView>(QStringLiteral("patition"));
    if (!list || m_partitionModel)
        return;
    m_partitionModel = kz::ui::SetTextCallback(list, this, 3);
    m_partitionModel->SetHeaders({QStringLiteral("#"), Text("Name"), Text("Size")});
    m_partitionModel->SetRowCount(m_partitionCount);
    const QStringList widths = list->property("kzColumnWidths").toString().split(u',', Qt::SkipEmptyParts);
    for (int column = 0; column < widths.size(); ++column)
        list->setColumnWidth(column, widths[column].toInt());
}

// Every source starts at the U-disk, and the options show it.
void CMotherBoard::ResetSources()
{
    m_shared->boot1Source = SOURCE_BOOT_UDISK;
    m_shared->boot2Source = SOURCE_BOOT_UDISK;
    for (auto& source : m_shared->userRowSource)
        source = SOURCE_USER_UDISK;
    for (const QString& name : {QStringLiteral("option_boot1_udisk"), QStringLiteral("option_boot2_udisk")}) {
        if (auto* option = FindControl<QAbstractButton>(name))
            option->setChecked(true);
    }
}

QString CMotherBoard::GetItemText(int row, int column)
{
    if (row < 0 || row >= m_partitionCount || column < 0 || column > 2)
        return {};
    return m_partitionRows[size_t(row)][size_t(column)];
}

void CMotherBoard::ShowChipInfo(const kz::ChipInfo& info)
{
    m_partitionCount = int(info.partitions.size());
    for (int i = 0; i < m_partitionCount; ++i)
        m_partitionRows[size_t(i)] = info.partitions[size_t(i)];
    if (m_partitionModel)
        m_partitionModel->SetRowCount(m_partitionCount);
    if (info.manufacturer)
        kz::ui::SetControlText(FindControl(QStringLiteral("editManufacturer")), *info.manufacturer);
    if (info.productName) {
        QString name = *info.productName;
        while (name.endsWith(u'\r'))
            name.chop(1);
        kz::ui::SetControlText(FindControl(QStringLiteral("editProduceName")), name);
    }
    ShowBootSettings(info);
}

// Each combo shows the value the chip reported, or none; a value it does
// not list is told in the log with the chip's words.
void CMotherBoard::ShowBootSettings(const kz::ChipInfo& info)
{
    const struct {
        const char* label;  // the chip tool's own name of the setting, never translated
        const char* combo;
        std::optional<int> index;
        const std::optional<QString>& reported;
    } settings[] = {
        {"Boot Partition Enable", "comb_partitionselected", info.partitionEnable, info.reported.partitionEnable},
        {"ACK", "comb_ack", info.ack, info.reported.ack},
        {"Boot mode", "comb_bootmode", info.bootMode, info.reported.bootMode},
        {"Bus width", "comb_buswidth", info.busWidth, info.reported.busWidth},
    };
    for (const auto& s : settings) {
        auto* combo = FindControl<QComboBox>(QString::fromUtf8(s.combo));
        if (!combo)
            continue;
        const kz::board::ComboChoice choice = kz::board::ChooseComboItem(s.reported, s.index, combo->count());
        if (choice.select)
            combo->setCurrentIndex(*choice.select);
        if (!choice.unlisted.isEmpty() && m_pOwner) {
            const char* key = kz::board::text::ChipValueUnlisted;
            m_pOwner->WriteLog(kz::LOG_TIP, Text(key).arg(QLatin1String(s.label), choice.unlisted),
                               {QString::fromUtf8(key), QStringLiteral("boot-config")});
        }
    }
}

void FillFromChipInfo(CMotherBoard& dialog, QString output)
{
    dialog.ShowChipInfo(kz::ParseChipInfo(std::move(output)));
}

int CMotherBoard::Boot1Source() const
{
    return m_shared->boot1Source;
}

int CMotherBoard::Boot2Source() const
{
    return m_shared->boot2Source;
}

int CMotherBoard::UserRowSource(int row) const
{
    return row >= 0 && row < kz::kMaxPartitionRows ? m_shared->userRowSource[size_t(row)].load() : 0;
}

int CMotherBoard::RunningWorkers() const
{
    return m_shared->running;
}

void CMotherBoard::CallWhenIdle(std::function<void()> fn)
{
    kz::board::CallWhenIdle(m_shared, std::move(fn));
}

void CMotherBoard::StartWorker(kz::board::WorkerJob job)
{
    kz::board::StartBoardWorker(m_shared, QPointer<QObject>(this), QPointer<QObject>(GetHWND()), std::move(job));
}

void CMotherBoard::SetJobRecord(kz::board::WorkerJob& job, const QString& operation, const char* okKey,
                                const char* failKey)
{
    job.log = Outcomes();
    job.operation = operation;
    job.okKey = okKey;
    job.failKey = failKey;
}

kz::OutcomeLog CMotherBoard::Outcomes() const
{
    return m_pOwner ? m_pOwner->Outcomes() : kz::OutcomeLog();
}

void CMotherBoard::PickFile(int mode, QLineEdit* target)
{
    if (kz::files::IsUdiskMode(mode) && !(m_pOwner && m_pOwner->MountUdisk())) {
        Prompt(Text(kz::text::MountFailed));
        return;
    }
    m_picker(*this, mode);
    if (m_strPickedName.isEmpty())
        return;
    if (target)
        target->setText(m_strPickedName);
    m_strPickedName.clear();
}

bool CMotherBoard::CheckName(QString& name)
{
    kz::files::TrimName(name);
    if (name.isEmpty()) {
        Prompt(Text(kz::files::text::NameEmptyEnterAgain));
        return false;
    }
    if (!kz::files::IsShellSafeName(name)) {
        Prompt(Text(kz::files::UnsafeFileName));
        return false;
    }
    return true;
}
