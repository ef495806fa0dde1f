// The chart side of the main window: the controller that draws the selected log and keeps the
// view, and the menu items and list events that drive it.
#include <QActionGroup>
#include <QCheckBox>
#include <QImage>
#include <QScrollBar>

#include "app/main_window.h"
#include "chart/chartcontroller.h"
#include "chart/charttext.h"
#include "chart/tlogchart.h"
#include "support/keystate.h"
#include "support/lenientparse.h"
#include "widgets/tcolorlistbox.h"
#include "widgets/ttabcontrol.h"

namespace {
QColor fromBgr(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
}  // namespace

void TfrmMain::buildChartController() {
    ChartController::Hooks hooks;
    hooks.selectedIndex = [this] { return lbMessurement->currentRow(); };
    hooks.showAutoStops = [this] { return cbShowAutoStops->isChecked(); };
    hooks.menuStateChanged = [this](const TMeas& log) { updateLogMenuChecks(log); };
    hooks.loadBackground = [this](const TMeas& log) { return loadChartBackground(log); };
    hooks.setChartBackground = [this](TColor color, int) { chartGlobal->setChartColor(fromBgr(color)); };
    hooks.ctrlDown = [] { return IsKeyDown(kVkControl); };
    m_chart = new ChartController(*chartGlobal, *ScrollBar1, *TabControl1, Logs, hooks, this);

    connect(lbMessurement, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) m_chart->lbMessurementClick();
        chartGlobal->refreshLabels();  // the time labels depend on the log and its auto stops
    });
    connect(cbShowAutoStops, &QCheckBox::clicked, this, [this] {
        m_chart->cbShowAutoStopsClick();
        chartGlobal->refreshLabels();
    });
    for (QAction* a : {miLine, miLine2})
        connect(a, &QAction::triggered, this, [this] { m_chart->miLineClick(0); });
    for (QAction* a : {miPoint, miPoint2})
        connect(a, &QAction::triggered, this, [this] { m_chart->miLineClick(1); });
    for (QAction* a : {miLockZoom, miLockZoom2}) {
        connect(a, &QAction::triggered, this, [this] { m_chart->miLockZoomClick(); });
    }
    chartGlobal->bottomAxis().setLabelCallback(
        [this](double, const QString& text) { return chartGlobalGetAxisLabel(text); });
    connect(chartGlobal, &TLogChart::mouseDown, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { m_chart->TakeMouseDownAxes(); });
}

void TfrmMain::updateLogMenuChecks(const TMeas& log) {
    const bool points = log.ChartType == 1;
    miLine->setChecked(!points);
    miPoint->setChecked(points);
    miLine2->setChecked(!points);
    miPoint2->setChecked(points);
    miLockZoom->setChecked(log.LockZoom != 0);
    miLockZoom2->setChecked(log.LockZoom != 0);
}

bool TfrmMain::loadChartBackground(const TMeas& log) {
    const QString path = log.ImageFile.trimmed();
    // A picture that has gone missing leaves the plain chart colour; the log still draws.
    chartGlobal->setBackImage(path.isEmpty() ? QImage() : QImage(path));
    return true;
}

QString TfrmMain::chartGlobalGetAxisLabel(const QString& text) const {
    const int row = lbMessurement->currentRow();
    if (row < 0 || row >= Logs.size()) return text;
    const TMeas& log = Logs[row];
    if (cbShowAutoStops->isChecked()) {
        // The auto-stop labels stand along the time axis; its own labels would cover them.
        for (const TLogSample& s : log.Samples) {
            if (s.AutoStop) return QStringLiteral(" ");
        }
    }
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    return TimeText(ParseIntLenient(compact), SamplesPerSecond(log.SamplePeriod));
}
