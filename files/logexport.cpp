#include "files/logexport.h"

#include <cmath>

#include "files/cp1250.h"

namespace {
constexpr qint32 kDefaultPeriodMs = 1000;

void appendAscii(QByteArray& out, const QString& text) { out.append(text.toLatin1()); }

QString escapeXmlAttribute(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '&':
                out += QStringLiteral("&amp;");
                break;
            case '<':
                out += QStringLiteral("&lt;");
                break;
            case '>':
                out += QStringLiteral("&gt;");
                break;
            case '"':
                out += QStringLiteral("&quot;");
                break;
            default:
                out += c;
        }
    }
    return out;
}
}  // namespace

NumberSeparators NumberSeparators::fromLocale(const QLocale& locale) {
    NumberSeparators s;
    const QString decimal = locale.decimalPoint();
    s.decimal = decimal.isEmpty() ? QLatin1Char('.') : decimal.at(0);
    s.list = s.decimal == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
    return s;
}

QString FormatGeneral(double value, QChar decimal) {
    // A rounded -0.001 is shown as 0, not "-0".
    QString text = QString::number(value == 0.0 ? 0.0 : value, 'g', 15);
    if (decimal != QLatin1Char('.')) text.replace(QLatin1Char('.'), decimal);
    return text;
}

double RoundTo2Decimals(double value) { return std::nearbyint(value / 0.01) * 0.01; }

QByteArray ExportCsv(const TMeas& log, CsvStyle style, const NumberSeparators& separators,
                     const ProgressCallback& progress) {
    const char separator = style == CsvStyle::Excel ? char(separators.list.toLatin1()) : ',';
    const bool quoteAltitude = separators.decimal == QLatin1Char(',');
    const qint64 period = log.SamplePeriod > 0 ? log.SamplePeriod : kDefaultPeriodMs;
    const qint64 total = qint64(log.Samples.size());
    QByteArray out;
    out.reserve(total * 24);
    for (qint64 i = 0; i < total; ++i) {
        if (progress) progress(i, total);
        const TLogSample& s = log.Samples[size_t(i)];
        out.append(QByteArray::number(i * period));
        out.append(separator);
        if (quoteAltitude) out.append('"');
        appendAscii(out, FormatGeneral(RoundTo2Decimals(s.Altitude), separators.decimal));
        if (quoteAltitude) out.append('"');
        out.append(separator);
        if (s.AutoStop) out.append('1');
        out.append(separator);
        out.append(QByteArray::number(s.AutoStopTime));
        out.append("\r\n");
    }
    if (progress) progress(total, total);
    return out;
}

QByteArray ExportXml(const TData& logs, const QStringList& names, const NumberSeparators& separators,
                     const ProgressCallback& progress) {
    qint64 total = 0;
    for (const TMeas& log : logs) total += qint64(log.Samples.size());
    qint64 done = 0;
    QByteArray out;
    out.reserve(64 + total * 32);
    out.append("<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<vuma>\r\n");
    for (qsizetype i = 0; i < logs.size(); ++i) {
        out.append("\t<log name=\"");
        out.append(ToCp1250(escapeXmlAttribute(names.value(i))));
        out.append("\">\r\n");
        for (const TLogSample& s : logs[i].Samples) {
            if (progress) progress(done, total);
            ++done;
            out.append("\t\t<value ");
            if (s.AutoStop) {
                out.append("autostop=\"");
                out.append(QByteArray::number(s.AutoStopTime));
                out.append('"');
            }
            out.append('>');
            appendAscii(out, FormatGeneral(s.Altitude, separators.decimal));
            out.append("</value>\r\n");
        }
        out.append("\t</log>\r\n");
    }
    out.append("</vuma>\r\n");
    if (progress) progress(total, total);
    return out;
}
