#pragma once

#include <QString>
#include <memory>

#include "link/serialport.h"

class Clock;

/// What the scanner window shows while the start-up scan runs.
class PortScanObserver {
public:
    virtual ~PortScanObserver() = default;
    /// The scan begins (show the window); the progress bar runs to portCount.
    virtual void scanStarted(int /*portCount*/) {}
    virtual void setText(const QString& /*text*/) {}
    /// Advance the progress bar by one.
    virtual void advance() {}
};

struct PortScanSettings {
    bool scanPorts = true;     // try every port for the device
    bool portAutoOpen = true;  // keep a port open after the scan
};

/// Looks for the device at start-up: tries the last known port first, then every other port,
/// with "csv c" and keeps the first whose answer holds "VUMA"; falls back to the last known port
/// unchecked. portName holds the last known port on entry and the port found (or fallen back
/// to) on return. Every step is appended to the scan log at logPath (by default "vuma.log" in
/// the temporary folder). Returns the open, set-up port, or nothing.
std::unique_ptr<SerialPort> ScanForDevice(Clock& clock, SerialPortProvider& ports,
                                          const PortScanSettings& settings, QString& portName,
                                          PortScanObserver* observer = nullptr,
                                          const QString& logPath = QString());

/// The scan log's default place.
QString PortScanLogPath();
