#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

/// Log names and notes are stored as single-byte Windows-1250 text (the device's home market).
/// Characters the code page cannot hold are written as "?".
QByteArray ToCp1250(const QString& text);
QString FromCp1250(QByteArrayView bytes);
