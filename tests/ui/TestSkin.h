#pragma once
// A private program folder whose skin/ holds the test skins (copied from
// tests/ui/skins) and a generated image, plus a window that records what it
// is told.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "platform/ProgramDir.h"
#include "ui/WindowImplBase.h"

namespace kz::uitest {

class TestProgramDir {
public:
    TestProgramDir()
    {
        QDir(m_dir.path()).mkdir(QStringLiteral("skin"));
        const QDir source(QStringLiteral(KZ_SOURCE_DIR "/tests/ui/skins"));
        for (const QString& name : source.entryList({QStringLiteral("*.ui")}, QDir::Files))
            QFile::copy(source.filePath(name), SkinDir() + QLatin1Char('/') + name);
        QImage dot(4, 4, QImage::Format_RGB32);
        dot.fill(Qt::red);
        dot.save(SkinDir() + QStringLiteral("/dot.png"));
        kz::SetProgramDirectoryForTests(m_dir.path());
    }
    ~TestProgramDir() { kz::SetProgramDirectoryForTests(QString()); }
    QString SkinDir() const { return m_dir.path() + QStringLiteral("/skin"); }

private:
    QTemporaryDir m_dir;
};

// Records notifications as "type:name" and custom messages as numbers.
class RecordingWindow : public kz::ui::WindowImplBase {
public:
    explicit RecordingWindow(QString skin = QStringLiteral("test_window.ui")) : m_skin(std::move(skin)) {}

    QString GetWindowClassName() const override { return QStringLiteral("Recording"); }
    QString GetSkinFile() const override { return m_skin; }
    bool EscapeCloses() const override { return escapeCloses; }

    void Notify(kz::ui::TNotifyUI& msg) override
    {
        notes << msg.sType + QLatin1Char(':') + msg.senderName;
        last = msg;
        if (!refuseClose)
            WindowImplBase::Notify(msg);
    }
    qintptr HandleCustomMessage(uint msg, qintptr wParam, qintptr, bool& handled) override
    {
        messages << int(msg);
        onGuiThread = onGuiThread && QThread::currentThread() == thread();
        handled = msg >= kz::ui::kWmUser;
        return wParam * 2;
    }
    void OnFinalMessage() override
    {
        ++finals;
        if (deleteOnFinal)
            delete this;
    }

    QStringList notes;
    kz::ui::TNotifyUI last;
    QList<int> messages;
    bool onGuiThread = true;
    bool escapeCloses = true;
    bool refuseClose = false;
    bool deleteOnFinal = false;
    int finals = 0;

private:
    QString m_skin;
};

}  // namespace kz::uitest
