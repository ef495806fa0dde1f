#include <gtest/gtest.h>

#include <QPainter>
#include <QPicture>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <limits>
#include <random>

#include "chart/tlogchart.h"

namespace {

constexpr QRgb kLine = 0xFFFF0000;

/// A chart with only Series1 shown, in a fixed size, without grids (so pixels tell the line apart).
struct LineChart {
    TLogChart chart;
    LineChart(QSize size = QSize(400, 300)) {
        chart.resize(size);
        for (int i = 0; i < TLogChart::SeriesCount; ++i) chart.series(i).setVisible(i == TLogChart::Series1);
        chart.leftAxis().setGridVisible(false);
        chart.bottomAxis().setGridVisible(false);
        chart.series(TLogChart::Series1).setColor(QColor::fromRgb(kLine));
    }
    QImage render() const {
        QImage img(chart.size(), QImage::Format_RGB32);
        QPainter p(&img);
        chart.render(p, img.size());
        return img;
    }
    TChartSeries& line() { return chart.series(TLogChart::Series1); }
};

int countColumnPixels(const QImage& img, int x, QRgb color) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) n += img.pixel(x, y) == color;
    return n;
}

}  // namespace

TEST(TChartAxis, RangeIsOrderedWidenedAndScrolls) {
    struct Case {
        double a, b, min, max;
    } cases[] = {
        {5, 1, 1, 5},
        {-3, 7, -3, 7},
        {2, 2, 2, 2 + 1e-10},
        {4, 4 + 1e-12, 4, 4 + 1e-10},
    };
    for (const Case& c : cases) {
        TChartAxis axis(AxisPosition::Left);
        axis.setMinMax(c.a, c.b);
        EXPECT_DOUBLE_EQ(axis.minimum(), c.min) << c.a << ", " << c.b;
        EXPECT_DOUBLE_EQ(axis.maximum(), c.max) << c.a << ", " << c.b;
    }
    TChartAxis axis(AxisPosition::Bottom);
    axis.setMinMax(10, 20);
    axis.setMinMax(std::numeric_limits<double>::quiet_NaN(), 5);  // ignored
    EXPECT_EQ(axis.minimum(), 10.0);
    axis.scroll(-15);
    EXPECT_EQ(axis.minimum(), -5.0);
    EXPECT_EQ(axis.maximum(), 5.0);
}

TEST(TChartAxis, LabelTextsAreValuesWithUpToThreeDecimalsThenTheCallback) {
    struct Case {
        double v;
        const char* text;
    } cases[] = {{1234, "1234"}, {1.5, "1.5"},   {0.12345, "0.123"},
                 {2.0, "2"},     {-0.0001, "0"}, {-12.25, "-12.25"}};
    for (const Case& c : cases) EXPECT_EQ(TChartAxis::formatValue(c.v), QString::fromLatin1(c.text));

    TChartAxis axis(AxisPosition::Bottom);
    axis.setLabelCallback([](double v, const QString& text) { return QString("<%1|%2>").arg(v).arg(text); });
    EXPECT_EQ(axis.labelText(1.5), "<1.5|1.5>");
}

TEST(TLogChart, PaintingAsksTheCallbackForEveryBottomLabelAtTheStep) {
    LineChart c(QSize(800, 300));
    c.chart.bottomAxis().setMinMax(0, 100);
    c.chart.bottomAxis().setIncrement(10);
    std::vector<double> asked;
    c.chart.bottomAxis().setLabelCallback([&](double v, const QString& t) {
        asked.push_back(v);
        return t;
    });
    c.render();
    std::vector<double> expected;
    for (int v = 0; v <= 100; v += 10) expected.push_back(v);
    EXPECT_EQ(asked, expected);
}

TEST(TLogChart, CrowdedLabelsWidenTheStepToAMultipleOfTheAskedOne) {
    LineChart c(QSize(300, 200));
    c.chart.bottomAxis().setMinMax(0, 1000);
    c.chart.bottomAxis().setIncrement(1);  // a thousand labels would never fit
    std::vector<double> asked;
    c.chart.bottomAxis().setLabelCallback([&](double v, const QString& t) {
        asked.push_back(v);
        return t;
    });
    c.render();
    // The last layout attempt is the one drawn: its labels are at the end of the calls.
    std::vector<double> shown;
    for (size_t i = asked.size(); i-- > 0;) {
        shown.insert(shown.begin(), asked[i]);
        if (asked[i] == 0) break;
    }
    ASSERT_GE(shown.size(), 2u);
    const double step = shown[1] - shown[0];
    EXPECT_GT(step, 1.0);
    EXPECT_EQ(step, std::round(step));
    EXPECT_LE(double(shown.size()) * 20, c.chart.plotRect().width());  // room for "1000" each
    for (size_t i = 1; i < shown.size(); ++i) EXPECT_EQ(shown[i] - shown[i - 1], step);
}

TEST(TLogChart, ScreenPaintMatchesRenderAndShowsTheRubberBand) {
    TLogChart chart;
    chart.resize(300, 200);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    const QImage grabbed = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(grabbed == chart.toImage());

    const QRect plot = chart.plotRect();
    const QPoint from = plot.topLeft() + QPoint(20, 20);
    const QPoint to = from + QPoint(60, 40);
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, chart.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    const QImage band = chart.grab().toImage();
    int white = 0;
    for (int x = from.x(); x <= to.x(); ++x) white += band.pixelColor(x, from.y()) == QColor(Qt::white);
    EXPECT_GE(white, 15);  // the dotted top edge of the band: every third pixel or so
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, to);
}

TEST(TLogChart, LabelsFollowRangeChangesAndRefreshBetweenPaints) {
    LineChart c(QSize(800, 300));
    c.chart.bottomAxis().setMinMax(0, 100);
    c.chart.bottomAxis().setIncrement(50);
    QString suffix = "s";
    std::vector<QString> asked;
    c.chart.bottomAxis().setLabelCallback([&](double, const QString& t) {
        asked.push_back(t + suffix);
        return t + suffix;
    });
    c.render();
    EXPECT_EQ(asked, (std::vector<QString>{"0s", "50s", "100s"}));

    asked.clear();
    c.render();  // nothing changed: the labels are not laid out again
    EXPECT_TRUE(asked.empty());

    c.chart.bottomAxis().setMinMax(100, 200);
    c.render();
    EXPECT_EQ(asked, (std::vector<QString>{"100s", "150s", "200s"}));

    asked.clear();
    suffix = "m";  // the callback now answers differently
    c.chart.refreshLabels();
    c.render();
    EXPECT_EQ(asked, (std::vector<QString>{"100m", "150m", "200m"}));
}

TEST(TLogChart, PixelConversionMapsAxisEndsToPlotEdges) {
    LineChart c;
    c.chart.bottomAxis().setMinMax(0, 1000);
    c.chart.leftAxis().setMinMax(-2, 98);
    c.chart.rightAxis().setMinMax(-5, 5);
    c.chart.rightAxis().setVisible(true);
    const QRect plot = c.chart.plotRect();
    ASSERT_GT(plot.width(), 100);
    EXPECT_DOUBLE_EQ(c.chart.xPixelOf(0), plot.left());
    EXPECT_DOUBLE_EQ(c.chart.xPixelOf(1000), plot.right());
    EXPECT_DOUBLE_EQ(c.chart.yPixelOf(VerticalAxis::Left, -2), plot.bottom());
    EXPECT_DOUBLE_EQ(c.chart.yPixelOf(VerticalAxis::Left, 98), plot.top());
    EXPECT_DOUBLE_EQ(c.chart.yPixelOf(VerticalAxis::Right, 5), plot.top());
    EXPECT_NEAR(c.chart.xValueAt(c.chart.xPixelOf(123.4)), 123.4, 1e-9);
    EXPECT_NEAR(c.chart.yValueAt(VerticalAxis::Right, c.chart.yPixelOf(VerticalAxis::Right, 1.25)), 1.25,
                1e-9);
    EXPECT_NEAR(c.chart.yValueAtForSeries(TLogChart::Series3, plot.top()), 5, 1e-9);
}

TEST(TLogChart, HorizontalLineLandsOnTheRowOfItsValue) {
    LineChart c;
    c.chart.bottomAxis().setMinMax(0, 10);
    c.chart.leftAxis().setMinMax(0, 100);
    const QRect plot = c.chart.plotRect();
    struct Case {
        double value;
        double row;  // expected, from the plot edges alone
    } cases[] = {
        {0, double(plot.bottom())}, {100, double(plot.top())}, {50, (plot.top() + plot.bottom()) / 2.0}};
    for (const Case& k : cases) {
        c.line().clear();
        for (int i = 0; i <= 10; ++i) c.line().addY(k.value);
        const QImage img = c.render();
        const int x = plot.center().x();
        int row = -1;
        for (int y = 0; y < img.height(); ++y) {
            if (img.pixel(x, y) == kLine) {
                EXPECT_EQ(row, -1) << "second red pixel in the column at value " << k.value;
                row = y;
            }
        }
        EXPECT_LE(std::abs(row - k.row), 0.5) << "value " << k.value;
        // The line runs across the whole plot.
        EXPECT_EQ(img.pixel(plot.left() + 1, row), kLine);
        EXPECT_EQ(img.pixel(plot.right() - 1, row), kLine);
    }
}

TEST(TLogChart, ColumnEnvelopeDrawsTheSamePixelsAsEveryPoint) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> noise(-8, 8);
    struct Case {
        const char* name;
        std::vector<double> x, y;
        double viewMin, viewMax;
    };
    std::vector<Case> cases;
    {
        Case c{"sparse jagged", {}, {}, 0, 29};
        for (int i = 0; i < 30; ++i) {
            c.x.push_back(i);
            c.y.push_back(i % 2 ? 80 : 10 + i);
        }
        cases.push_back(c);
    }
    {
        Case c{"dense random walk", {}, {}, 0, 19999};
        double v = 50;
        for (int i = 0; i < 20000; ++i) {
            v = std::clamp(v + noise(rng), 0.0, 100.0);
            c.x.push_back(i);
            c.y.push_back(v);
        }
        cases.push_back(c);
    }
    {
        Case c = cases.back();
        c.name = "zoomed into the middle";
        c.viewMin = 5000;
        c.viewMax = 5400;
        cases.push_back(c);
    }
    {
        Case c{"x going back and forth", {}, {}, 0, 100};
        for (int i = 0; i < 3000; ++i) {
            c.x.push_back(50 + 50 * std::sin(i * 0.01));
            c.y.push_back(50 + 45 * std::sin(i * 0.37));
        }
        cases.push_back(c);
    }
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        LineChart c;
        c.chart.leftAxis().setMinMax(0, 100);
        c.chart.bottomAxis().setMinMax(k.viewMin, k.viewMax);
        for (size_t i = 0; i < k.x.size(); ++i) c.line().add(k.x[i], k.y[i]);
        const QImage envelope = c.render();

        // Reference: every segment drawn on its own, plus every point's pixel. (One polyline
        // through all points would add the painter's own join pixels around sharp vertices.)
        c.line().setVisible(false);
        QImage naive = c.render();
        {
            QPainter p(&naive);
            p.setClipRect(c.chart.plotRect());
            QPen pen(QColor::fromRgb(kLine), 1);
            pen.setCapStyle(Qt::FlatCap);
            p.setPen(pen);
            std::vector<QPoint> pts;
            for (size_t i = 0; i < k.x.size(); ++i) {
                pts.emplace_back(int(std::lround(c.chart.xPixelOf(k.x[i]))),
                                 int(std::lround(c.chart.yPixelOf(VerticalAxis::Left, k.y[i]))));
            }
            for (size_t i = 1; i < pts.size(); ++i) p.drawLine(pts[i - 1], pts[i]);
            for (const QPoint& pt : pts) p.fillRect(QRect(pt, QSize(1, 1)), QColor::fromRgb(kLine));
        }
        int differing = 0;
        for (int y = 0; y < naive.height(); ++y)
            for (int x = 0; x < naive.width(); ++x) differing += naive.pixel(x, y) != envelope.pixel(x, y);
        EXPECT_EQ(differing, 0);
        EXPECT_GT(countColumnPixels(envelope, c.chart.plotRect().center().x(), kLine), 0);
    }
}

TEST(TLogChart, DensePointSeriesLooksLikeDrawingEveryMarker) {
    TLogChart chart;
    chart.resize(300, 200);
    for (int i = 0; i < TLogChart::SeriesCount; ++i) chart.series(i).setVisible(i == TLogChart::Series4);
    chart.bottomAxis().setMinMax(0, 5000);
    TChartSeries& pts = chart.series(TLogChart::Series4);
    pts.setMarkerSize(2, 2);
    for (int i = 0; i < 5000; ++i) pts.addY(50 + 40 * std::sin(i * 0.003) + (i % 7));
    QImage drawn(chart.size(), QImage::Format_RGB32);
    {
        QPainter p(&drawn);
        chart.render(p, drawn.size());
    }
    pts.setVisible(false);
    QImage naive(chart.size(), QImage::Format_RGB32);
    {
        QPainter p(&naive);
        chart.render(p, naive.size());
        p.setClipRect(chart.plotRect());
        for (int i = 0; i < pts.count(); ++i) {
            const int x = int(std::lround(chart.xPixelOf(pts.x(i))));
            const int y = int(std::lround(chart.yPixelOf(VerticalAxis::Left, pts.y(i))));
            p.fillRect(QRect(x - 1, y - 1, 2, 2), pts.color());
        }
    }
    EXPECT_TRUE(drawn == naive);
}

TEST(TLogChart, NonAscendingSeriesIsStillDrawnWhole) {
    LineChart c;
    c.chart.bottomAxis().setMinMax(0, 100);
    c.chart.leftAxis().setMinMax(0, 100);
    for (int i = 0; i <= 100; i += 10) c.line().add(i, 50);
    EXPECT_TRUE(c.line().isXAscending());
    c.line().setX(0, 95);  // the first point now lies at the right end
    EXPECT_FALSE(c.line().isXAscending());
    c.line().setX(0, 0);
    EXPECT_TRUE(c.line().isXAscending());
    c.line().add(-10, 50);  // appended out of order
    EXPECT_FALSE(c.line().isXAscending());
    const QImage img = c.render();
    const int row = int(std::lround(c.chart.yPixelOf(VerticalAxis::Left, 50)));
    EXPECT_EQ(img.pixel(c.chart.plotRect().left() + 2, row), kLine);
}

TEST(TLogChart, SeriesAccessOutOfRangeIsHarmless) {
    TLogChart chart;
    TChartSeries& seg = chart.series(TLogChart::Series6);
    seg.addSegment(1, 2, 3, 4);
    seg.addSegment(5, 6, 7, 8);
    seg.setSegment(1, 10, 11, 12, 13);
    EXPECT_EQ(seg.x1(1), 12.0);
    EXPECT_EQ(seg.y1(1), 13.0);
    seg.deletePoint(0);
    ASSERT_EQ(seg.count(), 1);
    EXPECT_EQ(seg.x(0), 10.0);
    seg.deletePoint(5);
    seg.setX(-1, 3);
    seg.setLabel(9, "x");
    EXPECT_EQ(seg.count(), 1);
    EXPECT_EQ(seg.y(7), 0.0);
    EXPECT_EQ(seg.label(0), "");

    TChartSeries& labels = chart.series(TLogChart::Series9);
    labels.add(1, 1);
    labels.add(2, 2, "two", Qt::blue);
    labels.setLabel(0, "one");
    EXPECT_EQ(labels.label(0), "one");
    EXPECT_EQ(labels.pointColor(1), QColor(Qt::blue));
    EXPECT_EQ(labels.pointColor(0), labels.color());
    EXPECT_EQ(&chart.series(42), &chart.series(TLogChart::Series1));
}

TEST(TLogChart, RendersIntoAnyImageSizeWithTheBackgroundPictureBehind) {
    TLogChart chart;
    chart.resize(300, 200);
    chart.setTitle("Relative altitude [m]");
    QImage back(10, 10, QImage::Format_RGB32);
    back.fill(Qt::blue);
    chart.setBackImage(back);
    for (const QSize size : {QSize(640, 480), QSize(50, 30), QSize(1, 1)}) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::green);
        QPainter p(&img);
        chart.render(p, size);
        p.end();
        EXPECT_EQ(img.pixel(0, 0), QColor(Qt::blue).rgb()) << size.width();
    }
    chart.setBackImage(QImage());
    const QImage img = chart.toImage();
    EXPECT_EQ(img.size(), chart.size());
    EXPECT_EQ(img.pixel(0, 0), QColor(Qt::black).rgb());
}

TEST(TLogChart, VectorDevicesGetTheSamePictureAsTheScreen) {
    LineChart c(QSize(320, 240));
    c.chart.setTitle("Relative altitude [m]");
    c.chart.bottomAxis().setTitle("Time [h:m:s]");
    c.chart.leftAxis().setTitle("Altitude [m]");
    c.chart.bottomAxis().setMinMax(0, 99);
    for (int i = 0; i < 100; ++i) c.line().addY(50 + 40 * std::sin(i * 0.2));
    const QImage screen = c.render();

    QPicture picture;  // records drawing commands, as the metafile writers do
    {
        QPainter p(&picture);
        c.chart.render(p, c.chart.size());
    }
    QImage replayed(c.chart.size(), QImage::Format_RGB32);
    {
        QPainter p(&replayed);
        p.drawPicture(0, 0, picture);
    }
    int inPlot = 0, outside = 0;
    const QRect plot = c.chart.plotRect();
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (replayed.pixel(x, y) != screen.pixel(x, y)) (plot.contains(x, y) ? inPlot : outside)++;
    EXPECT_EQ(inPlot, 0);
    // Texts are laid out again by the replaying device, so their edges may fall differently.
    EXPECT_LT(outside, screen.width() * screen.height() / 100);
}

TEST(TLogChart, DeepZoomShowsTheLineThroughTheView) {
    LineChart c;
    c.chart.leftAxis().setMinMax(0, 100);
    c.line().addY(0);
    c.line().addY(100);
    c.line().addY(0);
    // The narrowest range an axis takes: its neighbours lie some 10^12 pixels away.
    c.chart.bottomAxis().setMinMax(0.5, 0.5);
    const QImage img = c.render();
    const QRect plot = c.chart.plotRect();
    const int row = int(std::lround(c.chart.yPixelOf(VerticalAxis::Left, 50)));
    EXPECT_EQ(img.pixel(plot.left() + 1, row), kLine);
    EXPECT_EQ(img.pixel(plot.right() - 1, row), kLine);
    EXPECT_EQ(countColumnPixels(img, plot.center().x(), kLine), 1);
}

TEST(TLogChart, SegmentsFarOutsideTheViewAreClippedNotBent) {
    LineChart c;
    c.chart.series(TLogChart::Series5).setVisible(true);
    c.chart.series(TLogChart::Series5).setColor(QColor::fromRgb(kLine));
    c.chart.bottomAxis().setMinMax(0, 10);
    c.chart.leftAxis().setMinMax(0, 100);
    // The cross-hair's horizontal arm spans millions of axis units.
    c.chart.series(TLogChart::Series5).addSegment(-2000000, 40, 2000000, 60);
    const QImage img = c.render();
    const QRect plot = c.chart.plotRect();
    const double rowAt5 = c.chart.yPixelOf(VerticalAxis::Left, 40 + 20 * (2000005.0 / 4000000));
    const int x = int(std::lround(c.chart.xPixelOf(5)));
    EXPECT_EQ(img.pixel(x, int(std::lround(rowAt5))), kLine);
    EXPECT_EQ(countColumnPixels(img, plot.left() + 1, kLine), 1);
}

// ---- interaction ----

namespace {

struct InteractiveChart {
    TLogChart chart;
    InteractiveChart() {
        chart.resize(500, 400);
        chart.bottomAxis().setMinMax(0, 1000);
        chart.leftAxis().setMinMax(0, 100);
        chart.rightAxis().setMinMax(-1, 1);
    }
    QPoint inPlot(double fx, double fy) const {
        const QRect r = chart.plotRect();
        return QPoint(r.left() + int(fx * r.width()), r.top() + int(fy * r.height()));
    }
    void drag(Qt::MouseButton button, QPoint from, QPoint to, int steps = 4,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mousePress(&chart, button, mods, from);
        for (int i = 1; i <= steps; ++i) {
            const QPoint p = from + (to - from) * i / steps;
            QMouseEvent move(QEvent::MouseMove, p, chart.mapToGlobal(p), Qt::NoButton, button, mods);
            QApplication::sendEvent(&chart, &move);
        }
        QTest::mouseRelease(&chart, button, mods, to);
    }
};

}  // namespace

TEST(TLogChartInteraction, RubberBandZoomsAllAxesAndReverseDragUndoes) {
    InteractiveChart c;
    QSignalSpy zoomed(&c.chart, &TLogChart::zoomed);
    QSignalSpy undone(&c.chart, &TLogChart::undoZoomed);
    const QPoint a = c.inPlot(0.2, 0.25);
    const QPoint b = c.inPlot(0.6, 0.75);
    const double x0 = c.chart.xValueAt(a.x()), x1 = c.chart.xValueAt(b.x());
    const double top = c.chart.yValueAt(VerticalAxis::Left, a.y());
    const double bottom = c.chart.yValueAt(VerticalAxis::Left, b.y());
    const double rTop = c.chart.yValueAt(VerticalAxis::Right, a.y());

    c.drag(Qt::LeftButton, a, b);
    ASSERT_EQ(zoomed.count(), 1);
    EXPECT_EQ(undone.count(), 0);
    EXPECT_DOUBLE_EQ(c.chart.bottomAxis().minimum(), x0);
    EXPECT_DOUBLE_EQ(c.chart.bottomAxis().maximum(), x1);
    EXPECT_DOUBLE_EQ(c.chart.leftAxis().minimum(), bottom);
    EXPECT_DOUBLE_EQ(c.chart.leftAxis().maximum(), top);
    EXPECT_DOUBLE_EQ(c.chart.rightAxis().maximum(), rTop);
    EXPECT_TRUE(c.chart.isZoomed());

    // A second zoom inside the first, then one drag toward the upper left goes all the way back.
    c.drag(Qt::LeftButton, c.inPlot(0.1, 0.1), c.inPlot(0.5, 0.5));
    EXPECT_EQ(zoomed.count(), 2);
    c.drag(Qt::LeftButton, c.inPlot(0.7, 0.7), c.inPlot(0.3, 0.3));
    EXPECT_EQ(undone.count(), 1);
    EXPECT_EQ(c.chart.bottomAxis().minimum(), 0.0);
    EXPECT_EQ(c.chart.bottomAxis().maximum(), 1000.0);
    EXPECT_EQ(c.chart.leftAxis().maximum(), 100.0);
    EXPECT_FALSE(c.chart.isZoomed());

    // Called by the program: the event comes as well.
    c.chart.undoZoom();
    EXPECT_EQ(undone.count(), 2);
}

TEST(TLogChartInteraction, ShortDragIsAClickAndDisabledZoomLeavesTheAxes) {
    InteractiveChart c;
    QSignalSpy zoomed(&c.chart, &TLogChart::zoomed);
    QSignalSpy undone(&c.chart, &TLogChart::undoZoomed);
    QSignalSpy clicked(&c.chart, &TLogChart::clicked);
    c.drag(Qt::LeftButton, c.inPlot(0.5, 0.5), c.inPlot(0.5, 0.5) + QPoint(2, 2));
    EXPECT_EQ(zoomed.count() + undone.count(), 0);
    EXPECT_EQ(clicked.count(), 1);

    // The program switches zooming off when the press starts dragging something else.
    QObject::connect(&c.chart, &TLogChart::mouseDown,
                     [&c](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { c.chart.setZoomEnabled(false); });
    c.drag(Qt::LeftButton, c.inPlot(0.2, 0.2), c.inPlot(0.7, 0.7));
    EXPECT_EQ(zoomed.count(), 0);
    EXPECT_EQ(c.chart.bottomAxis().maximum(), 1000.0);
    EXPECT_EQ(clicked.count(), 1);  // a drag is no click
}

TEST(TLogChartInteraction, RightDragPansByThePixelsMoved) {
    InteractiveChart c;
    QSignalSpy scrolled(&c.chart, &TLogChart::scrolled);
    const QRect plot = c.chart.plotRect();
    const double perPixel = 1000.0 / (plot.width() - 1);
    const double leftMax = c.chart.leftAxis().maximum();

    c.drag(Qt::RightButton, c.inPlot(0.5, 0.5), c.inPlot(0.5, 0.5) + QPoint(-40, 30), 4);
    EXPECT_EQ(scrolled.count(), 4);  // one per step
    EXPECT_NEAR(c.chart.bottomAxis().minimum(), 40 * perPixel, 1e-9);
    EXPECT_NEAR(c.chart.bottomAxis().maximum() - c.chart.bottomAxis().minimum(), 1000, 1e-9);
    EXPECT_EQ(c.chart.leftAxis().maximum(), leftMax);  // horizontal only

    c.chart.setPanMode(TLogChart::PanMode::Both);
    c.drag(Qt::RightButton, c.inPlot(0.5, 0.5), c.inPlot(0.5, 0.5) + QPoint(0, 30), 3);
    EXPECT_NEAR(c.chart.leftAxis().maximum(), leftMax + 30 * 100.0 / (plot.height() - 1), 1e-9);
    EXPECT_EQ(scrolled.count(), 7);

    c.chart.setPanMode(TLogChart::PanMode::None);
    c.drag(Qt::RightButton, c.inPlot(0.5, 0.5), c.inPlot(0.2, 0.5));
    EXPECT_EQ(scrolled.count(), 7);
}

TEST(TLogChartInteraction, MouseWheelAndKeysReachTheProgram) {
    InteractiveChart c;
    QSignalSpy down(&c.chart, &TLogChart::mouseDown);
    QSignalSpy moves(&c.chart, &TLogChart::mouseMove);
    QSignalSpy up(&c.chart, &TLogChart::mouseUp);
    QSignalSpy keyDown(&c.chart, &TLogChart::keyDown);
    QSignalSpy keyUp(&c.chart, &TLogChart::keyUp);

    int delta = 0;
    QObject::connect(&c.chart, &TLogChart::mouseWheel, [&](int d, QPoint, bool* handled) {
        delta = d;
        *handled = d > 0;  // only forward turns are taken
    });
    const QPointF pos = c.inPlot(0.5, 0.5);
    QWheelEvent forward(pos, c.chart.mapToGlobal(pos), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
    QApplication::sendEvent(&c.chart, &forward);
    EXPECT_EQ(delta, 120);
    EXPECT_TRUE(forward.isAccepted());
    QWheelEvent backward(pos, c.chart.mapToGlobal(pos), QPoint(), QPoint(0, -240), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&c.chart, &backward);
    EXPECT_EQ(delta, -240);
    EXPECT_FALSE(backward.isAccepted());

    c.drag(Qt::MiddleButton, c.inPlot(0.3, 0.3), c.inPlot(0.4, 0.3), 2, Qt::ShiftModifier);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down[0][0].value<Qt::MouseButton>(), Qt::MiddleButton);
    EXPECT_EQ(down[0][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(down[0][2].toPoint(), c.inPlot(0.3, 0.3));
    EXPECT_EQ(moves.count(), 2);
    EXPECT_EQ(up.count(), 1);

    QTest::keyPress(&c.chart, Qt::Key_Down, Qt::AltModifier);
    QTest::keyRelease(&c.chart, Qt::Key_Down, Qt::AltModifier);
    // Alt itself comes first, then the arrow with Alt held.
    ASSERT_EQ(keyDown.count(), 2);
    EXPECT_EQ(keyDown[0][0].toInt(), int(Qt::Key_Alt));
    EXPECT_EQ(keyDown[1][0].toInt(), int(Qt::Key_Down));
    EXPECT_EQ(keyDown[1][1].value<Qt::KeyboardModifiers>(), Qt::AltModifier);
    ASSERT_GE(keyUp.count(), 1);
    EXPECT_EQ(keyUp[0][0].toInt(), int(Qt::Key_Down));
}
