#include "chart/charttext.h"

#include <cmath>
#include <cstdint>

namespace {
// Far beyond any log, yet safely inside the range of a 64-bit integer.
constexpr double kMaxSeconds = 1e15;
}  // namespace

double SamplesPerSecond(qint32 samplePeriodMs) { return samplePeriodMs > 0 ? 1000.0 / samplePeriodMs : 1.0; }

QString TimeText(double samples, double samplesPerSecond) {
    const double sps = samplesPerSecond > 0 && std::isfinite(samplesPerSecond) ? samplesPerSecond : 1.0;
    double seconds = samples / sps;
    if (std::isnan(seconds)) seconds = 0;
    seconds = std::clamp(seconds, -kMaxSeconds, kMaxSeconds);
    const std::int64_t total = std::int64_t(std::trunc(seconds));
    // The sign goes in front of the whole text; split per field, -3723 s would read "-3s".
    const std::int64_t secs = total < 0 ? -total : total;
    const std::int64_t h = secs / 3600;
    const std::int64_t m = (secs % 3600) / 60;
    const std::int64_t s = secs % 60;
    QString text = total < 0 ? QStringLiteral("-") : QString();
    if (h > 0) text += QString::number(h) + QStringLiteral("h ");
    if (m > 0) text += QString::number(m) + QStringLiteral("m ");
    return text + QString::number(s) + QStringLiteral("s");
}

double TimeLabelStep(double spanSamples, double samplesPerSecond) {
    const double sps = samplesPerSecond > 0 && std::isfinite(samplesPerSecond) ? samplesPerSecond : 1.0;
    double visible = spanSamples / sps;
    if (std::isnan(visible)) visible = 0;
    const std::int64_t s = std::int64_t(std::trunc(std::clamp(visible, -kMaxSeconds, kMaxSeconds)));
    int step = 3600;
    if (s <= 10)
        step = 1;
    else if (s <= 60)
        step = 10;
    else if (s <= 300)
        step = 30;
    else if (s <= 600)
        step = 60;
    else if (s <= 1800)
        step = 300;
    else if (s <= 3600)
        step = 600;
    return sps * step;
}

QString ChartTabCaption(int tab) {
    switch (tab) {
        case 0:
            return QStringLiteral("Relative altitude");
        case 1:
            return QStringLiteral("Climb / dive rate");
        case 2:
            return QStringLiteral("Altitude / cd rate");
        default:
            return QString();
    }
}

QString ChartTabTitle(int tab) {
    switch (tab) {
        case 0:
            return ChartTabCaption(0) + QStringLiteral(" [m]");
        case 1:
            return ChartTabCaption(1) + QStringLiteral(" [m/s]");
        case 2:
            return ChartTabCaption(2) + QStringLiteral(" [m]/[m/s]");
        default:
            return QString();
    }
}
