#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <vector>

enum class SeriesKind { FastLine, Points, LabelPoints, Segments };
enum class MarkerStyle { Square, Cross };
enum class VerticalAxis { Left, Right };

/// One data series of the log chart. Points are kept in plain arrays so a series can hold a
/// whole log (about 131,000 samples) and still be drawn quickly. Index arguments out of range
/// are ignored (writers) or give 0 / an empty text (readers).
///
/// A segment series holds pairs of points: point i is the start of segment i (x, y) and
/// (x1, y1) its end.
class TChartSeries {
public:
    TChartSeries(SeriesKind kind, VerticalAxis axis);

    SeriesKind kind() const { return m_kind; }
    VerticalAxis verticalAxis() const { return m_axis; }
    void setVerticalAxis(VerticalAxis axis);
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    void clear();
    /// Makes room for n points without reallocating.
    void reserve(int n);
    /// Appends y at x = the current point count.
    void addY(double y);
    /// Appends a point with an optional label and colour (an invalid colour uses the series').
    void add(double x, double y, const QString& label = QString(), const QColor& color = QColor());
    void addSegment(double x0, double y0, double x1, double y1);
    void deletePoint(int index);
    int count() const { return int(m_x.size()); }

    double x(int index) const;
    double y(int index) const;
    void setX(int index, double value);
    void setY(int index, double value);
    double x1(int index) const;
    double y1(int index) const;
    void setSegment(int index, double x0, double y0, double x1, double y1);
    QString label(int index) const;
    void setLabel(int index, const QString& text);
    /// The colour point i is drawn in.
    QColor pointColor(int index) const;
    /// Whether any point carries its own colour.
    bool hasPointColors() const { return !m_colors.empty(); }

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    /// Line colour of lines and segments, fill colour of markers.
    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int pixels);

    MarkerStyle markerStyle() const { return m_markerStyle; }
    void setMarkerStyle(MarkerStyle style);
    int markerWidth() const { return m_markerWidth; }
    int markerHeight() const { return m_markerHeight; }
    void setMarkerSize(int width, int height);
    bool markerVisible() const { return m_markerVisible; }
    void setMarkerVisible(bool visible);
    bool outlineVisible() const { return m_outlineVisible; }
    void setOutlineVisible(bool visible);
    QColor outlineColor() const { return m_outlineColor; }
    void setOutlineColor(const QColor& color);

    QColor labelColor() const { return m_labelColor; }
    void setLabelColor(const QColor& color);
    QColor labelBackColor() const { return m_labelBackColor; }
    void setLabelBackColor(const QColor& color);
    bool labelTransparent() const { return m_labelTransparent; }
    void setLabelTransparent(bool transparent);
    QColor labelFrameColor() const { return m_labelFrameColor; }
    void setLabelFrameColor(const QColor& color);
    int connectorLength() const { return m_connectorLength; }
    void setConnectorLength(int pixels);
    QColor connectorColor() const { return m_connectorColor; }
    void setConnectorColor(const QColor& color);

    /// Asks the chart for a repaint.
    void repaint();
    /// Whether the x values never decrease; the chart then finds the visible points by binary search.
    bool isXAscending() const;

    const std::vector<double>& xValues() const { return m_x; }
    const std::vector<double>& yValues() const { return m_y; }

    /// Grows with every change, so drawings made from the series can tell when they are stale.
    quint64 version() const { return m_version; }

    /// Called on every change; the chart coalesces these into one repaint.
    void setChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    bool valid(int index) const { return index >= 0 && index < count(); }
    void changed();

    SeriesKind m_kind;
    VerticalAxis m_axis;
    QString m_title;
    std::vector<double> m_x;
    std::vector<double> m_y;
    std::vector<double> m_x1;  // segment ends
    std::vector<double> m_y1;
    std::vector<QString> m_labels;  // empty until a point gets a label
    std::vector<QColor> m_colors;   // empty until a point gets its own colour
    mutable bool m_ascending = true;
    mutable bool m_orderKnown = true;

    bool m_visible = true;
    QColor m_color = Qt::red;
    int m_lineWidth = 1;
    MarkerStyle m_markerStyle = MarkerStyle::Square;
    int m_markerWidth = 2;
    int m_markerHeight = 2;
    bool m_markerVisible = true;
    bool m_outlineVisible = false;
    QColor m_outlineColor = Qt::black;
    QColor m_labelColor = Qt::black;
    QColor m_labelBackColor = QColor(0xFF, 0xFF, 0xE1);
    bool m_labelTransparent = false;
    QColor m_labelFrameColor = Qt::black;
    int m_connectorLength = 6;
    QColor m_connectorColor = Qt::white;
    std::function<void()> m_changed;
    quint64 m_version = 0;
};
