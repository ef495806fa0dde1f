// Repaint cost of the log chart against log length, and the cost of building a log's series.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <random>

#include "chart/charttext.h"
#include "chart/logseries.h"
#include "chart/tlogchart.h"

namespace {

constexpr QSize kImageSize(1200, 600);

/// A flight-like altitude profile: climbs and descents with sensor noise, 1 s per sample.
TMeas makeFlight(int samples) {
    TMeas log;
    log.SamplePeriod = 1000;
    log.Samples.resize(size_t(samples));
    std::mt19937 rng(42);
    std::normal_distribution<double> noise(0.0, 0.4);
    double altitude = 300;
    double climb = 0;
    for (int i = 0; i < samples; ++i) {
        if (i % 600 == 0) climb = std::uniform_real_distribution<double>(-1.5, 2.0)(rng);
        altitude = std::max(0.0, altitude + climb + noise(rng));
        log.Samples[size_t(i)].Altitude = altitude;
        if (i % 5000 == 4999) {
            log.Samples[size_t(i)].AutoStop = 1;
            log.Samples[size_t(i)].AutoStopTime = 30;
        }
    }
    double lowest = 2147483647.0;
    for (const auto& s : log.Samples) lowest = std::min(lowest, s.Altitude);
    log.BaseAlt = lowest;
    return log;
}

void setUpChart(TLogChart& chart, const TMeas& log) {
    chart.resize(kImageSize);
    chart.series(TLogChart::Series4).setVisible(false);
    chart.series(TLogChart::Series3).setVisible(false);
    chart.rightAxis().setVisible(false);
    chart.setTitle(ChartTabTitle(0));
    chart.bottomAxis().setTitle("Time [h:m:s]");
    chart.leftAxis().setTitle("Altitude [m]");
    const double sps = SamplesPerSecond(log.SamplePeriod);
    chart.bottomAxis().setLabelCallback(
        [sps](double, const QString& text) { return TimeText(text.toDouble(), sps); });
    FillLogSeries(BuildLogSeries(log, false), chart);
    const double n = double(log.Samples.size());
    chart.bottomAxis().setMinMax(0, n - 1);
    chart.bottomAxis().setIncrement(TimeLabelStep(n - 1, sps));
}

void BM_ChartRepaint(benchmark::State& state) {
    const TMeas log = makeFlight(int(state.range(0)));
    TLogChart chart;
    setUpChart(chart, log);
    QImage image(kImageSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        chart.render(p, image.size());
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ChartRepaint)->Arg(1200)->Arg(131000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A repaint after each panning step: axes, labels and the line are all laid out again.
void BM_ChartRepaintPanned(benchmark::State& state) {
    const TMeas log = makeFlight(int(state.range(0)));
    TLogChart chart;
    setUpChart(chart, log);
    QImage image(kImageSize, QImage::Format_RGB32);
    double step = 1;
    for (auto _ : state) {
        chart.bottomAxis().scroll(step);
        step = -step;
        QPainter p(&image);
        chart.render(p, image.size());
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ChartRepaintPanned)->Arg(1200)->Arg(131000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NaivePolyline(benchmark::State& state) {
    const TMeas log = makeFlight(int(state.range(0)));
    TLogChart chart;
    setUpChart(chart, log);
    const TChartSeries& line = chart.series(TLogChart::Series1);
    const QRect plot = chart.plotRect();
    const double x0 = chart.xPixelOf(0);
    const double xScale = chart.xPixelOf(1) - x0;
    const double y0 = chart.yPixelOf(VerticalAxis::Left, 0);
    const double yScale = chart.yPixelOf(VerticalAxis::Left, 1) - y0;
    QImage image(kImageSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::vector<QPointF> points(size_t(line.count()));
    for (auto _ : state) {
        for (int i = 0; i < line.count(); ++i)
            points[size_t(i)] = QPointF(x0 + line.x(i) * xScale, y0 + line.y(i) * yScale);
        QPainter p(&image);
        p.setClipRect(plot);
        p.setPen(QPen(Qt::red, 1));
        p.drawPolyline(points.data(), int(points.size()));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_NaivePolyline)->Arg(131000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DrawLog(benchmark::State& state) {
    const TMeas log = makeFlight(int(state.range(0)));
    TLogChart chart;
    chart.resize(kImageSize);
    for (auto _ : state) {
        FillLogSeries(BuildLogSeries(log, true), chart);
        benchmark::DoNotOptimize(chart.series(TLogChart::Series1).count());
    }
}
BENCHMARK(BM_DrawLog)->Arg(131000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // Fonts and painting need a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
