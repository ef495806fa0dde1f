// Reading the logs from the device and clearing its memory. The engines in logs/ do the work;
// the window frames it: live measurement paused, progress window, the list and the chart.
#include <QSignalBlocker>

#include "app/main_window.h"
#include "app/progressdialog.h"
#include "chart/chartcontroller.h"
#include "link/devicelink.h"
#include "logs/logdeletion.h"
#include "logs/logdownload.h"
#include "support/userprompts.h"
#include "widgets/tblockprogressbar.h"
#include "widgets/tcolorlistbox.h"

namespace {
// Live measurement off for the whole command: its "meas" would mix into the transfer.
void pauseMeasurement(DeviceLink& link) {
    link.MeasPaused = true;
    link.tmCurrMeas.stop();
}
void resumeMeasurement(DeviceLink& link) {
    link.MeasPaused = false;
    link.tmCurrMeas.start();
}
}  // namespace

void TfrmMain::btnReadLogClick() {
    ShowCharts();
    m_chart->HideMeasurement();
    DeviceLink& link = Link();
    pauseMeasurement(link);

    DownloadResult result;
    {
        TfrmProgressDlg dialog(this);
        result = DownloadLogs(link, dialog, DefaultDownloadFiles());
    }
    FileName.clear();
    UpdateCaption();
    if (!result.decoded.hasLogs) {
        m_prompts.showMessage(kNoLogText);
        resumeMeasurement(link);
        return;
    }

    // A dump that could not be written is told, but the logs are shown all the same.
    if (!result.dumpError.isEmpty()) m_prompts.showError(result.dumpError);
    if (!result.archiveError.isEmpty()) m_prompts.showError(result.archiveError);

    Logs.clear();
    lbMessurement->clear();
    for (qsizetype i = 0; i < result.decoded.logs.size(); ++i) {
        AddLog(result.decoded.logs[i], result.decoded.names[i]);
    }
    m_chart->ShownLog = -1;
    if (lbMessurement->count() > 0) {
        const QSignalBlocker block(lbMessurement);
        lbMessurement->setCurrentRow(0);
    }
    m_chart->DrawLog(false);
    resumeMeasurement(link);
}

void TfrmMain::btnClearLogClick() {
    if (!ConfirmBox(m_prompts, kDeleteConfirmText, QStringLiteral("Yes"), QStringLiteral("No"),
                    kDeleteConfirmTitle)) {
        return;
    }
    DeviceLink& link = Link();
    pauseMeasurement(link);
    bool answered = false;
    {
        TfrmProgressDlg dialog(this);
        answered = DeleteLogs(link, dialog);
    }
    if (!answered) m_prompts.showMessage(kLostConnectionText);
    link.MemUsedBytes = 0;
    pbMemory->setPosition(0);
    resumeMeasurement(link);
}
