#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

/// One file inside a cabinet.
struct CabinetMember {
    QString name;  // stored without folder part
    QByteArray data;
};

/// Set ID written into the cabinets we make; it ties the cabinets of a set together.
constexpr quint16 kCabinetSetId = 12345;

/// Refuse to unpack more than this: a crafted cabinet must not exhaust memory.
constexpr qint64 kCabinetMaxUnpackedBytes = qint64(256) * 1024 * 1024;

/// Makes a single MSZIP-compressed cabinet (one folder) in memory.
std::optional<QByteArray> MakeCabinet(const QList<CabinetMember>& members, QString* error);

/// Member names in cabinet order, without extracting; nullopt when the bytes are no cabinet.
std::optional<QStringList> ListCabinet(QByteArrayView cabinet, QString* error);

/// Unpacks the cabinet and shows each member in cabinet order until visit returns false. The data
/// lives only during the call. False (with the error) when the cabinet is damaged.
using CabinetMemberVisitor = std::function<bool(const QString& name, QByteArrayView data)>;
bool VisitCabinetMembers(QByteArrayView cabinet, QString* error, const CabinetMemberVisitor& visit);

/// Every member, unpacked in memory.
std::optional<QList<CabinetMember>> ExtractCabinet(QByteArrayView cabinet, QString* error);

/// Writes every member into the folder under its stored name (names with a folder part are refused).
bool ExtractCabinetToFolder(QByteArrayView cabinet, const QString& folder, QString* error);
