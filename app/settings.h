#pragma once

#include <QString>

class IniFile;

/// The [main] values of "vu.ini" that the program reads at start.
struct MainSettings {
    int width = 1024;
    int height = 768;
    bool maximized = false;
    QString port;
    bool scanPorts = true;
    bool portAutoOpen = true;
    QString baudrate = QStringLiteral("38400");
    QString parity = QStringLiteral("NOPARITY");
    QString stopbit = QStringLiteral("ONESTOPBIT");

    /// Missing or malformed values read as their defaults.
    static MainSettings read(const IniFile& ini);
};

/// The port a fresh installation tries first.
QString DefaultPortName();

/// The settings file "vu.ini" in the settings folder.
QString SettingsFilePath();
