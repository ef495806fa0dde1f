#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "app/progressdialog.h"
#include "chart/chartcontroller.h"
#include "link/demologs.h"
#include "link/devicelink.h"
#include "link/simdevice.h"
#include "logs/logdeletion.h"
#include "logs/logdownload.h"
#include "mainwindowfixture.h"
#include "support/delay.h"
#include "support/textfiles.h"
#include "widgets/tblockprogressbar.h"
#include "widgets/tcolorlistbox.h"

// "Read Logs" and "Clear Logs" in the window, against the device model in virtual time.
class LogCommandsTest : public MainWindowTest {
protected:
    void start(SimDeviceOptions options, std::vector<DeviceLog> logs) {
        device = std::make_unique<SimDevice>(clock, options);
        device->setLogs(std::move(logs));
        ports.addPeer(QStringLiteral("SIM"), device.get());
        createWindow();
        window->show();
        Delay(clock, 3000);
        ASSERT_TRUE(window->Link().DeviceConnected);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        ports.removePeer(QStringLiteral("SIM"));
    }
    int count(const QString& line) const { return int(device->receivedLines().count(line)); }
    std::unique_ptr<SimDevice> device;
};

TEST_F(LogCommandsTest, ReadLogsReplacesTheListAndDrawsTheFirstLog) {
    const std::vector<DeviceLog> demo = MakeDemoLogs(2);
    start({}, demo);
    TMeas old;
    old.Samples.resize(10);
    window->AddLog(old, QStringLiteral("old"));
    window->FileName = QStringLiteral("/tmp/old.vul");

    window->btnReadLogClick();

    ASSERT_EQ(window->Logs.size(), qsizetype(demo.size()));
    EXPECT_EQ(window->LogNames().first(), QStringLiteral("Log 1"));
    EXPECT_EQ(window->Logs.first().Samples.size(), demo.front().samples.size());
    EXPECT_TRUE(window->FileName.isEmpty());
    EXPECT_EQ(window->lbMessurement->currentRow(), 0);
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join(';').toStdString();
    EXPECT_EQ(LoadStringFromFile(home.documentsFolder() + QStringLiteral("/vuma.log")).value_or(QByteArray()),
              device->logStream());
    // The live measurement runs again afterwards.
    EXPECT_FALSE(window->Link().MeasPaused);
    EXPECT_TRUE(window->Link().tmCurrMeas.isActive());
    const int measBefore = count(QStringLiteral("meas"));
    Delay(clock, 3000);
    EXPECT_GT(count(QStringLiteral("meas")), measBefore);
}

TEST_F(LogCommandsTest, EmptyDeviceKeepsThePreviousLogs) {
    start({}, {});
    TMeas old;
    old.Samples.resize(10);
    window->AddLog(old, QStringLiteral("old"));
    window->FileName = QStringLiteral("/tmp/old.vul");

    window->btnReadLogClick();

    EXPECT_EQ(prompts.messages(), QStringList{kNoLogText});
    EXPECT_EQ(window->LogNames(), QStringList{QStringLiteral("old")});
    EXPECT_TRUE(window->FileName.isEmpty());
    EXPECT_FALSE(window->Link().MeasPaused);
}

// A stall gives the records received so far, without a message.
TEST_F(LogCommandsTest, StalledTransferListsWhatCame) {
    SimDeviceOptions options;
    options.fault = SimFault::Stall;
    start(options, MakeDemoLogs(2));
    window->btnReadLogClick();
    EXPECT_FALSE(window->Logs.isEmpty());
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(LogCommandsTest, ClearAnsweredNoSendsNothing) {
    start({}, MakeDemoLogs(2));
    prompts.answerConfirm(false);
    window->btnClearLogClick();
    EXPECT_EQ(count(QStringLiteral("lgc")), 0);
    EXPECT_FALSE(device->logs().empty());
    EXPECT_FALSE(window->Link().MeasPaused);
    EXPECT_TRUE(window->Link().tmCurrMeas.isActive());
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown().first().text, kDeleteConfirmText);
}

TEST_F(LogCommandsTest, ClearErasesAndShowsAnEmptyDevice) {
    SimDeviceOptions options;
    options.eraseSilenceMs = 10000;
    start(options, MakeDemoLogs(2));
    ASSERT_GT(window->Link().MemUsedBytes, 0);
    TMeas kept;
    kept.Samples.resize(10);
    window->AddLog(kept, QStringLiteral("kept"));
    prompts.answerConfirm(true);
    window->btnClearLogClick();

    EXPECT_EQ(count(QStringLiteral("lgc")), 1);
    EXPECT_TRUE(device->logs().empty());
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join(';').toStdString();
    EXPECT_EQ(window->Link().MemUsedBytes, 0);
    EXPECT_EQ(window->pbMemory->position(), 0);
    EXPECT_EQ(window->LogNames(), QStringList{QStringLiteral("kept")});
    EXPECT_FALSE(window->Link().MeasPaused);
    EXPECT_TRUE(window->Link().tmCurrMeas.isActive());
}

TEST_F(LogCommandsTest, ClearWithADeviceThatNeverReturnsSaysSo) {
    start({}, MakeDemoLogs(2));
    device->options().fault = SimFault::Silent;
    prompts.answerConfirm(true);
    const quint32 t0 = clock.tickCount();
    window->btnClearLogClick();
    const quint32 took = clock.tickCount() - t0;
    EXPECT_EQ(prompts.messages(), QStringList{kLostConnectionText});
    // 13.1 s of countdown and about 10 to 11 s of checks.
    EXPECT_GE(took, 23100u);
    EXPECT_LE(took, 24300u);
    EXPECT_EQ(window->Link().MemUsedBytes, 0);
}

// The progress window in its two modes: what each line shows.
TEST(ProgressWindow, ReadingAndDeletingModes) {
    TfrmProgressDlg dialog;
    EXPECT_EQ(dialog.size(), QSize(467, 156));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog.isModal());

    dialog.downloadShown();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.btnCancel->isVisible());
    dialog.downloadStarted(QStringLiteral(" 2.1 [VUMA 42]"), 5000);
    EXPECT_EQ(dialog.lbUsedMemory->text(), QStringLiteral(" 2.1 [VUMA 42]"));
    EXPECT_EQ(dialog.lbUsedMemoryPer->text(), QStringLiteral("0%"));
    EXPECT_EQ(dialog.pbInfo->maximum(), 5000);
    dialog.downloadProgress(QStringLiteral("Reading log (2512 / 1s)"), 2512, QStringLiteral("50%"));
    EXPECT_EQ(dialog.lbInfo->text(), QStringLiteral("Reading log (2512 / 1s)"));
    EXPECT_EQ(dialog.pbInfo->position(), 2512);
    EXPECT_EQ(dialog.lbUsedMemoryPer->text(), QStringLiteral("50%"));
    dialog.downloadFinished();
    EXPECT_FALSE(dialog.isVisible());

    dialog.deletionShown();
    dialog.deletionStarted(kDeleteTicks);
    EXPECT_EQ(dialog.lbInfo->text(), QStringLiteral("Delete in progress."));
    EXPECT_FALSE(dialog.lbUsedMemory->isVisible());
    EXPECT_TRUE(dialog.lbUsedMemoryPer->isVisible());
    EXPECT_EQ(dialog.pbInfo->maximum(), 130);
    dialog.deletionTick(65, DeletionPercentText(65));
    EXPECT_EQ(dialog.pbInfo->position(), 65);
    EXPECT_EQ(dialog.lbUsedMemoryPer->text(), QStringLiteral("50%"));
    dialog.deletionFinished();
    EXPECT_FALSE(dialog.isVisible());
}
