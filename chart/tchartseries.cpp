#include "chart/tchartseries.h"

#include <algorithm>

TChartSeries::TChartSeries(SeriesKind kind, VerticalAxis axis) : m_kind(kind), m_axis(axis) {}

void TChartSeries::setVerticalAxis(VerticalAxis axis) {
    m_axis = axis;
    changed();
}

void TChartSeries::clear() {
    m_x.clear();
    m_y.clear();
    m_x1.clear();
    m_y1.clear();
    m_labels.clear();
    m_colors.clear();
    m_ascending = true;
    m_orderKnown = true;
    changed();
}

void TChartSeries::reserve(int n) {
    if (n <= 0) return;
    m_x.reserve(size_t(n));
    m_y.reserve(size_t(n));
}

void TChartSeries::addY(double y) { add(double(count()), y); }

void TChartSeries::add(double x, double y, const QString& label, const QColor& color) {
    if (m_orderKnown && m_ascending && !m_x.empty() && !(x >= m_x.back())) m_ascending = false;
    m_x.push_back(x);
    m_y.push_back(y);
    if (m_kind == SeriesKind::Segments) {
        m_x1.push_back(x);
        m_y1.push_back(y);
    }
    if (!label.isEmpty() || !m_labels.empty()) {
        m_labels.resize(m_x.size());
        m_labels.back() = label;
    }
    if (color.isValid() || !m_colors.empty()) {
        m_colors.resize(m_x.size());
        m_colors.back() = color;
    }
    changed();
}

void TChartSeries::addSegment(double x0, double y0, double x1, double y1) {
    add(x0, y0);
    if (m_kind == SeriesKind::Segments) {
        m_x1.back() = x1;
        m_y1.back() = y1;
    }
}

void TChartSeries::deletePoint(int index) {
    if (!valid(index)) return;
    m_x.erase(m_x.begin() + index);
    m_y.erase(m_y.begin() + index);
    if (m_kind == SeriesKind::Segments) {
        m_x1.erase(m_x1.begin() + index);
        m_y1.erase(m_y1.begin() + index);
    }
    if (size_t(index) < m_labels.size()) m_labels.erase(m_labels.begin() + index);
    if (size_t(index) < m_colors.size()) m_colors.erase(m_colors.begin() + index);
    changed();
}

double TChartSeries::x(int index) const { return valid(index) ? m_x[size_t(index)] : 0.0; }
double TChartSeries::y(int index) const { return valid(index) ? m_y[size_t(index)] : 0.0; }

void TChartSeries::setX(int index, double value) {
    if (!valid(index)) return;
    m_x[size_t(index)] = value;
    m_orderKnown = false;
    changed();
}

void TChartSeries::setY(int index, double value) {
    if (!valid(index)) return;
    m_y[size_t(index)] = value;
    changed();
}

double TChartSeries::x1(int index) const {
    if (!valid(index)) return 0.0;
    return m_kind == SeriesKind::Segments ? m_x1[size_t(index)] : m_x[size_t(index)];
}

double TChartSeries::y1(int index) const {
    if (!valid(index)) return 0.0;
    return m_kind == SeriesKind::Segments ? m_y1[size_t(index)] : m_y[size_t(index)];
}

void TChartSeries::setSegment(int index, double x0, double y0, double x1, double y1) {
    if (!valid(index)) return;
    m_x[size_t(index)] = x0;
    m_y[size_t(index)] = y0;
    if (m_kind == SeriesKind::Segments) {
        m_x1[size_t(index)] = x1;
        m_y1[size_t(index)] = y1;
    }
    m_orderKnown = false;
    changed();
}

QString TChartSeries::label(int index) const {
    return valid(index) && size_t(index) < m_labels.size() ? m_labels[size_t(index)] : QString();
}

void TChartSeries::setLabel(int index, const QString& text) {
    if (!valid(index)) return;
    if (m_labels.size() < m_x.size()) m_labels.resize(m_x.size());
    m_labels[size_t(index)] = text;
    changed();
}

QColor TChartSeries::pointColor(int index) const {
    if (valid(index) && size_t(index) < m_colors.size() && m_colors[size_t(index)].isValid())
        return m_colors[size_t(index)];
    return m_color;
}

void TChartSeries::setVisible(bool visible) {
    m_visible = visible;
    changed();
}

void TChartSeries::setColor(const QColor& color) {
    m_color = color;
    changed();
}

void TChartSeries::setLineWidth(int pixels) {
    m_lineWidth = std::clamp(pixels, 1, 20);
    changed();
}

void TChartSeries::setMarkerStyle(MarkerStyle style) {
    m_markerStyle = style;
    changed();
}

void TChartSeries::setMarkerSize(int width, int height) {
    m_markerWidth = std::clamp(width, 1, 100);
    m_markerHeight = std::clamp(height, 1, 100);
    changed();
}

void TChartSeries::setMarkerVisible(bool visible) {
    m_markerVisible = visible;
    changed();
}

void TChartSeries::setOutlineVisible(bool visible) {
    m_outlineVisible = visible;
    changed();
}

void TChartSeries::setOutlineColor(const QColor& color) {
    m_outlineColor = color;
    changed();
}

void TChartSeries::setLabelColor(const QColor& color) {
    m_labelColor = color;
    changed();
}

void TChartSeries::setLabelBackColor(const QColor& color) {
    m_labelBackColor = color;
    changed();
}

void TChartSeries::setLabelTransparent(bool transparent) {
    m_labelTransparent = transparent;
    changed();
}

void TChartSeries::setLabelFrameColor(const QColor& color) {
    m_labelFrameColor = color;
    changed();
}

void TChartSeries::setConnectorLength(int pixels) {
    m_connectorLength = std::clamp(pixels, 0, 100);
    changed();
}

void TChartSeries::setConnectorColor(const QColor& color) {
    m_connectorColor = color;
    changed();
}

void TChartSeries::repaint() { changed(); }

bool TChartSeries::isXAscending() const {
    if (!m_orderKnown) {
        m_ascending = std::is_sorted(m_x.begin(), m_x.end());
        m_orderKnown = true;
    }
    return m_ascending;
}

void TChartSeries::changed() {
    ++m_version;
    if (m_changed) m_changed();
}
