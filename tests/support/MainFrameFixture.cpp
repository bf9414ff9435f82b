#include "support/MainFrameFixture.h"

#include <QFile>
#include <QJsonDocument>

#include "link/DeviceActions.h"
#include "link/RecordLine.h"
#include "link/Texts.h"

namespace kz::test {

MainFrameFixture::MainFrameFixture()
{
    // The English language file, whatever the machine's locale, and no
    // language choice of the machine's user.
    qputenv("LC_ALL", "en_US.UTF-8");
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
}

MainFrameFixture::~MainFrameFixture()
{
    if (frame && !frame->IsClosed())
        frame->Close();
    ProcessEventsFor(20);
    frame.reset();
    qunsetenv("LC_ALL");
    qunsetenv("XDG_CONFIG_HOME");
    qputenv("XDG_DATA_HOME", dataHomeBefore);
}

void MainFrameFixture::Start(const QByteArray& devices, const QByteArray& model, const QByteArray& mount)
{
    bin.Answer(QString::fromUtf8(kDevicesCommand), devices);
    bin.Answer(QString::fromUtf8(kModelCommand), model);
    bin.Answer(QString::fromUtf8(kMountCommand), mount);
    frame = std::make_unique<CMainFrame>(monitor, dialogs);
    frame->SetQuitHandler([this] { ++quits; });
    ASSERT_TRUE(frame->Create(nullptr, QString::fromUtf8(text::WindowTitle)));
    frame->ShowWindow();
    ASSERT_TRUE(WaitForCalls(QString::fromUtf8(kDevicesCommand), 1));
}

QString MainFrameFixture::StateText() const
{
    auto* label = frame->FindControl<QLabel>(QStringLiteral("text_state"));
    return label ? label->text() : QStringLiteral("<no text_state>");
}

QStringList MainFrameFixture::LogLines() const
{
    QStringList lines;
    for (int row = 0; row < frame->m_logLines.Count(); ++row)
        lines << frame->GetItemText(row, 0);
    return lines;
}

bool MainFrameFixture::WaitForCalls(const QString& command, int n)
{
    return WaitFor([&] { return bin.CountCalls(command) >= n; });
}

QString MainFrameFixture::TodaysRecordFile() const
{
    return RecordFolder() + u'/' + kz::RecordFileName(QDate::currentDate());
}

QList<QJsonObject> MainFrameFixture::RecordLines() const
{
    QFile file(TodaysRecordFile());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
    const QByteArray all = file.readAll();
    EXPECT_TRUE(all.endsWith('\n'));
    const QList<QByteArray> lines = all.split('\n');
    QList<QJsonObject> objects;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.isEmpty()) {
            // Only what follows the last line feed may be empty.
            EXPECT_EQ(i, lines.size() - 1) << "line " << i + 1 << " is empty";
            continue;
        }
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        EXPECT_TRUE(doc.isObject()) << line.constData() << " " << qPrintable(error.errorString());
        objects << doc.object();
    }
    return objects;
}

}  // namespace kz::test
