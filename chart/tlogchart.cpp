#include "chart/tlogchart.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStaticText>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

QColor bgr(quint32 c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// Lines are clipped to the plot widened by this margin before they are rounded to pixels, so
// points far outside the view (deep zoom) neither overflow nor bend the visible part of a line.
constexpr int kClipMargin = 64;
// Upper bound on the labels of one axis, whatever step the program asks for.
constexpr int kMaxLabels = 500;

/// Linear value <-> pixel mapping of one axis over the plot rectangle.
struct AxisMap {
    double v0 = 0;
    double p0 = 0;
    double scale = 1;  // pixels per unit; negative for vertical axes (values grow upward)
    double toPixel(double v) const { return p0 + (v - v0) * scale; }
    double toValue(double p) const { return v0 + (p - p0) / scale; }
};

AxisMap horizontalMap(const TChartAxis& axis, const QRect& plot) {
    return {axis.minimum(), double(plot.left()),
            double(plot.width() - 1) / (axis.maximum() - axis.minimum())};
}

AxisMap verticalMap(const TChartAxis& axis, const QRect& plot) {
    return {axis.minimum(), double(plot.bottom()),
            -double(plot.height() - 1) / (axis.maximum() - axis.minimum())};
}

QFont labelFont(const QFont& base, const TChartAxis& axis) {
    QFont f(base);
    f.setPointSize(axis.labelSize());
    f.setBold(axis.labelBold());
    return f;
}

QFont titleFont(const QFont& base) {
    QFont f(base);
    f.setPointSize(8);
    return f;
}

/// The smallest step of 1, 2 or 5 times a power of ten not below `raw`.
double niceStep(double raw) {
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * p >= raw * (1 - 1e-12)) return m * p;
    }
    return 10 * p;
}

/// Rounds a pixel coordinate half away from zero, like std::lround, without a library call.
/// Callers pass coordinates already limited to the clip box, far inside the int range.
inline int roundPx(double v) { return v >= 0 ? int(v + 0.5) : -int(0.5 - v); }

bool inside(const QRectF& r, const QPointF& p) {
    return p.x() >= r.left() && p.x() <= r.right() && p.y() >= r.top() && p.y() <= r.bottom();
}

/// Liang-Barsky: clips the segment a-b to r; false when nothing of it lies inside.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

/// Draws a stream of pixel points as a line with one vertical span per pixel column (the
/// column's lowest to highest point) and a connector from the last point of each column to
/// the first point of the next. Every pixel of a polyline through all the points lies on these
/// lines, so the picture is the same while the work is bounded by the plot width. The lines
/// are drawn with a flat-capped pen, so connectors are not stretched and each span covers
/// exactly its rows.
class ColumnEnvelope {
public:
    explicit ColumnEnvelope(std::vector<QLine>& lines) : m_lines(lines) { m_lines.reserve(4096); }
    ~ColumnEnvelope() { penUp(); }

    void moveTo(const QPointF& p) {
        penUp();
        lineTo(p);
    }

    void lineTo(const QPointF& p) {
        const int c = roundPx(p.x());
        const int r = roundPx(p.y());
        if (m_open && c == m_col) {
            m_min = std::min(m_min, r);
            m_max = std::max(m_max, r);
            m_last = r;
            return;
        }
        const bool connected = m_open;
        flushColumn();
        // A flat-capped line leaves out its end pixel; the next column's span draws it.
        if (connected) m_lines.emplace_back(m_col, m_last, c, r);
        m_open = true;
        m_col = c;
        m_min = m_max = m_last = r;
    }

    void penUp() { flushColumn(); }

private:
    void flushColumn() {
        if (!m_open) return;
        m_lines.emplace_back(m_col, m_min, m_col, m_max + 1);  // rows m_min..m_max
        m_open = false;
    }

    std::vector<QLine>& m_lines;
    bool m_open = false;
    int m_col = 0;
    int m_min = 0, m_max = 0, m_last = 0;
};

/// Lowest and highest value of [begin, end) (not empty), and whether any value is NaN. Four
/// independent runs keep the processor busy instead of waiting on one chain of comparisons.
std::pair<double, double> minMax(const double* begin, const double* end, bool& nan) {
    double lo[4] = {*begin, *begin, *begin, *begin};
    double hi[4] = {*begin, *begin, *begin, *begin};
    bool bad = *begin != *begin;
    const double* p = begin + 1;
    for (; end - p >= 4; p += 4) {
        for (int j = 0; j < 4; ++j) {
            const double y = p[j];
            lo[j] = y < lo[j] ? y : lo[j];
            hi[j] = y > hi[j] ? y : hi[j];
            bad |= y != y;
        }
    }
    for (; p < end; ++p) {
        lo[0] = *p < lo[0] ? *p : lo[0];
        hi[0] = *p > hi[0] ? *p : hi[0];
        bad |= *p != *p;
    }
    nan = bad;
    return {std::min(std::min(lo[0], lo[1]), std::min(lo[2], lo[3])),
            std::max(std::max(hi[0], hi[1]), std::max(hi[2], hi[3]))};
}

/// Index range [first, last] of the points that can show between the values lo and hi, with
/// one point beyond each end so lines leaving the view are drawn.
std::pair<int, int> visibleRange(const TChartSeries& s, double lo, double hi, bool withNeighbours) {
    const int n = s.count();
    if (n == 0) return {0, -1};
    if (!s.isXAscending()) return {0, n - 1};
    const auto& xs = s.xValues();
    int first = int(std::lower_bound(xs.begin(), xs.end(), lo) - xs.begin());
    int last = int(std::upper_bound(xs.begin(), xs.end(), hi) - xs.begin()) - 1;
    if (withNeighbours) {
        first = std::max(0, first - 1);
        last = std::min(n - 1, last + 1);
    }
    return {first, last};
}

struct AxisLabel {
    double value;
    QString text;
};

}  // namespace

struct TLogChart::TextCache {
    QHash<QString, QStaticText> entries;

    // A paint uses two or three fonts; remember their keys instead of building one per text.
    QFont fonts[3];
    QString fontKeys[3];
    int nextSlot = 0;

    const QString& fontKey(const QFont& font) {
        for (int i = 0; i < 3; ++i) {
            if (!fontKeys[i].isEmpty() && fonts[i] == font) return fontKeys[i];
        }
        const int slot = nextSlot;
        nextSlot = (nextSlot + 1) % 3;
        fonts[slot] = font;
        fontKeys[slot] = font.key();
        return fontKeys[slot];
    }

    const QStaticText& get(const QString& text, const QFont& font) {
        const QString key = fontKey(font) + QChar(0x1F) + text;
        auto it = entries.find(key);
        if (it != entries.end()) return *it;
        if (entries.size() > 2000) entries.clear();  // labels of many views: start afresh
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.prepare(QTransform(), font);
        return *entries.insert(key, st);
    }
    int width(const QString& text, const QFont& font) {
        return int(std::ceil(get(text, font).size().width()));
    }
};

struct TLogChart::Layout {
    QRect plot;
    QRect titleRect;
    std::vector<AxisLabel> labels[3];  // left, right, bottom
    int leftBand = 0;                  // label space of the vertical axes
    int rightBand = 0;
};

namespace {

/// Labels at multiples of the axis' step, widening the step until the labels do not overlap.
std::vector<AxisLabel> axisLabels(const TChartAxis& axis, int lengthPx, const QFontMetrics& fm,
                                  const std::function<int(const QString&)>& textWidth) {
    std::vector<AxisLabel> labels;
    const double range = axis.maximum() - axis.minimum();
    if (!(range > 0) || lengthPx < 2) return labels;
    const bool horizontal = !axis.isVertical();
    const bool fixedStep = axis.increment() > 0;
    double step =
        fixedStep ? axis.increment() : niceStep(range * (horizontal ? 60.0 : fm.height() * 2.0) / lengthPx);
    while (range / step > kMaxLabels) step = fixedStep ? step * 2 : niceStep(step * 2);
    for (int attempt = 0; attempt < 64; ++attempt) {
        labels.clear();
        const double k0 = std::ceil(axis.minimum() / step - 1e-9);
        const double k1 = std::floor(axis.maximum() / step + 1e-9);
        for (double k = k0; k <= k1 && labels.size() < size_t(kMaxLabels); k += 1) {
            double v = k * step;
            if (v == 0) v = 0;  // no "-0"
            labels.push_back({v, axis.labelText(v)});
        }
        int need = fm.height() + 2;
        if (horizontal) {
            int widest = 0;
            for (const auto& l : labels) widest = std::max(widest, textWidth(l.text));
            need = widest + 8;
        }
        if (labels.size() <= 1 || step / range * lengthPx >= need) break;
        step = fixedStep ? step * 2 : niceStep(step * 1.5);
    }
    return labels;
}

}  // namespace

TLogChart::TLogChart(QWidget* parent) : QWidget(parent) {
    m_axes[0] = std::make_unique<TChartAxis>(AxisPosition::Left);
    m_axes[1] = std::make_unique<TChartAxis>(AxisPosition::Right);
    m_axes[2] = std::make_unique<TChartAxis>(AxisPosition::Bottom);
    m_axes[3] = std::make_unique<TChartAxis>(AxisPosition::Top);
    for (auto& a : m_axes) a->setChangedHandler([this] { layoutChanged(); });
    topAxis().setVisible(false);
    leftAxis().setMinMax(0, 100);
    rightAxis().setMinMax(-1, 1);
    bottomAxis().setMinMax(0, 10);

    auto make = [this](int index, SeriesKind kind, const QColor& color) -> TChartSeries& {
        m_series[size_t(index)] = std::make_unique<TChartSeries>(kind, VerticalAxis::Left);
        TChartSeries& s = *m_series[size_t(index)];
        s.setColor(color);
        s.setChangedHandler([this] { scheduleRepaint(); });
        return s;
    };
    make(Series1, SeriesKind::FastLine, Qt::red);
    make(Series4, SeriesKind::Points, Qt::yellow).setMarkerSize(2, 2);
    make(Series3, SeriesKind::FastLine, Qt::gray).setVerticalAxis(VerticalAxis::Right);
    TChartSeries& autoStops = make(Series2, SeriesKind::LabelPoints, Qt::green);
    autoStops.setMarkerSize(4, 4);
    autoStops.setConnectorLength(6);
    autoStops.setConnectorColor(bgr(0x80FFFF));
    make(Series10, SeriesKind::Points, Qt::red).setMarkerSize(1, 1);
    make(Series5, SeriesKind::Segments, bgr(0x80FFFF)).setVisible(false);
    make(Series6, SeriesKind::Segments, Qt::white).setTitle(QStringLiteral("Split"));
    make(Series8, SeriesKind::Segments, bgr(0x6AB5FF)).setVisible(false);
    TChartSeries& marks = make(Series7, SeriesKind::Points, bgr(0x80FFFF));
    marks.setMarkerStyle(MarkerStyle::Cross);
    marks.setMarkerSize(7, 7);
    marks.setOutlineVisible(true);
    marks.setOutlineColor(bgr(0x71B8FF));
    marks.setVisible(false);
    TChartSeries& measureLabels = make(Series9, SeriesKind::LabelPoints, Qt::yellow);
    measureLabels.setMarkerVisible(false);
    measureLabels.setConnectorLength(0);
    measureLabels.setLabelColor(Qt::yellow);

    m_texts = std::make_unique<TextCache>();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TLogChart::~TLogChart() = default;

TChartSeries& TLogChart::series(int index) {
    return *m_series[size_t(index >= 0 && index < SeriesCount ? index : 0)];
}

const TChartSeries& TLogChart::series(int index) const {
    return *m_series[size_t(index >= 0 && index < SeriesCount ? index : 0)];
}

void TLogChart::setChartColor(const QColor& color) {
    m_chartColor = color;
    layoutChanged();
}

void TLogChart::setTitle(const QString& text) {
    m_title = text;
    layoutChanged();
}

void TLogChart::setTitleColor(const QColor& color) {
    m_titleColor = color;
    layoutChanged();
}

void TLogChart::setTitleBackColor(const QColor& color) {
    m_titleBackColor = color;
    layoutChanged();
}

void TLogChart::setBackImage(const QImage& image) {
    m_backImage = image;
    layoutChanged();
}

void TLogChart::setZoomEnabled(bool enabled) {
    m_zoomEnabled = enabled;
    if (!enabled && m_drag == Drag::Band) {
        m_drag = Drag::None;
        update();
    }
}

void TLogChart::zoomToRect(const QRect& pixels) {
    const QRect r = pixels.normalized();
    // All values come from the layout before the change: new ranges can move the plot edges.
    const double x0 = xValueAt(r.left());
    const double x1 = xValueAt(r.right());
    const double l0 = yValueAt(VerticalAxis::Left, r.bottom());
    const double l1 = yValueAt(VerticalAxis::Left, r.top());
    const double r0 = yValueAt(VerticalAxis::Right, r.bottom());
    const double r1 = yValueAt(VerticalAxis::Right, r.top());
    if (!m_zoomSaved) {
        for (size_t i = 0; i < m_axes.size(); ++i)
            m_savedRanges[i] = {m_axes[i]->minimum(), m_axes[i]->maximum()};
        m_zoomSaved = true;
    }
    bottomAxis().setMinMax(x0, x1);
    leftAxis().setMinMax(l0, l1);
    rightAxis().setMinMax(r0, r1);
    Q_EMIT zoomed();
}

void TLogChart::undoZoom() {
    if (m_zoomSaved) {
        for (size_t i = 0; i < m_axes.size(); ++i)
            m_axes[i]->setMinMax(m_savedRanges[i].first, m_savedRanges[i].second);
        m_zoomSaved = false;
    }
    Q_EMIT undoZoomed();
}

TLogChart::Layout TLogChart::layoutFor(const QSize& size) const {
    Layout lay;
    const int w = std::max(size.width(), 8);
    const int h = std::max(size.height(), 8);
    const int margin = w * 3 / 100;
    const int vmargin = std::max(3, h * 3 / 100);
    const QFontMetrics titleFm(titleFont(font()));
    const int titleH = titleFm.height();

    int top = vmargin;
    if (!m_title.isEmpty()) {
        lay.titleRect = QRect(0, vmargin / 2, w, titleH + 4);
        top = lay.titleRect.bottom() + 1 + vmargin / 2;
    }
    const TChartAxis& bottom = bottomAxis();
    const QFontMetrics bottomFm(labelFont(font(), bottom));
    int bottomBand = 0;
    if (bottom.isVisible()) {
        bottomBand = bottom.tickLength() + 2;
        if (bottom.labelsVisible()) bottomBand += bottomFm.height();
        if (!bottom.title().isEmpty()) bottomBand += titleH + 2;
    }
    const int plotBottom = std::max(top + 2, h - vmargin - bottomBand);
    const int plotH = plotBottom - top;

    auto verticalBand = [&](const TChartAxis& a, std::vector<AxisLabel>& labels) {
        if (!a.isVisible()) return 0;
        const QFont lf = labelFont(font(), a);
        const QFontMetrics fm(lf);
        auto textWidth = [&](const QString& t) { return m_texts->width(t, lf); };
        int widest = 0;
        if (a.labelsVisible()) {
            labels = axisLabels(a, plotH, fm, textWidth);
            for (const auto& l : labels) widest = std::max(widest, textWidth(l.text));
        }
        return std::max(kVerticalAxisSpace, widest + a.tickLength() + 4);
    };
    lay.leftBand = verticalBand(leftAxis(), lay.labels[0]);
    lay.rightBand = verticalBand(rightAxis(), lay.labels[1]);
    auto sideMargin = [&](const TChartAxis& a) {
        return a.isVisible() && !a.title().isEmpty() ? std::max(margin, titleH + 4) : margin;
    };
    const int left = sideMargin(leftAxis()) + lay.leftBand;
    const int right = w - sideMargin(rightAxis()) - lay.rightBand;
    const int plotW = std::max(2, right - left);
    lay.plot = QRect(left, top, plotW, std::max(2, plotH));
    if (bottom.isVisible() && bottom.labelsVisible()) {
        const QFont lf = labelFont(font(), bottom);
        lay.labels[2] =
            axisLabels(bottom, plotW, bottomFm, [&](const QString& t) { return m_texts->width(t, lf); });
    }
    return lay;
}

QRect TLogChart::plotRectFor(const QSize& size) const {
    if (!m_plotCacheValid || size != m_plotCacheSize) {
        m_plotCache = layoutFor(size).plot;
        m_plotCacheSize = size;
        m_plotCacheValid = true;
    }
    return m_plotCache;
}

void TLogChart::layoutChanged() {
    m_plotCacheValid = false;
    m_backgroundValid = false;
    update();
}

void TLogChart::refreshLabels() { layoutChanged(); }

void TLogChart::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) layoutChanged();
    QWidget::changeEvent(event);
}

double TLogChart::xValueAt(double pixelX) const {
    return horizontalMap(bottomAxis(), plotRect()).toValue(pixelX);
}

double TLogChart::xPixelOf(double value) const {
    return horizontalMap(bottomAxis(), plotRect()).toPixel(value);
}

double TLogChart::yValueAt(VerticalAxis axis, double pixelY) const {
    return verticalMap(verticalAxis(axis), plotRect()).toValue(pixelY);
}

double TLogChart::yPixelOf(VerticalAxis axis, double value) const {
    return verticalMap(verticalAxis(axis), plotRect()).toPixel(value);
}

double TLogChart::yValueAtForSeries(int seriesIndex, double pixelY) const {
    return yValueAt(series(seriesIndex).verticalAxis(), pixelY);
}

namespace {

QPen cosmeticPen(const QColor& color, int width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(color, width, style);
    pen.setCosmetic(true);
    return pen;
}

/// Feeds the points of a line into the column envelope, clipping segments that leave the box.
class LineTracer {
public:
    LineTracer(ColumnEnvelope& env, const QRectF& box) : m_env(env), m_box(box) {}

    /// The general path: any point, finite or not, inside the box or far outside it.
    void point(const QPointF& pt) {
        if (!std::isfinite(pt.x()) || !std::isfinite(pt.y())) {
            m_env.penUp();
            m_havePrev = false;
            return;
        }
        const bool in = inside(m_box, pt);
        if (!m_havePrev) {
            if (in) m_env.moveTo(pt);
        } else if (m_prevInside && in) {
            m_env.lineTo(pt);
        } else {
            QPointF a = m_prev;
            QPointF b = pt;
            if (clipSegment(a, b, m_box)) {
                if (!m_prevInside) m_env.moveTo(a);
                m_env.lineTo(b);
            }
            if (!in) m_env.penUp();
        }
        m_prev = pt;
        m_prevInside = in;
        m_havePrev = true;
    }

    /// Whether points known to lie inside the box can skip the clipping.
    bool canTakeInsidePoints() const { return !m_havePrev || m_prevInside; }

    /// A point known to be finite and inside the box.
    void insidePoint(const QPointF& pt) {
        if (m_havePrev) {
            m_env.lineTo(pt);
        } else {
            m_env.moveTo(pt);
        }
        m_prev = pt;
        m_prevInside = true;
        m_havePrev = true;
    }

private:
    ColumnEnvelope& m_env;
    QRectF m_box;
    QPointF m_prev;
    bool m_havePrev = false;
    bool m_prevInside = false;
};

/// The lines that draw a line series over the plot (see ColumnEnvelope).
void traceLineSeries(std::vector<QLine>& out, const TChartSeries& s, const AxisMap& mx, const AxisMap& my,
                     const QRect& plot) {
    const QRectF box = QRectF(plot).adjusted(-kClipMargin, -kClipMargin, kClipMargin, kClipMargin);
    const auto [first, last] = visibleRange(s, mx.toValue(box.left()), mx.toValue(box.right()), true);
    if (first > last) return;
    const double* xs = s.xValues().data();
    const double* ys = s.yValues().data();
    ColumnEnvelope env(out);
    LineTracer tracer(env, box);
    if (!s.isXAscending()) {
        for (int i = first; i <= last; ++i) tracer.point(QPointF(mx.toPixel(xs[i]), my.toPixel(ys[i])));
        return;
    }
    // With ascending x the points of one pixel column are a run of indices: find its end by
    // binary search and take the run's lowest and highest value in one tight loop. The envelope
    // needs no more than that, so the cost grows with the plot width, not with the log length.
    int i = first;
    while (i <= last) {
        const double px = mx.toPixel(xs[i]);
        if (!(px >= box.left() && px <= box.right())) {
            tracer.point(QPointF(px, my.toPixel(ys[i])));
            ++i;
            continue;
        }
        const int col = roundPx(px);
        // Points past the box (deep zoom) would not even fit an int; they end the column too.
        auto inColumn = [&](double x) {
            const double q = mx.toPixel(x);
            return q <= box.right() + 1 && roundPx(q) <= col;
        };
        const int end = int(std::partition_point(xs + i + 1, xs + last + 1, inColumn) - xs);
        bool nan = false;
        const auto [lo, hi] = minMax(ys + i, ys + end, nan);
        const double rowLo = my.toPixel(lo);
        const double rowHi = my.toPixel(hi);
        if (!nan && tracer.canTakeInsidePoints() && std::isfinite(rowLo) && std::isfinite(rowHi) &&
            rowLo >= box.top() && rowLo <= box.bottom() && rowHi >= box.top() && rowHi <= box.bottom()) {
            tracer.insidePoint(QPointF(px, my.toPixel(ys[i])));
            tracer.insidePoint(QPointF(px, rowLo));
            tracer.insidePoint(QPointF(px, rowHi));
            tracer.insidePoint(QPointF(mx.toPixel(xs[end - 1]), my.toPixel(ys[end - 1])));
        } else {
            for (int k = i; k < end; ++k) tracer.point(QPointF(mx.toPixel(xs[k]), my.toPixel(ys[k])));
        }
        i = end;
    }
}

void drawMarker(QPainter& p, const TChartSeries& s, const QPoint& c, const QColor& fill) {
    const int w = s.markerWidth();
    const int h = s.markerHeight();
    const QRect r(c.x() - w / 2, c.y() - h / 2, w, h);
    if (s.markerStyle() == MarkerStyle::Cross) {
        p.setPen(cosmeticPen(s.outlineVisible() ? s.outlineColor() : fill, 1));
        p.drawLine(r.left(), c.y(), r.right(), c.y());
        p.drawLine(c.x(), r.top(), c.x(), r.bottom());
        return;
    }
    p.fillRect(r, fill);
    if (s.outlineVisible()) {
        p.setPen(cosmeticPen(s.outlineColor(), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

/// Pixel centres of the markers of a plain point series (no labels, no colours of its own),
/// each pixel once: a marker drawn twice at the same place looks the same.
void traceMarkerCenters(std::vector<QPoint>& out, const TChartSeries& s, const AxisMap& mx, const AxisMap& my,
                        const QRect& plot) {
    const int reach = std::max(s.markerWidth(), s.markerHeight()) + 1;
    const QRect box = plot.adjusted(-reach, -reach, reach, reach);
    const auto [first, last] = visibleRange(s, mx.toValue(box.left()), mx.toValue(box.right()), false);
    if (first > last) return;
    const double* xs = s.xValues().data();
    const double* ys = s.yValues().data();
    std::vector<bool> seen(size_t(box.width()) * size_t(box.height()));
    for (int i = first; i <= last; ++i) {
        const double px = mx.toPixel(xs[i]);
        const double py = my.toPixel(ys[i]);
        if (!(px >= box.left() && px <= box.right() && py >= box.top() && py <= box.bottom())) continue;
        const QPoint c(roundPx(px), roundPx(py));
        const size_t key = size_t(c.y() - box.top()) * size_t(box.width()) + size_t(c.x() - box.left());
        if (key >= seen.size() || seen[key]) continue;
        seen[key] = true;
        out.push_back(c);
    }
}

void drawMarkers(QPainter& p, const TChartSeries& s, const std::vector<QPoint>& centers) {
    if (!s.markerVisible() || centers.empty()) return;
    if (s.markerStyle() == MarkerStyle::Square && !s.outlineVisible()) {
        // One call for all squares: a plain log shown as points has thousands of them.
        const int w = s.markerWidth();
        const int h = s.markerHeight();
        std::vector<QRect> rects;
        rects.reserve(centers.size());
        for (const QPoint& c : centers) rects.emplace_back(c.x() - w / 2, c.y() - h / 2, w, h);
        p.setPen(Qt::NoPen);
        p.setBrush(s.color());
        p.drawRects(rects.data(), int(rects.size()));
        p.setBrush(Qt::NoBrush);
        return;
    }
    for (const QPoint& c : centers) drawMarker(p, s, c, s.color());
}

/// Point series whose points carry labels or colours of their own; these hold a few points.
void drawPointSeries(QPainter& p, const TChartSeries& s, const AxisMap& mx, const AxisMap& my,
                     const QRect& plot, const QFont& font) {
    const int reach = std::max(s.markerWidth(), s.markerHeight()) + 1;
    const bool labelled = s.kind() == SeriesKind::LabelPoints;
    // Labels stick out far above their point; keep those points a little longer.
    const int extra = labelled ? 200 : 0;
    const QRect box = plot.adjusted(-reach - extra, -reach, reach + extra, reach + extra);
    const auto [first, last] = visibleRange(s, mx.toValue(box.left()), mx.toValue(box.right()), false);
    if (first > last) return;
    const auto& xs = s.xValues();
    const auto& ys = s.yValues();
    const QFontMetrics fm(font);
    p.setFont(font);
    for (int i = first; i <= last; ++i) {
        const double px = mx.toPixel(xs[size_t(i)]);
        const double py = my.toPixel(ys[size_t(i)]);
        if (!(px >= box.left() && px <= box.right() && py >= box.top() && py <= box.bottom())) continue;
        const QPoint c(roundPx(px), roundPx(py));
        if (s.markerVisible()) drawMarker(p, s, c, s.pointColor(i));
        if (!labelled) continue;
        const QString text = s.label(i);
        if (text.isEmpty()) continue;
        int tip = c.y();
        if (s.connectorLength() > 0) {
            tip = c.y() - s.markerHeight() / 2 - s.connectorLength();
            p.setPen(cosmeticPen(s.connectorColor(), 1));
            p.drawLine(c.x(), c.y() - s.markerHeight() / 2, c.x(), tip);
        }
        const int tw = fm.horizontalAdvance(text) + 6;
        const int th = fm.height() + 2;
        const QRect r(c.x() - tw / 2, tip - th, tw, th);
        if (!s.labelTransparent()) {
            p.fillRect(r, s.labelBackColor());
            p.setPen(cosmeticPen(s.labelFrameColor(), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        p.setPen(s.labelColor());
        p.drawText(r, Qt::AlignCenter, text);
    }
}

void drawSegmentSeries(QPainter& p, const TChartSeries& s, const AxisMap& mx, const AxisMap& my,
                       const QRect& plot) {
    const QRectF box = QRectF(plot).adjusted(-kClipMargin, -kClipMargin, kClipMargin, kClipMargin);
    p.setPen(cosmeticPen(s.color(), s.lineWidth()));
    for (int i = 0; i < s.count(); ++i) {
        QPointF a(mx.toPixel(s.x(i)), my.toPixel(s.y(i)));
        QPointF b(mx.toPixel(s.x1(i)), my.toPixel(s.y1(i)));
        if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
            continue;
        if (!clipSegment(a, b, box)) continue;
        p.drawLine(QPoint(int(std::lround(a.x())), int(std::lround(a.y()))),
                   QPoint(int(std::lround(b.x())), int(std::lround(b.y()))));
    }
}

}  // namespace

void TLogChart::renderBackground(QPainter& p, const QSize& size, const Layout& lay) const {
    const QRect& plot = lay.plot;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(QPoint(0, 0), size), m_chartColor);
    if (!m_backImage.isNull()) p.drawImage(QRect(QPoint(0, 0), size), m_backImage);

    const QFont tFont = titleFont(font());
    if (!m_title.isEmpty()) {
        p.setFont(tFont);
        const QStaticText& text = m_texts->get(m_title, tFont);
        const QSize ts = text.size().toSize();
        const int tw = ts.width() + 8;
        const QRect r(lay.titleRect.center().x() - tw / 2, lay.titleRect.top(), tw, lay.titleRect.height());
        if (m_titleBackColor.isValid()) p.fillRect(r, m_titleBackColor);
        p.setPen(m_titleColor);
        p.drawStaticText(QPoint(r.left() + 4, r.top() + (r.height() - ts.height()) / 2), text);
    }

    const AxisMap mx = horizontalMap(bottomAxis(), plot);
    const AxisMap ml = verticalMap(leftAxis(), plot);
    const AxisMap mr = verticalMap(rightAxis(), plot);

    // Grid behind the series.
    const TChartAxis* gridAxes[3] = {&leftAxis(), &rightAxis(), &bottomAxis()};
    for (int a = 0; a < 3; ++a) {
        const TChartAxis& axis = *gridAxes[a];
        if (!axis.isVisible() || !axis.gridVisible()) continue;
        p.setPen(cosmeticPen(axis.gridColor(), 1, axis.gridStyle()));
        for (const AxisLabel& l : lay.labels[a]) {
            if (a == 2) {
                const int x = int(std::lround(mx.toPixel(l.value)));
                p.drawLine(x, plot.top(), x, plot.bottom());
            } else {
                const int y = int(std::lround((a == 0 ? ml : mr).toPixel(l.value)));
                p.drawLine(plot.left(), y, plot.right(), y);
            }
        }
    }

    // Axes: line, ticks, labels and title.
    const QFontMetrics titleFm(tFont);
    for (int a = 0; a < 3; ++a) {
        const TChartAxis& axis = *gridAxes[a];
        if (!axis.isVisible()) continue;
        const QFont lf = labelFont(font(), axis);
        const QFontMetrics fm(lf);
        const int tick = axis.tickLength();
        const int inner = axis.innerTickLength();
        p.setPen(cosmeticPen(axis.axisColor(), 1));
        if (a == 2) {
            p.drawLine(plot.left(), plot.bottom() + 1, plot.right(), plot.bottom() + 1);
        } else {
            const int x = a == 0 ? plot.left() - 1 : plot.right() + 1;
            p.drawLine(x, plot.top(), x, plot.bottom());
        }
        const AxisMap& m = a == 2 ? mx : (a == 0 ? ml : mr);
        // Minor ticks between neighbouring labels.
        if (axis.minorTickCount() > 0 && lay.labels[a].size() >= 2) {
            p.setPen(cosmeticPen(axis.minorTickColor(), 1));
            const double step = lay.labels[a][1].value - lay.labels[a][0].value;
            const double start = lay.labels[a].front().value - step;
            for (size_t k = 0; k <= lay.labels[a].size(); ++k) {
                for (int j = 1; j <= axis.minorTickCount(); ++j) {
                    const double v = start + double(k) * step + step * j / (axis.minorTickCount() + 1);
                    if (v < axis.minimum() || v > axis.maximum()) continue;
                    const int pos = int(std::lround(m.toPixel(v)));
                    if (a == 2)
                        p.drawLine(pos, plot.bottom() + 2, pos, plot.bottom() + 1 + tick / 2);
                    else if (a == 0)
                        p.drawLine(plot.left() - 2, pos, plot.left() - 1 - tick / 2, pos);
                    else
                        p.drawLine(plot.right() + 2, pos, plot.right() + 1 + tick / 2, pos);
                }
            }
        }
        p.setFont(lf);
        for (const AxisLabel& l : lay.labels[a]) {
            const int pos = int(std::lround(m.toPixel(l.value)));
            const QStaticText& text = m_texts->get(l.text, lf);
            const int tw = int(std::ceil(text.size().width()));
            const int th = int(std::ceil(text.size().height()));
            if (a == 2) {
                p.setPen(cosmeticPen(axis.tickColor(), 1));
                if (tick > 0) p.drawLine(pos, plot.bottom() + 2, pos, plot.bottom() + 1 + tick);
                if (inner > 0) {
                    p.setPen(cosmeticPen(axis.innerTickColor(), 1));
                    p.drawLine(pos, plot.bottom(), pos, plot.bottom() - inner + 1);
                }
                p.setPen(axis.labelColor());
                p.drawStaticText(QPoint(pos - tw / 2, plot.bottom() + 2 + tick + (fm.height() - th) / 2),
                                 text);
            } else {
                const bool left = a == 0;
                const int edge = left ? plot.left() - 1 : plot.right() + 1;
                const int dir = left ? -1 : 1;
                p.setPen(cosmeticPen(axis.tickColor(), 1));
                if (tick > 0) p.drawLine(edge + dir, pos, edge + dir * tick, pos);
                if (inner > 0) {
                    p.setPen(cosmeticPen(axis.innerTickColor(), 1));
                    p.drawLine(edge - dir, pos, edge - dir * inner, pos);
                }
                p.setPen(axis.labelColor());
                const int gap = tick + 2;
                p.drawStaticText(QPoint(left ? edge - gap - tw : edge + gap, pos - th / 2), text);
            }
        }
        if (axis.title().isEmpty()) continue;
        p.setFont(tFont);
        p.setPen(axis.titleColor());
        const QStaticText& title = m_texts->get(axis.title(), tFont);
        const QSize ts = title.size().toSize();
        if (a == 2) {
            const int y = plot.bottom() + 2 + tick + (axis.labelsVisible() ? fm.height() : 0);
            p.drawStaticText(
                QPoint(plot.center().x() - ts.width() / 2, y + (titleFm.height() - ts.height()) / 2), title);
        } else {
            const int band = a == 0 ? lay.leftBand : lay.rightBand;
            const int cx = a == 0 ? plot.left() - 1 - band - titleFm.height() / 2 - 1
                                  : plot.right() + 1 + band + titleFm.height() / 2 + 1;
            p.save();
            p.translate(cx, plot.center().y());
            p.rotate(axis.titleAngle() == 270 ? 90 : -90);
            p.drawStaticText(QPoint(-ts.width() / 2, -ts.height() / 2), title);
            p.restore();
        }
    }
    p.restore();
}

void TLogChart::renderSeries(QPainter& p, const QRect& plot) const {
    const AxisMap mx = horizontalMap(bottomAxis(), plot);
    const AxisMap ml = verticalMap(leftAxis(), plot);
    const AxisMap mr = verticalMap(rightAxis(), plot);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.save();
    p.setClipRect(plot);
    QFont seriesFont(font());
    seriesFont.setPointSize(8);
    for (const auto& sp : m_series) {
        const TChartSeries& s = *sp;
        if (!s.isVisible() || s.count() == 0) continue;
        const AxisMap& my = s.verticalAxis() == VerticalAxis::Left ? ml : mr;
        switch (s.kind()) {
            case SeriesKind::FastLine: {
                // Tracing a long log is the costly part of a repaint and most repaints (cross-hair,
                // measurement, exposure) leave the line alone, so its lines are kept until the
                // series, the axes or the plot change.
                LineCache& cache = m_lineCache[size_t(&sp - &m_series[0])];
                const LineCache::Key key{s.version(), mx.v0, mx.scale, my.v0, my.scale, plot};
                if (!(cache.key == key) || !cache.valid) {
                    cache.lines.clear();
                    traceLineSeries(cache.lines, s, mx, my, plot);
                    cache.key = key;
                    cache.valid = true;
                }
                QPen pen = cosmeticPen(s.color(), s.lineWidth());
                pen.setCapStyle(Qt::FlatCap);
                p.setPen(pen);
                if (!cache.lines.empty()) p.drawLines(cache.lines.data(), int(cache.lines.size()));
                break;
            }
            case SeriesKind::Points:
            case SeriesKind::LabelPoints: {
                if (s.kind() == SeriesKind::LabelPoints || s.hasPointColors()) {
                    drawPointSeries(p, s, mx, my, plot, seriesFont);
                    break;
                }
                LineCache& cache = m_lineCache[size_t(&sp - &m_series[0])];
                const LineCache::Key key{s.version(), mx.v0, mx.scale, my.v0, my.scale, plot};
                if (!(cache.key == key) || !cache.valid) {
                    cache.centers.clear();
                    traceMarkerCenters(cache.centers, s, mx, my, plot);
                    cache.key = key;
                    cache.valid = true;
                }
                drawMarkers(p, s, cache.centers);
                break;
            }
            case SeriesKind::Segments:
                drawSegmentSeries(p, s, mx, my, plot);
                break;
        }
    }
    p.restore();
}

void TLogChart::render(QPainter& p, const QSize& size) const {
    const QPaintDevice* device = p.device();
    const bool raster = device &&
                        (device->devType() == QInternal::Image || device->devType() == QInternal::Widget ||
                         device->devType() == QInternal::Pixmap) &&
                        device->devicePixelRatioF() == 1.0 && p.worldTransform().isIdentity();
    if (!raster) {
        // Vector devices (metafiles, printers) get every axis, label and line as drawing commands.
        const Layout lay = layoutFor(size);
        renderBackground(p, size, lay);
        renderSeries(p, lay.plot);
        return;
    }
    // Axes, grid, labels and titles change far less often than the series (cross-hair and
    // measurement follow the mouse), so on screen they are painted once into an image and copied.
    if (!m_backgroundValid || m_background.size() != size) {
        m_background = QImage(size, QImage::Format_RGB32);
        QPainter bp(&m_background);
        bp.setFont(p.font());
        const Layout lay = layoutFor(size);
        renderBackground(bp, size, lay);
        m_backgroundValid = true;
        m_plotCache = lay.plot;
        m_plotCacheSize = size;
        m_plotCacheValid = true;
    }
    p.drawImage(0, 0, m_background);
    renderSeries(p, plotRectFor(size));
}

QImage TLogChart::toImage() const {
    QImage image(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&image);
    render(p, image.size());
    return image;
}

void TLogChart::scheduleRepaint() {
    if (m_repaintPending) return;
    m_repaintPending = true;
    update();
}

void TLogChart::paintEvent(QPaintEvent*) {
    m_repaintPending = false;
    QPainter p(this);
    render(p, size());
    if (m_drag == Drag::Band && m_moved) {
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(m_pressPos, m_lastPos).normalized());
    }
}

void TLogChart::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_pressPos = m_lastPos = pos;
    m_moved = false;
    m_drag = Drag::None;
    // The receiver may switch zooming off here (it is about to drag something else).
    Q_EMIT mouseDown(event->button(), event->modifiers(), pos);
    if (event->button() == Qt::LeftButton && m_zoomEnabled && plotRect().contains(pos)) {
        m_drag = Drag::Band;
    } else if (event->button() == Qt::RightButton && m_panMode != PanMode::None) {
        m_drag = Drag::Pan;
    }
}

void TLogChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (std::abs(pos.x() - m_pressPos.x()) >= kMinZoomDragPixels ||
        std::abs(pos.y() - m_pressPos.y()) >= kMinZoomDragPixels)
        m_moved = true;
    if (m_drag == Drag::Band) {
        if (!m_zoomEnabled) m_drag = Drag::None;
        update();
    } else if (m_drag == Drag::Pan) {
        const QRect plot = plotRect();
        const int dx = pos.x() - m_lastPos.x();
        const int dy = pos.y() - m_lastPos.y();
        bool moved = false;
        if (dx != 0) {
            const TChartAxis& b = bottomAxis();
            bottomAxis().scroll(-dx * (b.maximum() - b.minimum()) / std::max(1, plot.width() - 1));
            moved = true;
        }
        if (dy != 0 && m_panMode == PanMode::Both) {
            for (TChartAxis* a : {&leftAxis(), &rightAxis()})
                a->scroll(dy * (a->maximum() - a->minimum()) / std::max(1, plot.height() - 1));
            moved = true;
        }
        if (moved) Q_EMIT scrolled();
    }
    m_lastPos = pos;
    Q_EMIT mouseMove(event->buttons(), event->modifiers(), pos);
}

void TLogChart::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_lastPos = pos;
    if (m_drag == Drag::Band && event->button() == Qt::LeftButton) {
        m_drag = Drag::None;
        update();
        const int dx = pos.x() - m_pressPos.x();
        const int dy = pos.y() - m_pressPos.y();
        if (m_zoomEnabled && (std::abs(dx) >= kMinZoomDragPixels || std::abs(dy) >= kMinZoomDragPixels)) {
            if (dx > 0 && dy > 0) {
                zoomToRect(QRect(m_pressPos, pos));
            } else {
                undoZoom();
            }
        }
    } else if (m_drag == Drag::Pan && event->button() == Qt::RightButton) {
        m_drag = Drag::None;
    }
    Q_EMIT mouseUp(event->button(), event->modifiers(), pos);
    if (!m_moved) Q_EMIT clicked(event->button(), event->modifiers(), pos);
}

void TLogChart::wheelEvent(QWheelEvent* event) {
    bool handled = false;
    Q_EMIT mouseWheel(event->angleDelta().y(), event->globalPosition().toPoint(), &handled);
    if (handled) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TLogChart::keyPressEvent(QKeyEvent* event) { Q_EMIT keyDown(event->key(), event->modifiers()); }

void TLogChart::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    Q_EMIT keyUp(event->key(), event->modifiers());
}

void TLogChart::enterEvent(QEnterEvent*) { Q_EMIT mouseEnter(); }

void TLogChart::leaveEvent(QEvent*) { Q_EMIT mouseLeave(); }
