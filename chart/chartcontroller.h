#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

#include "logs/logmodel.h"

class QScrollBar;
class TLogChart;
class TTabControl;

/// Runs the chart view of the main window: draws the selected log into the chart, switches the
/// tabs, and keeps the time window, the rectangle zoom, the scroll bar and each log's saved view
/// in step. The main window owns the widgets and the log list and forwards its events here;
/// what lies outside the chart (menu checks, background pictures) goes back through Hooks.
///
/// The controller connects the chart's zoom, undo-zoom, scroll and wheel events, the scroll
/// bar's user actions and the tab control's changes itself; the main window forwards the rest
/// (list clicks, menu items, "Show auto stops", resizing via UpdatePlotWidth, and at each chart
/// mouse-down that is not on a split line, TakeMouseDownAxes).
class ChartController : public QObject {
    Q_OBJECT
public:
    /// Axis ranges taken at a chart mouse-down, to be put back when a Ctrl drag ends in a zoom.
    struct MouseDownAxes {
        qint32 bottomMin = 0, bottomMax = 0, leftMin = 0, leftMax = 0;
        double rightMin = 0, rightMax = 0;
    };

    struct Hooks {
        /// The selected list item, -1 for none.
        std::function<int()> selectedIndex;
        /// State of "Show auto stops", read at the start of every drawing.
        std::function<bool()> showAutoStops;
        /// Chart type or "Lock zoom" of the log changed or the log was drawn: update the menu checks.
        std::function<void(const TMeas&)> menuStateChanged;
        /// Show or remove the log's background picture; false when it could not be loaded, which
        /// ends the drawing there.
        std::function<bool(const TMeas&)> loadBackground;
        /// Chart colour and matching text colours; level is the picture's intensity or -1 without one.
        std::function<void(TColor backColor, int level)> setChartBackground;
        /// Whether Ctrl is held (a Ctrl drag is a measurement, not a zoom).
        std::function<bool()> ctrlDown;
    };

    ChartController(TLogChart& chart, QScrollBar& scrollBar, TTabControl& tabs, TData& logs, Hooks hooks,
                    QObject* parent = nullptr);

    /// Program start: the axes as designed and the fixed points of the helper series.
    void InitChart();

    // Drawing and tabs.
    void DrawLog(bool keepView);
    void ApplyChartTab(int index, int tab);
    void UpdatePlotWidth();
    void SetTimeIncrement(int index, double span);
    void HideMeasurement();
    void lbMessurementClick();
    void TabControl1Change(int tab);
    void miLineClick(int chartType);
    void cbShowAutoStopsClick();

    // Window and rectangle views.
    void UpdateZoomMetrics();
    void ApplyZoomWindow();
    void StoreView();
    void StoreZoomRect();
    void RestoreWindowView(int index);
    void TakeMouseDownAxes();
    void RestoreMouseDownAxes();
    void PlaceAnchorPoints();
    int PlotOffsetX(int x) const;
    void chartGlobalZoom();
    void chartGlobalUndoZoom();
    void chartGlobalScroll();
    void ScrollBar1Scroll(int position);
    void chartGlobalMouseWheel(int delta, QPoint globalPos, bool* handled);
    void miLockZoomClick();

    // State the main window and tests read.
    int ZoomMinutes = 1;  // -1 = the whole log
    int PlotWidth = 0;
    int WindowPixels = 0;
    double VisibleFraction = 0;
    int ScrollExtent = 0;
    bool FreeZoom = false;
    int LastScrollPos = 0;
    double LogMinutes = 0;
    int ShownLog = -1;
    bool ShowAutoStops = false;
    MouseDownAxes DownAxes;

private:
    TMeas* selectedLog();
    int validIndex() const;
    bool ctrlDown() const { return m_hooks.ctrlDown && m_hooks.ctrlDown(); }
    void applyTabAxes(int tab);
    double windowMinutes() const;
    double samplesPerMinute(const TMeas& log) const;
    void setScrollSteps(int maximum, int large, int small);

    TLogChart& m_chart;
    QScrollBar& m_scrollBar;
    TTabControl& m_tabs;
    TData& m_logs;
    Hooks m_hooks;
    double m_reference = 0;  // altitude drawn as 0 for the shown log
    double m_rateMin = -1;   // home range of the rate axis for the shown log
    double m_rateMax = 1;
};
