#pragma once
// FTPClient's window: the PC's folder on one side, the box's stick or SD
// card on the other, Upload and Download between them, and one bar with the
// bytes done, the speed and the time left, with Cancel.
//
// A transfer runs on a worker (transfer/TransferRun) that reports to the
// window: its owner keeps it until Busy() is false (a close cancels the
// transfer first).  The outcome goes to the operator's record first, then
// to a message box.

#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "files/core/CopyRun.h"
#include "transfer/TransferRun.h"
#include "ui/ThreadStarter.h"
#include "ui/WindowImplBase.h"

class CIni;
class QComboBox;
class QLineEdit;
class QListWidget;
class QProgressBar;

class CTransferWnd : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    using TransferRunner =
        std::function<kz::transfer::TransferReport(const kz::transfer::TransferJob&, kz::transfer::ITransferSink&)>;
    struct Seams {
        TransferRunner transfer;           // default: kz::transfer::RunTransfer
        kz::files::CommandRunner run;      // default: kz::RunAdbClient
        kz::ui::ThreadStarter start;
        QString settingsFile;              // where the PC folder is remembered
        QString recordFolder;              // the operator's record
    };
    CTransferWnd(const CIni& ini, QString language, Seams seams);
    ~CTransferWnd() override;

    QString GetWindowClassName() const override { return QStringLiteral("FTPClient"); }
    QString GetSkinFile() const override { return QStringLiteral("transfer.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;

    // A transfer's worker still runs.
    bool Busy() const { return m_workerAlive; }
    // Ends a running transfer (its part file is removed).
    void Cancel();
    void SetPcFolder(const QString& folder);
    QString PcFolder() const { return m_pcFolder; }

    QString Text(const char* key) const;

private:
    class Sink;

    void OnWindowInit();
    void ChooseFolder();
    void ListPc();
    void ListBox();
    kz::transfer::BoxStorage Storage() const;
    void StartTransfer(kz::transfer::Direction direction);
    bool MayReplace(const kz::transfer::TransferPlan& plan);
    void RunWorker(const kz::transfer::TransferJob& job);
    void ShowProgress(quint64 done, quint64 total, qint64 elapsedMs);
    void ShowVerifying();
    void OnTransferEnded(const kz::transfer::TransferReport& report, const QString& serial);
    void Record(const kz::transfer::TransferReport& report, const QString& shown, const QString& serial);
    void SetRunning(bool running);

    const CIni& m_ini;
    QString m_language;
    Seams m_seams;
    QString m_pcFolder;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    bool m_workerAlive = false;

    QPointer<QWidget> m_caption;
    QPointer<QLineEdit> m_editFolder;
    QPointer<QListWidget> m_listPc;
    QPointer<QListWidget> m_listBox;
    QPointer<QComboBox> m_storage;
    QPointer<QProgressBar> m_progress;
};
