#pragma once

#include <QDialog>

#include "logs/logdeletion.h"
#include "logs/logdownload.h"

class QFrame;
class QLabel;
class QPushButton;
class TBlockProgressBar;

/// The modal borderless progress window of the log download (reading mode) and the erase of
/// the device's memory (deleting mode). The engines run the work and tell the window through
/// their observers; the window only shows it. Its Cancel button stays hidden: neither job can
/// be stopped half-way.
class TfrmProgressDlg : public QDialog, public DownloadObserver, public DeletionObserver {
    Q_OBJECT
public:
    explicit TfrmProgressDlg(QWidget* parent = nullptr);

    // DownloadObserver: reading mode.
    void downloadShown() override;
    void downloadStarted(const QString& infoLine, qint32 maximum) override;
    void downloadProgress(const QString& status, qint64 received, const QString& percent) override;
    void downloadFinished() override;

    // DeletionObserver: deleting mode.
    void deletionShown() override;
    void deletionStarted(int ticks) override;
    void deletionTick(int counter, const QString& percent) override;
    void deletionFinished() override;

    QFrame* paMain = nullptr;
    QLabel* lbInfo = nullptr;
    QLabel* lbUsedMemory = nullptr;
    TBlockProgressBar* pbInfo = nullptr;
    QLabel* lbUsedMemoryPer = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void showCentred();
};
