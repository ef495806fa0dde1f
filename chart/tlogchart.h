#pragma once

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "chart/tchartaxis.h"
#include "chart/tchartseries.h"

class QPainter;

/// The log chart: left, right and bottom axes (the top axis stays hidden), ten series in a
/// fixed order, rubber-band zoom with the left button (dragging toward the upper left undoes
/// it), panning with the right button, a background picture, and painting into any paint
/// device. Dense line series are drawn as one vertical min..max span per pixel column, so a
/// repaint costs about the same for a log of a thousand or of a hundred thousand samples.
class TLogChart : public QWidget {
    Q_OBJECT
public:
    /// The series in their fixed drawing order; the program addresses them by these indices.
    enum SeriesIndex : int {
        Series1 = 0,  // fast line, left axis: altitude as a line
        Series4,      // points, left axis: altitude as points
        Series3,      // fast line, right axis: climb/dive rate
        Series2,      // points with labels: auto-stop markers
        Series10,     // points: the two anchor points
        Series5,      // segments: cross-hair
        Series6,      // segments: split lines
        Series8,      // segments: sides of the measurement triangle
        Series7,      // points (crosses): the two measurement points
        Series9,      // points with labels, marker hidden: measurement labels
        SeriesCount
    };
    enum class PanMode { None, Horizontal, Both };

    /// A drag shorter than this in both directions is a click, not a zoom.
    static constexpr int kMinZoomDragPixels = 4;
    /// Space the chart keeps beside the plot for each shown vertical axis' labels.
    static constexpr int kVerticalAxisSpace = 28;

    explicit TLogChart(QWidget* parent = nullptr);
    ~TLogChart() override;

    TChartAxis& leftAxis() { return *m_axes[0]; }
    TChartAxis& rightAxis() { return *m_axes[1]; }
    TChartAxis& bottomAxis() { return *m_axes[2]; }
    TChartAxis& topAxis() { return *m_axes[3]; }
    const TChartAxis& leftAxis() const { return *m_axes[0]; }
    const TChartAxis& rightAxis() const { return *m_axes[1]; }
    const TChartAxis& bottomAxis() const { return *m_axes[2]; }
    TChartAxis& verticalAxis(VerticalAxis axis) {
        return axis == VerticalAxis::Left ? leftAxis() : rightAxis();
    }
    const TChartAxis& verticalAxis(VerticalAxis axis) const {
        return axis == VerticalAxis::Left ? leftAxis() : rightAxis();
    }

    /// Series by their fixed index (SeriesIndex); an index out of range gives Series1.
    TChartSeries& series(int index);
    const TChartSeries& series(int index) const;

    QColor chartColor() const { return m_chartColor; }
    void setChartColor(const QColor& color);
    QString title() const { return m_title; }
    void setTitle(const QString& text);
    QColor titleColor() const { return m_titleColor; }
    void setTitleColor(const QColor& color);
    /// An invalid colour leaves the title's background transparent.
    QColor titleBackColor() const { return m_titleBackColor; }
    void setTitleBackColor(const QColor& color);
    /// A picture stretched over the whole chart, behind everything; a null image removes it.
    void setBackImage(const QImage& image);
    const QImage& backImage() const { return m_backImage; }

    bool zoomEnabled() const { return m_zoomEnabled; }
    /// Switching zoom off also cancels a rubber band being dragged.
    void setZoomEnabled(bool enabled);
    PanMode panMode() const { return m_panMode; }
    void setPanMode(PanMode mode) { m_panMode = mode; }
    /// Zooms all shown axes to a rectangle in widget pixels and emits zoomed().
    void zoomToRect(const QRect& pixels);
    /// Puts the axes back to the ranges they had before the first zoom (if any) and emits
    /// undoZoomed(), also when the program calls it.
    void undoZoom();
    bool isZoomed() const { return m_zoomSaved; }

    /// The plotting area for a chart of the given size, in its pixels.
    QRect plotRectFor(const QSize& size) const;
    QRect plotRect() const { return plotRectFor(size()); }
    /// Bottom-axis value at a widget pixel column, and back.
    double xValueAt(double pixelX) const;
    double xPixelOf(double value) const;
    /// Value of a vertical axis at a widget pixel row, and back.
    double yValueAt(VerticalAxis axis, double pixelY) const;
    double yPixelOf(VerticalAxis axis, double value) const;
    /// Value of a series' own vertical axis at a widget pixel row.
    double yValueAtForSeries(int seriesIndex, double pixelY) const;

    /// Paints the whole chart as it would look at `size` (widget, image or any other paint device).
    void render(QPainter& painter, const QSize& size) const;
    /// The chart at its on-screen size as an image.
    QImage toImage() const;
    /// Lays out and paints the axis labels again; call when a label callback would now answer
    /// differently for the same values (the chart notices every other change by itself).
    void refreshLabels();

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    /// A press and release without dragging.
    void clicked(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    /// Delta in eighths of a degree (120 per notch, positive away from the user), position on the
    /// screen. A receiver sets *handled to keep the event from going to the parent.
    void mouseWheel(int delta, QPoint globalPos, bool* handled);
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);
    void mouseEnter();
    void mouseLeave();
    /// After a rubber-band zoom; the axes already show the rectangle.
    void zoomed();
    /// After an undo-zoom, by the user or by the program.
    void undoZoomed();
    /// After each step of a right-button pan; the axes have already moved.
    void scrolled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Layout;
    struct TextCache;
    Layout layoutFor(const QSize& size) const;
    void renderBackground(QPainter& p, const QSize& size, const Layout& layout) const;
    void renderSeries(QPainter& p, const QRect& plot) const;
    void scheduleRepaint();
    /// Something that moves the plot edges changed: forget the cached plot rectangle and repaint.
    void layoutChanged();

    std::array<std::unique_ptr<TChartAxis>, 4> m_axes;
    std::array<std::unique_ptr<TChartSeries>, SeriesCount> m_series;

    /// The traced lines (or marker places) of a series with what they were traced from.
    struct LineCache {
        struct Key {
            quint64 version = 0;
            double x0 = 0, xScale = 0, y0 = 0, yScale = 0;
            QRect plot;
            bool operator==(const Key& o) const {
                return version == o.version && x0 == o.x0 && xScale == o.xScale && y0 == o.y0 &&
                       yScale == o.yScale && plot == o.plot;
            }
        };
        Key key;
        bool valid = false;
        std::vector<QLine> lines;
        std::vector<QPoint> centers;  // markers of a point series
    };
    mutable std::array<LineCache, SeriesCount> m_lineCache;
    mutable QImage m_background;  // everything but the series, for raster devices
    mutable bool m_backgroundValid = false;
    // Laid-out label texts: shaping text is the dearest part of painting the axes.
    std::unique_ptr<TextCache> m_texts;
    QColor m_chartColor = Qt::black;
    QString m_title;
    QColor m_titleColor = QColor(0xC0, 0xC0, 0xC0);
    QColor m_titleBackColor;
    QImage m_backImage;

    bool m_zoomEnabled = true;
    PanMode m_panMode = PanMode::Horizontal;
    bool m_zoomSaved = false;
    std::array<std::pair<double, double>, 4> m_savedRanges{};

    enum class Drag { None, Band, Pan };
    Drag m_drag = Drag::None;
    QPoint m_pressPos;
    QPoint m_lastPos;
    bool m_moved = false;
    bool m_repaintPending = false;
    // Pixel conversions run on every mouse move; laying out the labels each time would be slow.
    mutable bool m_plotCacheValid = false;
    mutable QSize m_plotCacheSize;
    mutable QRect m_plotCache;
};
