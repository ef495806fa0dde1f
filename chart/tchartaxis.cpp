#include "chart/tchartaxis.h"

#include <algorithm>
#include <cmath>

TChartAxis::TChartAxis(AxisPosition position) : m_position(position) {
    if (position == AxisPosition::Right) m_titleAngle = 270;
}

void TChartAxis::setMinMax(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return;
    if (a > b) std::swap(a, b);
    if (b - a < kMinRange) b = a + kMinRange;
    // Near the limits of double the widened end may round back onto the other.
    if (!(b > a)) a = b - std::max(kMinRange, std::abs(b) * 1e-15);
    m_min = a;
    m_max = b;
    changed();
}

void TChartAxis::scroll(double delta) {
    if (!std::isfinite(delta)) return;
    setMinMax(m_min + delta, m_max + delta);
}

void TChartAxis::setVisible(bool visible) {
    m_visible = visible;
    changed();
}

void TChartAxis::setTitle(const QString& title) {
    m_title = title;
    changed();
}

void TChartAxis::setTitleAngle(int degrees) {
    m_titleAngle = degrees;
    changed();
}

void TChartAxis::setTitleColor(const QColor& color) {
    m_titleColor = color;
    changed();
}

void TChartAxis::setLabelColor(const QColor& color) {
    m_labelColor = color;
    changed();
}

void TChartAxis::setLabelSize(int points) {
    m_labelSize = std::clamp(points, 1, 72);
    changed();
}

void TChartAxis::setLabelBold(bool bold) {
    m_labelBold = bold;
    changed();
}

void TChartAxis::setLabelsVisible(bool visible) {
    m_labelsVisible = visible;
    changed();
}

void TChartAxis::setAxisColor(const QColor& color) {
    m_axisColor = color;
    changed();
}

void TChartAxis::setGridColor(const QColor& color) {
    m_gridColor = color;
    changed();
}

void TChartAxis::setGridVisible(bool visible) {
    m_gridVisible = visible;
    changed();
}

void TChartAxis::setGridStyle(Qt::PenStyle style) {
    m_gridStyle = style;
    changed();
}

void TChartAxis::setTickColor(const QColor& color) {
    m_tickColor = color;
    changed();
}

void TChartAxis::setInnerTickColor(const QColor& color) {
    m_innerTickColor = color;
    changed();
}

void TChartAxis::setMinorTickColor(const QColor& color) {
    m_minorTickColor = color;
    changed();
}

void TChartAxis::setTickLength(int pixels) {
    m_tickLength = std::clamp(pixels, 0, 100);
    changed();
}

void TChartAxis::setInnerTickLength(int pixels) {
    m_innerTickLength = std::clamp(pixels, 0, 100);
    changed();
}

void TChartAxis::setMinorTickCount(int count) {
    m_minorTickCount = std::clamp(count, 0, 20);
    changed();
}

void TChartAxis::setIncrement(double step) {
    m_increment = std::isfinite(step) && step > 0 ? step : 0;
    changed();
}

void TChartAxis::setLabelCallback(LabelCallback callback) {
    m_labelCallback = std::move(callback);
    changed();
}

QString TChartAxis::labelText(double value) const {
    const QString text = formatValue(value);
    return m_labelCallback ? m_labelCallback(value, text) : text;
}

QString TChartAxis::formatValue(double value) {
    if (!std::isfinite(value)) return QString();
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    return text;
}

void TChartAxis::changed() {
    if (m_changed) m_changed();
}
