#include "chart/chartcontroller.h"

#include <QScrollBar>
#include <climits>
#include <cmath>

#include "chart/charttext.h"
#include "chart/logseries.h"
#include "chart/tlogchart.h"
#include "chart/zoommath.h"
#include "widgets/ttabcontrol.h"

namespace {

qint32 trunc32(double v) {
    if (std::isnan(v)) return 0;
    return qint32(std::trunc(std::clamp(v, double(INT_MIN), double(INT_MAX))));
}

qint32 ceil32(double v) {
    if (std::isnan(v)) return 0;
    return qint32(std::ceil(std::clamp(v, double(INT_MIN), double(INT_MAX))));
}

double round4(double v) { return std::nearbyint(v * 10000.0) / 10000.0; }

QColor fromBgr(TColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

}  // namespace

ChartController::ChartController(TLogChart& chart, QScrollBar& scrollBar, TTabControl& tabs, TData& logs,
                                 Hooks hooks, QObject* parent)
    : QObject(parent),
      m_chart(chart),
      m_scrollBar(scrollBar),
      m_tabs(tabs),
      m_logs(logs),
      m_hooks(std::move(hooks)) {
    connect(&m_chart, &TLogChart::zoomed, this, &ChartController::chartGlobalZoom);
    connect(&m_chart, &TLogChart::undoZoomed, this, &ChartController::chartGlobalUndoZoom);
    connect(&m_chart, &TLogChart::scrolled, this, &ChartController::chartGlobalScroll);
    connect(&m_chart, &TLogChart::mouseWheel, this, &ChartController::chartGlobalMouseWheel);
    connect(&m_tabs, &TTabControl::currentChanged, this, &ChartController::TabControl1Change);
    // Only user movements of the scroll bar move the axis; the program's own setValue calls do not.
    connect(&m_scrollBar, &QScrollBar::actionTriggered, this,
            [this](int) { ScrollBar1Scroll(m_scrollBar.sliderPosition()); });
}

int ChartController::validIndex() const {
    const int i = m_hooks.selectedIndex ? m_hooks.selectedIndex() : -1;
    return i >= 0 && i < m_logs.size() ? i : -1;
}

TMeas* ChartController::selectedLog() {
    const int i = validIndex();
    return i < 0 ? nullptr : &m_logs[i];
}

double ChartController::samplesPerMinute(const TMeas& log) const {
    return 60.0 * SamplesPerSecond(log.SamplePeriod);
}

double ChartController::windowMinutes() const { return round4(ZoomMinutes != -1 ? ZoomMinutes : LogMinutes); }

void ChartController::setScrollSteps(int maximum, int large, int small) {
    m_scrollBar.setMaximum(maximum);
    m_scrollBar.setPageStep(std::max(0, large));
    m_scrollBar.setSingleStep(std::max(0, small));
}

void ChartController::InitChart() {
    TChartAxis& bottom = m_chart.bottomAxis();
    bottom.setTitle(QStringLiteral("Time [h:m:s]"));
    bottom.setGridStyle(Qt::DotLine);
    TChartAxis& left = m_chart.leftAxis();
    left.setTitle(QStringLiteral("Altitude [m]"));
    left.setGridStyle(Qt::DashDotDotLine);
    left.setMinorTickCount(0);
    TChartAxis& right = m_chart.rightAxis();
    right.setTitle(QStringLiteral("Climb / dive rate [m/s]"));
    right.setTitleAngle(90);
    right.setGridVisible(false);
    right.setTickLength(7);
    right.setVisible(false);
    m_chart.topAxis().setVisible(false);
    m_chart.setChartColor(Qt::black);
    m_chart.setTitleColor(QColor(0xC0, 0xC0, 0xC0));
    left.setMinMax(0, 100);
    right.setMinMax(-1, 1);
    bottom.setMinMax(0, 10);
    bottom.setIncrement(1);
    bottom.setGridVisible(false);

    TChartSeries& anchors = m_chart.series(TLogChart::Series10);
    anchors.clear();
    anchors.add(0, 0);
    anchors.add(0, 0);
    TChartSeries& cross = m_chart.series(TLogChart::Series5);
    cross.clear();
    cross.addSegment(-2000000, 100, 2000000, 100);
    cross.addSegment(100, -2000000, 100, 2000000);
    cross.setVisible(false);
    TChartSeries& sides = m_chart.series(TLogChart::Series8);
    sides.clear();
    for (int i = 0; i < 3; ++i) sides.addSegment(-1, 0, -1, 0);
    TChartSeries& points = m_chart.series(TLogChart::Series7);
    points.clear();
    for (int i = 0; i < 2; ++i) points.add(-10, 0);
    TChartSeries& labels = m_chart.series(TLogChart::Series9);
    labels.clear();
    for (int i = 0; i < 3; ++i) labels.add(-10, 0);
}

void ChartController::applyTabAxes(int tab) {
    m_chart.leftAxis().setVisible(tab != 1);
    m_chart.leftAxis().setGridVisible(tab == 0);
    m_chart.rightAxis().setVisible(tab != 0);
    m_chart.rightAxis().setGridVisible(tab != 0);
}

void ChartController::ApplyChartTab(int index, int tab) {
    if (index < 0 || index >= m_logs.size()) return;
    TMeas& log = m_logs[index];
    applyTabAxes(tab);
    const bool altitude = tab != 1;
    m_chart.series(TLogChart::Series1).setVisible(altitude && log.ChartType == 0);
    m_chart.series(TLogChart::Series4).setVisible(altitude && log.ChartType == 1);
    m_chart.series(TLogChart::Series3).setVisible(tab != 0);
    m_chart.series(TLogChart::Series2).setVisible(altitude && ShowAutoStops);
    m_chart.setTitle(ChartTabTitle(tab));
    log.ChartTab = quint8(tab);
}

void ChartController::UpdatePlotWidth() { PlotWidth = PlotWidthFor(m_chart.width(), m_tabs.currentIndex()); }

void ChartController::SetTimeIncrement(int index, double span) {
    if (index < 0 || index >= m_logs.size()) return;
    m_chart.bottomAxis().setIncrement(TimeLabelStep(span, SamplesPerSecond(m_logs[index].SamplePeriod)));
}

void ChartController::HideMeasurement() {
    for (int s : {TLogChart::Series7, TLogChart::Series8, TLogChart::Series9})
        m_chart.series(s).setVisible(false);
}

void ChartController::DrawLog(bool keepView) {
    ShowAutoStops = m_hooks.showAutoStops && m_hooks.showAutoStops();
    UpdatePlotWidth();
    const int tab = std::max(0, m_tabs.currentIndex());
    applyTabAxes(tab);
    const int index = validIndex();
    if (index < 0) return;
    TMeas& log = m_logs[index];
    if (m_hooks.menuStateChanged) m_hooks.menuStateChanged(log);

    const int n = int(log.Samples.size());
    LogMinutes = n / samplesPerMinute(log);
    ZoomMinutes = -1;
    if (m_hooks.loadBackground && !m_hooks.loadBackground(log)) return;
    m_chart.setTitle(ChartTabTitle(tab));

    const QColor color = fromBgr(log.ChartColor);
    m_chart.series(log.ChartType != 0 ? TLogChart::Series4 : TLogChart::Series1).setColor(color);
    m_chart.series(TLogChart::Series2).setColor(color);
    if (m_hooks.setChartBackground) {
        const bool picture = !log.ImageFile.isEmpty() && !m_chart.backImage().isNull();
        m_hooks.setChartBackground(log.BackColor, picture ? log.ImageLevel : -1);
    }
    TChartSeries& stops = m_chart.series(TLogChart::Series2);
    stops.setMarkerSize(stops.markerWidth(), 4);

    const LogSeries data = BuildLogSeries(log, ShowAutoStops);
    FillLogSeries(data, m_chart);
    m_reference = data.range.reference;
    m_rateMin = data.rightMin();
    m_rateMax = data.rightMax();
    StoreChartState(data, tab, log);
    ApplyChartTab(index, tab);

    if (log.LockZoom || keepView) {
        ZoomMinutes = log.ZoomLevel;
        UpdateZoomMetrics();
        if (log.ZoomRect[0] || log.ZoomRect[1] || log.ZoomRect[2] || log.ZoomRect[3]) {
            FreeZoom = true;
            m_scrollBar.setEnabled(false);
            m_chart.bottomAxis().setMinMax(log.ZoomRect[0], std::max(log.ZoomRect[2], 0));
            m_chart.leftAxis().setMinMax(round4(std::max(log.ZoomRect[1] - m_reference, -2.0)),
                                         round4(log.ZoomRect[3] - m_reference));
            m_chart.setPanMode(TLogChart::PanMode::Both);
        } else {
            RestoreWindowView(index);
            m_chart.setPanMode(TLogChart::PanMode::Horizontal);
        }
        SetTimeIncrement(index, trunc32(m_chart.bottomAxis().maximum() - m_chart.bottomAxis().minimum()));
    } else {
        m_chart.undoZoom();  // its event resets the window state through chartGlobalUndoZoom
        m_chart.bottomAxis().setMinMax(0, n - 1);
        SetTimeIncrement(index, n - 1);
        m_scrollBar.setValue(0);
        LastScrollPos = 0;
        UpdateZoomMetrics();
    }
    m_chart.bottomAxis().setGridVisible(true);
}

void ChartController::lbMessurementClick() {
    HideMeasurement();
    m_scrollBar.setPageStep(1);
    const int index = validIndex();
    if (index != ShownLog && index >= 0) {
        DrawLog(false);
        m_chart.series(TLogChart::Series6).clear();
        const bool rateTabs = RateTabsEnabled(int(m_logs[index].Samples.size()));
        m_tabs.setTabEnabled(1, rateTabs);
        m_tabs.setTabEnabled(2, rateTabs);
        if (!rateTabs && m_tabs.currentIndex() != 0) {
            m_tabs.setCurrentIndex(0);
            ApplyChartTab(index, 0);
        }
    }
    ShownLog = m_hooks.selectedIndex ? m_hooks.selectedIndex() : -1;
}

void ChartController::TabControl1Change(int tab) {
    HideMeasurement();
    ApplyChartTab(validIndex(), tab);
}

void ChartController::miLineClick(int chartType) {
    TMeas* log = selectedLog();
    if (!log) return;
    log->ChartType = quint8(chartType);
    DrawLog(false);
}

void ChartController::cbShowAutoStopsClick() { DrawLog(true); }

void ChartController::UpdateZoomMetrics() {
    const TMeas* log = selectedLog();
    if (!log || log->Samples.empty()) return;
    const ZoomMetrics m =
        ComputeZoomMetrics(windowMinutes(), PlotWidth, int(log->Samples.size()), samplesPerMinute(*log));
    WindowPixels = m.windowPixels;
    VisibleFraction = m.visibleFraction;
    ScrollExtent = m.scrollExtent;
}

void ChartController::ApplyZoomWindow() {
    TMeas* log = selectedLog();
    if (!log || log->Samples.empty()) return;
    std::fill(std::begin(log->ZoomRect), std::end(log->ZoomRect), 0);
    UpdateZoomMetrics();
    log->ZoomLevel = ZoomMinutes;
    if (PlotWidth < WindowPixels) {
        m_scrollBar.setValue(0);
        return;
    }
    const int last = int(log->Samples.size()) - 1;
    const int b = ceil32(last * VisibleFraction);
    const int d = last - b;
    const bool whole = b == last;
    setScrollSteps(d > 0 ? d : 1, whole ? 1 : d / 50, whole ? 1 : d / 100);
    TChartAxis& bottom = m_chart.bottomAxis();
    bottom.setMinMax(bottom.minimum(), bottom.minimum() + windowMinutes() * samplesPerMinute(*log));
    StoreView();
    SetTimeIncrement(validIndex(), trunc32(bottom.maximum() - bottom.minimum()));
}

void ChartController::StoreView() {
    TMeas* log = selectedLog();
    if (FreeZoom || !log) return;
    log->ViewFirst = trunc32(m_chart.bottomAxis().minimum());
    log->ViewLast = trunc32(m_chart.bottomAxis().maximum());
    log->ZoomLevel = ZoomMinutes;
}

void ChartController::StoreZoomRect() {
    TMeas* log = selectedLog();
    if (!FreeZoom || !log) return;
    const double o = m_tabs.currentIndex() == 1 ? 0.0 : log->MinAlt;
    log->ZoomRect[0] = trunc32(m_chart.bottomAxis().minimum());
    log->ZoomRect[1] = trunc32(m_chart.leftAxis().minimum() + o);
    log->ZoomRect[2] = trunc32(m_chart.bottomAxis().maximum());
    log->ZoomRect[3] = trunc32(m_chart.leftAxis().maximum() + o);
}

void ChartController::RestoreWindowView(int index) {
    if (index < 0 || index >= m_logs.size()) return;
    const TMeas& log = m_logs[index];
    FreeZoom = false;
    m_scrollBar.setEnabled(true);
    const int last = int(log.Samples.size()) - 1;
    int c = last - ceil32(last * VisibleFraction);
    if (c <= 0) c = 1;
    setScrollSteps(c, c / 50, c / 100);
    if (log.ViewFirst != 0 || log.ViewLast != 0) {
        m_chart.bottomAxis().setMinMax(log.ViewFirst, std::max(log.ViewLast, 0));
    } else {
        m_chart.bottomAxis().setMinMax(0, last + 1);
    }
    m_scrollBar.setValue(log.ViewFirst);
    LastScrollPos = log.ViewFirst;
}

void ChartController::TakeMouseDownAxes() {
    DownAxes.bottomMin = trunc32(m_chart.bottomAxis().minimum());
    DownAxes.bottomMax = trunc32(m_chart.bottomAxis().maximum());
    DownAxes.leftMin = trunc32(m_chart.leftAxis().minimum());
    DownAxes.leftMax = trunc32(m_chart.leftAxis().maximum());
    DownAxes.rightMin = m_chart.rightAxis().minimum();
    DownAxes.rightMax = m_chart.rightAxis().maximum();
}

void ChartController::RestoreMouseDownAxes() {
    m_chart.leftAxis().setMinMax(std::max(DownAxes.leftMin, -2), DownAxes.leftMax);
    m_chart.bottomAxis().setMinMax(DownAxes.bottomMin, std::max(DownAxes.bottomMax, 0));
    m_chart.rightAxis().setMinMax(DownAxes.rightMin, DownAxes.rightMax);
}

void ChartController::PlaceAnchorPoints() {
    TChartSeries& anchors = m_chart.series(TLogChart::Series10);
    for (int i = 0; i < 2; ++i) {
        anchors.setX(i, m_chart.bottomAxis().minimum());
        anchors.setY(i, m_chart.leftAxis().minimum());
    }
}

int ChartController::PlotOffsetX(int x) const {
    return ::PlotOffsetX(x, m_chart.width(), m_tabs.currentIndex());
}

void ChartController::chartGlobalZoom() {
    if (validIndex() < 0) return;
    if (ctrlDown()) {
        RestoreMouseDownAxes();
    } else {
        FreeZoom = true;
        m_scrollBar.setEnabled(false);
        StoreZoomRect();
        m_chart.setPanMode(TLogChart::PanMode::Both);
        SetTimeIncrement(validIndex(),
                         trunc32(m_chart.bottomAxis().maximum() - m_chart.bottomAxis().minimum()));
    }
    PlaceAnchorPoints();
}

void ChartController::chartGlobalUndoZoom() {
    TMeas* log = selectedLog();
    if (!log) return;
    if (ctrlDown()) {
        RestoreMouseDownAxes();
    } else {
        FreeZoom = false;
        m_scrollBar.setEnabled(true);
        ZoomMinutes = -1;
        LastScrollPos = 0;
        m_scrollBar.setPageStep(0);
        m_scrollBar.setValue(0);
        m_scrollBar.setMaximum(0);
        if (log->ZoomRect[0] > 0 || log->ZoomRect[1] > 0 || log->ZoomRect[2] > 0 || log->ZoomRect[3] > 0) {
            std::fill(std::begin(log->ZoomRect), std::end(log->ZoomRect), 0);
            RestoreWindowView(validIndex());
            ZoomMinutes = log->ZoomLevel;
        } else {
            log->ViewFirst = 0;
            log->ViewLast = 0;
            log->ZoomLevel = -1;
            m_chart.bottomAxis().setMinMax(0, double(log->Samples.size()));
        }
        UpdateZoomMetrics();
        m_chart.setPanMode(TLogChart::PanMode::Horizontal);
        m_chart.leftAxis().setMinMax(log->AxisMin, log->AxisMax);
        // The widget's own undo brings back the ranges it saved at its first zoom, which may
        // belong to a log shown earlier; the rate axis returns to this log's range instead.
        m_chart.rightAxis().setMinMax(m_rateMin, m_rateMax);
        SetTimeIncrement(validIndex(),
                         trunc32(m_chart.bottomAxis().maximum() - m_chart.bottomAxis().minimum()));
    }
    PlaceAnchorPoints();
}

void ChartController::chartGlobalScroll() {
    const double m = m_chart.bottomAxis().minimum();
    if ((m >= 0 && m <= m_scrollBar.maximum()) || FreeZoom) {
        m_scrollBar.setValue(ceil32(m));
        LastScrollPos = m_scrollBar.value();
        StoreView();
        StoreZoomRect();
        PlaceAnchorPoints();
        return;
    }
    const TMeas* log = selectedLog();
    if (!log) return;
    // A window dragged beyond the scroll range springs back to the scroll bar.
    const int p = m_scrollBar.value();
    m_chart.bottomAxis().setMinMax(p, p + samplesPerMinute(*log) * windowMinutes());
}

void ChartController::ScrollBar1Scroll(int position) {
    TMeas* log = selectedLog();
    if (!log) return;
    m_chart.bottomAxis().scroll(double(position) - LastScrollPos);
    LastScrollPos = position;
    log->ViewFirst = trunc32(m_chart.bottomAxis().minimum());
    log->ViewLast = trunc32(m_chart.bottomAxis().maximum());
    StoreView();
}

void ChartController::chartGlobalMouseWheel(int delta, QPoint globalPos, bool* handled) {
    HideMeasurement();
    if (handled) *handled = true;
    const TMeas* log = selectedLog();
    if (!log || log->Samples.empty()) return;
    if (FreeZoom) return;
    if (ZoomMinutes == -1 && delta < 0) return;
    const int p0 = m_scrollBar.value();
    ZoomMinutes = NextZoomMinutes(ZoomMinutes, delta, LogMinutes);
    const int e0 = ScrollExtent;
    ApplyZoomWindow();
    const double ratio = e0 > 0 ? double(ScrollExtent) / e0 : 0.0;
    const int x = PlotOffsetX(m_chart.mapFromGlobal(globalPos).x());
    const int p = trunc32((p0 + x) * ratio - x);
    m_scrollBar.setValue(p);
    ScrollBar1Scroll(p);
    PlaceAnchorPoints();
}

void ChartController::miLockZoomClick() {
    TMeas* log = selectedLog();
    if (!log) return;
    log->LockZoom = log->LockZoom ? 0 : 1;
    if (m_hooks.menuStateChanged) m_hooks.menuStateChanged(*log);
    StoreView();
}
