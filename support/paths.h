#pragma once

#include <QString>

/// The folder of the settings file "vu.ini": $XDG_CONFIG_HOME/vuma/ on Linux,
/// %LOCALAPPDATA%\vuma\ on Windows. Always ends in a separator.
QString SettingsFolder();

/// The user's documents folder (communication log, download dump); ends in a separator.
QString DocumentsFolder();

/// The temporary folder (port-scan log); ends in a separator.
QString TempFolder();

/// Where downloaded log streams are archived: $XDG_DATA_HOME/vuma/downloads/.
QString DownloadArchiveFolder();
