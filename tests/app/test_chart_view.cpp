#include <QCheckBox>

#include "chart/chartcontroller.h"
#include "chart/tchartaxis.h"
#include "chart/tlogchart.h"
#include "mainwindowfixture.h"
#include "widgets/tcolorlistbox.h"

namespace {
TMeas makeLog(int samples, qint32 period, int autoStopAt = -1) {
    TMeas log;
    log.SamplePeriod = period;
    for (int i = 0; i < samples; ++i) {
        TLogSample s;
        s.Altitude = 500 + (i % 50);
        if (i == autoStopAt) {
            s.AutoStop = 1;
            s.AutoStopTime = 120;
        }
        log.Samples.push_back(s);
    }
    log.ViewLast = samples - 1;
    log.LockZoom = 1;
    return log;
}
}  // namespace

TEST_F(MainWindowTest, TimeAxisLabelsFollowTheSelectedLogsPeriod) {
    createWindow();
    window->AddLog(makeLog(300, 1000), QStringLiteral("Log 1"));
    window->AddLog(makeLog(300, 2000, 100), QStringLiteral("Log 2"));
    window->lbMessurement->setCurrentRow(0);
    const TChartAxis& bottom = window->chartGlobal->bottomAxis();
    EXPECT_EQ(bottom.labelText(60), QStringLiteral("1m 0s"));
    EXPECT_EQ(bottom.labelText(3600), QStringLiteral("1h 0s"));
    window->lbMessurement->setCurrentRow(1);
    EXPECT_EQ(bottom.labelText(60), QStringLiteral("2m 0s"));
    EXPECT_EQ(bottom.labelText(60.5), QStringLiteral("2m 0s"));  // the leading integer counts
    // With auto stops shown, a log that has one keeps its time axis free for their labels.
    window->cbShowAutoStops->click();
    EXPECT_EQ(bottom.labelText(60), QStringLiteral(" "));
    window->lbMessurement->setCurrentRow(0);
    EXPECT_EQ(bottom.labelText(60), QStringLiteral("1m 0s"));
}

TEST_F(MainWindowTest, ChartTypeAndLockZoomMenusFollowTheLog) {
    createWindow();
    window->AddLog(makeLog(100, 1000), QStringLiteral("Log 1"));
    window->AddLog(makeLog(100, 1000), QStringLiteral("Log 2"));
    window->lbMessurement->setCurrentRow(0);
    window->miPoint2->trigger();
    EXPECT_EQ(window->Logs[0].ChartType, 1);
    EXPECT_TRUE(window->miPoint->isChecked());
    EXPECT_TRUE(window->miPoint2->isChecked());
    EXPECT_FALSE(window->miLine2->isChecked());
    window->miLockZoom->trigger();
    EXPECT_EQ(window->Logs[0].LockZoom, 0);
    EXPECT_FALSE(window->miLockZoom2->isChecked());

    window->lbMessurement->setCurrentRow(1);  // the other log brings its own state
    EXPECT_TRUE(window->miLine->isChecked());
    EXPECT_TRUE(window->miLine2->isChecked());
    EXPECT_TRUE(window->miLockZoom2->isChecked());
    EXPECT_EQ(window->Chart().ShownLog, 1);
}
