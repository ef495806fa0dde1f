#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "chart/chartcontroller.h"
#include "chart/charttext.h"
#include "chart/tlogchart.h"
#include "widgets/ttabcontrol.h"

namespace {

TMeas makeLog(int samples, int period = 1000, double base = 100) {
    TMeas log;
    log.SamplePeriod = period;
    for (int i = 0; i < samples; ++i) {
        TLogSample s;
        s.Altitude = base + (i % 50);
        log.Samples.push_back(s);
    }
    log.BaseAlt = samples ? base : 0;
    log.ViewLast = samples - 1;
    return log;
}

/// The chart view as the main window wires it: chart, scroll bar, tabs and the log list.
struct View {
    TLogChart chart;
    QScrollBar scrollBar{Qt::Horizontal};
    TTabControl tabs;
    TData logs;
    int selected = 0;
    bool showAutoStops = false;
    bool ctrl = false;
    int menuUpdates = 0;
    ChartController ctl;

    View()
        : ctl(chart, scrollBar, tabs, logs,
              ChartController::Hooks{[this] { return selected; },
                                     [this] { return showAutoStops; },
                                     [this](const TMeas&) { ++menuUpdates; },
                                     {},
                                     {},
                                     [this] { return ctrl; }}) {
        chart.resize(1000, 500);
        for (int t = 0; t < 3; ++t) tabs.addTab(ChartTabCaption(t));
        ctl.InitChart();
    }
    void select(int index) {
        selected = index;
        ctl.lbMessurementClick();
    }
    void wheel(int delta) {
        bool handled = false;
        ctl.chartGlobalMouseWheel(delta, chart.mapToGlobal(chart.plotRect().center()), &handled);
        EXPECT_TRUE(handled);
    }
    double bottomMin() const { return chart.bottomAxis().minimum(); }
    double bottomMax() const { return chart.bottomAxis().maximum(); }
    void rubberBand(QPoint from, QPoint to) {
        QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, to);
    }
};

}  // namespace

TEST(ChartController, DrawingALogFillsTheSeriesAndShowsTheWholeLog) {
    View v;
    v.logs.append(makeLog(600));
    v.select(0);
    EXPECT_EQ(v.chart.series(TLogChart::Series1).count(), 600);
    EXPECT_EQ(v.chart.series(TLogChart::Series3).count(), 600);
    EXPECT_EQ(v.bottomMin(), 0.0);
    EXPECT_EQ(v.bottomMax(), 599.0);
    EXPECT_EQ(v.chart.bottomAxis().increment(), 60.0);  // 599 visible seconds: a label a minute
    EXPECT_EQ(v.chart.leftAxis().minimum(), -2.0);
    EXPECT_EQ(v.chart.leftAxis().maximum(), 51.0);
    EXPECT_TRUE(v.chart.bottomAxis().gridVisible());
    EXPECT_EQ(v.chart.title(), "Relative altitude [m]");
    EXPECT_EQ(v.ctl.ZoomMinutes, -1);
    EXPECT_DOUBLE_EQ(v.ctl.LogMinutes, 10.0);
    EXPECT_EQ(v.ctl.ShownLog, 0);
    EXPECT_EQ(v.menuUpdates, 1);
    EXPECT_EQ(v.logs[0].MaxAlt, 149.0);
    EXPECT_EQ(v.logs[0].AxisMax, 51.0);
    EXPECT_EQ(v.ctl.PlotWidth, 1000 - 60 - 28);

    // Clicking the shown log again draws nothing new.
    v.chart.series(TLogChart::Series1).addY(1);
    v.select(0);
    EXPECT_EQ(v.chart.series(TLogChart::Series1).count(), 601);
}

TEST(ChartController, TabsSwitchAxesAndSeriesOnly) {
    View v;
    v.logs.append(makeLog(100));
    v.showAutoStops = true;
    v.select(0);
    struct Case {
        int tab;
        quint8 chartType;
        bool left, right, line, points, rate, stops;
        const char* title;
    } cases[] = {
        {0, 0, true, false, true, false, false, true, "Relative altitude [m]"},
        {1, 0, false, true, false, false, true, false, "Climb / dive rate [m/s]"},
        {2, 1, true, true, false, true, true, true, "Altitude / cd rate [m]/[m/s]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tab);
        v.logs[0].ChartType = c.chartType;
        v.chart.series(TLogChart::Series7).setVisible(true);  // a measurement on show
        v.ctl.TabControl1Change(c.tab);
        EXPECT_EQ(v.chart.leftAxis().isVisible(), c.left);
        EXPECT_EQ(v.chart.rightAxis().isVisible(), c.right);
        EXPECT_EQ(v.chart.series(TLogChart::Series1).isVisible(), c.line);
        EXPECT_EQ(v.chart.series(TLogChart::Series4).isVisible(), c.points);
        EXPECT_EQ(v.chart.series(TLogChart::Series3).isVisible(), c.rate);
        EXPECT_EQ(v.chart.series(TLogChart::Series2).isVisible(), c.stops);
        EXPECT_EQ(v.chart.title(), QString::fromLatin1(c.title));
        EXPECT_EQ(v.logs[0].ChartTab, c.tab);
        EXPECT_FALSE(v.chart.series(TLogChart::Series7).isVisible());
        EXPECT_EQ(v.chart.series(TLogChart::Series1).count(), 100);  // nothing recomputed
    }
    v.ctl.ApplyChartTab(5, 0);  // no such log
    EXPECT_EQ(v.chart.title(), "Altitude / cd rate [m]/[m/s]");
}

TEST(ChartController, ShortLogsDisableTheRateTabsAndClearSplitLines) {
    View v;
    v.logs.append(makeLog(21));
    v.logs.append(makeLog(20));
    v.select(0);
    v.tabs.setCurrentIndex(2);
    v.ctl.TabControl1Change(2);
    v.chart.series(TLogChart::Series6).addSegment(5, -1e6, 5, 1e6);

    v.select(1);
    EXPECT_FALSE(v.tabs.isTabEnabled(1));
    EXPECT_FALSE(v.tabs.isTabEnabled(2));
    EXPECT_EQ(v.tabs.currentIndex(), 0);
    EXPECT_FALSE(v.chart.series(TLogChart::Series3).isVisible());
    EXPECT_EQ(v.chart.series(TLogChart::Series6).count(), 0);

    v.select(0);
    EXPECT_TRUE(v.tabs.isTabEnabled(1));
    EXPECT_TRUE(v.tabs.isTabEnabled(2));
}

TEST(ChartController, WheelNarrowsAndWidensTheTimeWindow) {
    View v;
    v.logs.append(makeLog(5430));  // 90.5 minutes at 1 s
    v.select(0);
    v.wheel(120);
    EXPECT_EQ(v.ctl.ZoomMinutes, 90);
    v.wheel(120);
    EXPECT_EQ(v.ctl.ZoomMinutes, 88);  // 2 minutes per notch from 80 minutes
    EXPECT_NEAR(v.bottomMax() - v.bottomMin(), 88 * 60, 1e-6);
    EXPECT_EQ(v.logs[0].ZoomLevel, 88);
    EXPECT_EQ(v.logs[0].ViewFirst, int(v.bottomMin()));
    EXPECT_TRUE(v.scrollBar.isEnabled());
    EXPECT_GT(v.scrollBar.maximum(), 0);

    v.wheel(-120);
    EXPECT_EQ(v.ctl.ZoomMinutes, 90);
    v.wheel(-120);  // 92 minutes would exceed the log
    EXPECT_EQ(v.ctl.ZoomMinutes, -1);
    v.wheel(-120);  // nothing wider than the whole log
    EXPECT_EQ(v.ctl.ZoomMinutes, -1);
}

TEST(ChartController, ScrollBarMovesTheWindowAndRightDragSpringsBack) {
    View v;
    v.logs.append(makeLog(6000));  // 100 minutes
    v.select(0);
    for (int i = 0; i < 40; ++i) v.wheel(120);
    ASSERT_GT(v.ctl.ZoomMinutes, 0);
    const double span = v.bottomMax() - v.bottomMin();
    const double first = v.bottomMin();

    v.scrollBar.setSingleStep(25);
    const int lastPos = v.ctl.LastScrollPos;
    v.scrollBar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_NE(v.scrollBar.value(), lastPos);
    EXPECT_DOUBLE_EQ(v.bottomMin(), first + (v.scrollBar.value() - lastPos));
    EXPECT_EQ(v.ctl.LastScrollPos, v.scrollBar.value());
    EXPECT_EQ(v.logs[0].ViewFirst, int(v.bottomMin()));
    EXPECT_NEAR(v.bottomMax() - v.bottomMin(), span, 1e-6);

    // Dragged with the right button past the start of the log: back to the scroll bar's place.
    v.scrollBar.setValue(30);
    v.chart.bottomAxis().setMinMax(-50, -50 + span);
    v.ctl.chartGlobalScroll();
    EXPECT_EQ(v.bottomMin(), 30.0);
    EXPECT_NEAR(v.bottomMax(), 30 + span, 1e-6);
}

TEST(ChartController, RectangleZoomIsRememberedByLockedLogsOnly) {
    View v;
    v.logs.append(makeLog(600));
    v.logs.append(makeLog(300));
    v.logs[0].LockZoom = 1;
    v.select(0);
    const QRect plot = v.chart.plotRect();
    v.rubberBand(plot.topLeft() + QPoint(100, 50), plot.topLeft() + QPoint(400, 200));
    EXPECT_TRUE(v.ctl.FreeZoom);
    EXPECT_FALSE(v.scrollBar.isEnabled());
    EXPECT_EQ(v.chart.panMode(), TLogChart::PanMode::Both);
    const TMeas& log = v.logs[0];
    EXPECT_EQ(log.ZoomRect[0], int(v.bottomMin()));
    EXPECT_EQ(log.ZoomRect[2], int(v.bottomMax()));
    EXPECT_EQ(log.ZoomRect[3], int(v.chart.leftAxis().maximum() + log.MinAlt));  // absolute altitude
    const double zoomedMin = v.bottomMin();
    const double zoomedTop = v.chart.leftAxis().maximum();
    EXPECT_EQ(v.chart.series(TLogChart::Series10).x(0), zoomedMin);  // anchors follow

    v.select(1);
    EXPECT_FALSE(v.ctl.FreeZoom);
    EXPECT_TRUE(v.scrollBar.isEnabled());
    v.select(0);
    EXPECT_TRUE(v.ctl.FreeZoom);
    EXPECT_FALSE(v.scrollBar.isEnabled());
    EXPECT_EQ(v.bottomMin(), double(int(zoomedMin)));
    EXPECT_NEAR(v.chart.leftAxis().maximum(), zoomedTop, 1.0);

    // Undo by dragging toward the upper left: back to the window view, rectangle forgotten.
    v.rubberBand(plot.topLeft() + QPoint(400, 200), plot.topLeft() + QPoint(100, 50));
    EXPECT_FALSE(v.ctl.FreeZoom);
    EXPECT_TRUE(v.scrollBar.isEnabled());
    EXPECT_EQ(log.ZoomRect[0] | log.ZoomRect[1] | log.ZoomRect[2] | log.ZoomRect[3], 0);
    EXPECT_EQ(v.chart.leftAxis().minimum(), log.AxisMin);
    EXPECT_EQ(v.chart.leftAxis().maximum(), log.AxisMax);

    // The same zoom on an unlocked log is gone after selecting it again.
    v.select(1);
    v.rubberBand(plot.topLeft() + QPoint(100, 50), plot.topLeft() + QPoint(400, 200));
    ASSERT_TRUE(v.ctl.FreeZoom);
    v.select(0);
    v.select(1);
    EXPECT_FALSE(v.ctl.FreeZoom);
    EXPECT_EQ(v.bottomMin(), 0.0);
    EXPECT_EQ(v.bottomMax(), 299.0);
    EXPECT_EQ(v.logs[1].ZoomRect[2], 0);
}

TEST(ChartController, CtrlZoomPutsBackTheAxesOfTheMouseDown) {
    View v;
    v.logs.append(makeLog(600));
    v.select(0);
    v.chart.leftAxis().setMinMax(-7.5, 60.9);
    v.chart.bottomAxis().setMinMax(-20.7, 300.2);
    v.ctl.TakeMouseDownAxes();
    v.ctrl = true;
    const QRect plot = v.chart.plotRect();
    v.rubberBand(plot.topLeft() + QPoint(100, 50), plot.topLeft() + QPoint(400, 200));
    EXPECT_FALSE(v.ctl.FreeZoom);
    EXPECT_EQ(v.chart.leftAxis().minimum(), -2.0);  // not below -2
    EXPECT_EQ(v.chart.leftAxis().maximum(), 60.0);
    EXPECT_EQ(v.bottomMin(), -20.0);
    EXPECT_EQ(v.bottomMax(), 300.0);
}

TEST(ChartController, LockedWindowViewComesBackAndToggleStoresIt) {
    View v;
    v.logs.append(makeLog(6000));
    v.logs.append(makeLog(100));
    v.select(0);
    v.ctl.miLockZoomClick();
    EXPECT_EQ(v.logs[0].LockZoom, 1);
    v.wheel(120);
    v.wheel(120);
    const double first = v.bottomMin();
    const double last = v.bottomMax();
    v.select(1);
    v.select(0);
    EXPECT_EQ(v.ctl.ZoomMinutes, v.logs[0].ZoomLevel);
    EXPECT_EQ(v.bottomMin(), double(int(first)));
    EXPECT_EQ(v.bottomMax(), double(int(last)));
    EXPECT_EQ(v.scrollBar.value(), std::min(int(first), v.scrollBar.maximum()));

    // "Show auto stops" keeps the view whatever the lock says.
    v.ctl.miLockZoomClick();
    v.ctl.cbShowAutoStopsClick();
    EXPECT_EQ(v.bottomMin(), double(int(first)));
}

TEST(ChartController, EmptyLogAndNoSelectionChangeNothingOrDrawDefaults) {
    View v;
    v.logs.append(makeLog(0));
    v.select(0);
    EXPECT_EQ(v.chart.series(TLogChart::Series1).count(), 0);
    EXPECT_EQ(v.chart.series(TLogChart::Series3).count(), 3);
    EXPECT_EQ(v.chart.leftAxis().minimum(), -2.0);
    EXPECT_EQ(v.chart.leftAxis().maximum(), 2.0);
    EXPECT_EQ(v.chart.rightAxis().minimum(), -1.0);
    v.wheel(120);
    EXPECT_EQ(v.ctl.ZoomMinutes, -1);

    v.selected = -1;
    v.ctl.DrawLog(false);
    v.ctl.ScrollBar1Scroll(40);
    v.ctl.miLockZoomClick();
    v.ctl.chartGlobalUndoZoom();
    EXPECT_EQ(v.logs[0].LockZoom, 0);
    EXPECT_EQ(v.ctl.LastScrollPos, 0);
}

TEST(ChartController, UndoZoomGivesTheRateAxisTheShownLogsRange) {
    View v;
    v.logs.append(makeLog(600));
    TMeas steep = makeLog(600);
    for (size_t i = 0; i < steep.Samples.size(); ++i)
        steep.Samples[i].Altitude = 100 + 10.0 * double(i % 100);
    v.logs.append(steep);
    v.logs[0].LockZoom = 1;
    v.select(0);
    const QRect plot = v.chart.plotRect();
    v.rubberBand(plot.topLeft() + QPoint(100, 50),
                 plot.topLeft() + QPoint(400, 200));  // the widget saves log 0's ranges
    v.select(1);
    const double rateMin = v.chart.rightAxis().minimum();
    const double rateMax = v.chart.rightAxis().maximum();
    ASSERT_GT(rateMax, 10.0);
    v.rubberBand(plot.topLeft() + QPoint(100, 50), plot.topLeft() + QPoint(400, 200));
    v.rubberBand(plot.topLeft() + QPoint(400, 200), plot.topLeft() + QPoint(100, 50));
    EXPECT_EQ(v.chart.rightAxis().minimum(), rateMin);
    EXPECT_EQ(v.chart.rightAxis().maximum(), rateMax);
}
