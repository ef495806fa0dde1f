#pragma once

#include <QColor>
#include <QString>
#include <Qt>
#include <functional>

enum class AxisPosition { Left, Right, Bottom, Top };

/// One axis of the log chart. Its range is always fixed by the program (no automatic
/// scaling); the chart asks it for label texts and where to put its labels.
class TChartAxis {
public:
    /// Replaces the text of the label at `value`; `text` is the default text.
    using LabelCallback = std::function<QString(double value, const QString& text)>;

    /// Ranges narrower than this are widened so the axis can always map values to pixels.
    static constexpr double kMinRange = 1e-10;

    explicit TChartAxis(AxisPosition position);

    AxisPosition position() const { return m_position; }
    bool isVertical() const { return m_position == AxisPosition::Left || m_position == AxisPosition::Right; }

    /// Sets the range; the smaller value becomes the minimum. Non-finite values are ignored.
    void setMinMax(double a, double b);
    double minimum() const { return m_min; }
    double maximum() const { return m_max; }
    /// Shifts both ends by the same amount.
    void scroll(double delta);

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    /// Rotation of a vertical axis' title in degrees: 90 reads bottom-up, 270 top-down.
    int titleAngle() const { return m_titleAngle; }
    void setTitleAngle(int degrees);
    QColor titleColor() const { return m_titleColor; }
    void setTitleColor(const QColor& color);

    QColor labelColor() const { return m_labelColor; }
    void setLabelColor(const QColor& color);
    int labelSize() const { return m_labelSize; }  // points
    void setLabelSize(int points);
    bool labelBold() const { return m_labelBold; }
    void setLabelBold(bool bold);
    bool labelsVisible() const { return m_labelsVisible; }
    void setLabelsVisible(bool visible);

    QColor axisColor() const { return m_axisColor; }
    void setAxisColor(const QColor& color);
    QColor gridColor() const { return m_gridColor; }
    void setGridColor(const QColor& color);
    bool gridVisible() const { return m_gridVisible; }
    void setGridVisible(bool visible);
    Qt::PenStyle gridStyle() const { return m_gridStyle; }
    void setGridStyle(Qt::PenStyle style);

    QColor tickColor() const { return m_tickColor; }  // outer ticks
    void setTickColor(const QColor& color);
    QColor innerTickColor() const { return m_innerTickColor; }
    void setInnerTickColor(const QColor& color);
    QColor minorTickColor() const { return m_minorTickColor; }
    void setMinorTickColor(const QColor& color);
    int tickLength() const { return m_tickLength; }
    void setTickLength(int pixels);
    int innerTickLength() const { return m_innerTickLength; }
    void setInnerTickLength(int pixels);
    int minorTickCount() const { return m_minorTickCount; }
    void setMinorTickCount(int count);

    /// Desired distance between labels in axis units; 0 picks a round step by itself. The
    /// chart widens the step when labels would overlap.
    double increment() const { return m_increment; }
    void setIncrement(double step);

    void setLabelCallback(LabelCallback callback);
    /// The text shown at `value`: the value as "###0.###", then the callback's replacement.
    QString labelText(double value) const;
    /// `value` with up to three decimals, trailing zeros dropped, no digit grouping.
    static QString formatValue(double value);

    /// Called on every change, so the chart can lay itself out again and repaint.
    void setChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    void changed();

    AxisPosition m_position;
    double m_min = 0;
    double m_max = 1;
    bool m_visible = true;
    QString m_title;
    int m_titleAngle = 90;
    QColor m_titleColor = Qt::white;
    QColor m_labelColor = Qt::white;
    int m_labelSize = 8;
    bool m_labelBold = false;
    bool m_labelsVisible = true;
    QColor m_axisColor = Qt::gray;
    QColor m_gridColor = Qt::darkGray;
    bool m_gridVisible = true;
    Qt::PenStyle m_gridStyle = Qt::DotLine;
    QColor m_tickColor = Qt::gray;
    QColor m_innerTickColor = Qt::gray;
    QColor m_minorTickColor = Qt::gray;
    int m_tickLength = 4;
    int m_innerTickLength = 0;
    int m_minorTickCount = 0;
    double m_increment = 0;
    LabelCallback m_labelCallback;
    std::function<void()> m_changed;
};
