#pragma once

#include <QString>
#include <QtGlobal>

/// Strips leading and trailing characters with codes up to 32, then reads the longest leading
/// run of decimal digits (an optional "-" first). An empty run or a lone "-" gives 0. A run
/// beyond the 32-bit range saturates at its limit instead of wrapping to a wrong sign.
qint32 ParseIntLenient(const QString& text);

/// As ParseIntLenient, with the first "." or "," of the run taken as the decimal point.
double ParseFloatLenient(const QString& text);
