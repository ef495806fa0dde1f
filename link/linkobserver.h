#pragma once

#include <QString>

/// What the device link shows on screen. The main window implements it; every function has a
/// do-nothing default so headless users (command line, tests) override only what they need.
class LinkObserver {
public:
    virtual ~LinkObserver() = default;

    /// Device present (LED on, device commands enabled) or absent.
    virtual void setDeviceConnected(bool /*connected*/) {}
    /// The device's name from its "UN:" line; empty when the device fell silent.
    virtual void setDeviceName(const QString& /*name*/) {}
    /// Live values as the device sent them, units appended ("21.5°C", "985.20hPa", "263.4m").
    virtual void showMeasurement(const QString& /*temp*/, const QString& /*press*/, const QString& /*alt*/) {}
    /// Total up time as FormatUptime shows it (or "0 min" right after a reset).
    virtual void showUptime(const QString& /*text*/) {}
    /// Used device memory in percent and the gauges' hint ("Free device memory 96kB").
    virtual void showMemory(int /*percent*/, const QString& /*hint*/) {}
    /// Text for the terminal display; line ends are CR LF, CR or LF, each breaking the line once.
    virtual void appendTerminalText(const QString& /*text*/) {}
    /// HwText, FwText, SnText or EeText changed.
    virtual void statusTextsChanged() {}
};
