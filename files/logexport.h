#pragma once

#include <QByteArray>
#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>

#include "logs/logmodel.h"

/// Long jobs report how far they are: done of total steps.
using ProgressCallback = std::function<void(qint64 done, qint64 total)>;

/// The separators of the user's number format.
struct NumberSeparators {
    QChar decimal = QLatin1Char('.');
    QChar list = QLatin1Char(',');  // between fields of the spreadsheet-style CSV
    /// Locales write numbers with a decimal comma beside a ";" list separator, else ",".
    static NumberSeparators fromLocale(const QLocale& locale);
};

enum class CsvStyle {
    Plain,  // fields separated by ","
    Excel,  // fields separated by the list separator
};

/// A number in general format with up to 15 significant digits and the given decimal point.
QString FormatGeneral(double value, QChar decimal);

/// value / 0.01 rounded to the nearest integer (ties to even), times 0.01.
double RoundTo2Decimals(double value);

/// One line per sample: time in ms, altitude to 2 decimals, auto-stop mark, auto-stop time; CR LF.
QByteArray ExportCsv(const TMeas& log, CsvStyle style, const NumberSeparators& separators,
                     const ProgressCallback& progress = {});

/// All logs as XML in Windows-1250; names are escaped so the file is always well-formed.
QByteArray ExportXml(const TData& logs, const QStringList& names, const NumberSeparators& separators,
                     const ProgressCallback& progress = {});
