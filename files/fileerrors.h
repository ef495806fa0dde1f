#pragma once

#include <QString>

// The texts the file layer reports; the window shows them as they stand.

inline QString WrongFileFormatText() { return QStringLiteral("Wrong file format."); }
inline QString VersionNotImplementedText() {
    return QStringLiteral("This version of log file is not implemented.");
}
inline QString UnsupportedFormatText() { return QStringLiteral("This file format is not supported."); }
inline QString DamagedFileText() { return QStringLiteral("The file is damaged or incomplete."); }
inline QString NoSamplesText() { return QStringLiteral("The file holds no samples."); }
inline QString NoLogSelectedText() { return QStringLiteral("A log has to be selected."); }
inline QString BackgroundImageNoticeText() {
    return QStringLiteral(
        "The file you are about to save contains\r\nan external reference to the background image file.\r\n"
        "This link may become invalid either in the future\r\nor on another computer.");
}
