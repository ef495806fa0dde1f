#include "app/settings.h"

#include "support/inifile.h"
#include "support/paths.h"

QString DefaultPortName() {
#ifdef Q_OS_WIN
    return QStringLiteral("COM1");
#else
    return QStringLiteral("ttyUSB0");  // the usual name of a USB serial adapter
#endif
}

QString SettingsFilePath() { return SettingsFolder() + QStringLiteral("vu.ini"); }

MainSettings MainSettings::read(const IniFile& ini) {
    const QString main = QStringLiteral("main");
    MainSettings s;
    s.width = ini.readInt(main, QStringLiteral("width"), s.width);
    s.height = ini.readInt(main, QStringLiteral("height"), s.height);
    s.maximized = ini.readBool(main, QStringLiteral("maximized"), s.maximized);
    s.port = ini.readString(main, QStringLiteral("port"), DefaultPortName());
    s.scanPorts = ini.readBool(main, QStringLiteral("ScanPorts"), s.scanPorts);
    s.portAutoOpen = ini.readBool(main, QStringLiteral("PortAutoOpen"), s.portAutoOpen);
    s.baudrate = ini.readString(main, QStringLiteral("baudrate"), s.baudrate);
    s.parity = ini.readString(main, QStringLiteral("parity"), s.parity);
    s.stopbit = ini.readString(main, QStringLiteral("stopbit"), s.stopbit);
    return s;
}
