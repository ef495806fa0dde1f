#include "files/compressedlogfile.h"

#include "files/cabinet.h"

std::optional<QByteArray> CompressLogBody(const QByteArray& body, QString* error) {
    return MakeCabinet({CabinetMember{CompressedLogMemberName(), body}}, error);
}

namespace {
QString noLogDataText() { return QStringLiteral("The compressed file holds no log data."); }
}  // namespace

std::optional<QByteArray> UncompressLogBody(QByteArrayView cabinet, QString* error) {
    std::optional<QByteArray> body;
    const bool ok = VisitCabinetMembers(cabinet, error, [&body](const QString& name, QByteArrayView data) {
        if (name != CompressedLogMemberName()) return true;
        body = data.toByteArray();
        return false;
    });
    if (ok && !body && error) *error = noLogDataText();
    return body;
}

LogFileResult ParseCompressedLogBody(QByteArrayView cabinet, const LogFileHeader& header,
                                     const LogFileReadContext& context) {
    // The body is read where the library unpacked it, without a copy.
    LogFileResult result;
    bool found = false;
    const bool ok =
        VisitCabinetMembers(cabinet, &result.error, [&](const QString& name, QByteArrayView data) {
            if (name != CompressedLogMemberName()) return true;
            found = true;
            result = ParseLogFileBody(data, header, context);
            return false;
        });
    if (ok && !found) result.error = noLogDataText();
    return result;
}
