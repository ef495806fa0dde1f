#include "files/compressedlogfile.h"

#include "files/cabinet.h"

std::optional<QByteArray> CompressLogBody(const QByteArray& body, QString* error) {
    return MakeCabinet({CabinetMember{CompressedLogMemberName(), body}}, error);
}

std::optional<QByteArray> UncompressLogBody(QByteArrayView cabinet, QString* error) {
    const std::optional<QList<CabinetMember>> members = ExtractCabinet(cabinet, error);
    if (!members) return std::nullopt;
    for (const CabinetMember& m : *members) {
        if (m.name == CompressedLogMemberName()) return m.data;
    }
    if (error) *error = QStringLiteral("The compressed file holds no log data.");
    return std::nullopt;
}

LogFileResult ParseCompressedLogBody(QByteArrayView cabinet, const LogFileHeader& header,
                                     const LogFileReadContext& context) {
    LogFileResult result;
    const std::optional<QByteArray> body = UncompressLogBody(cabinet, &result.error);
    if (!body) return result;
    return ParseLogFileBody(*body, header, context);
}
