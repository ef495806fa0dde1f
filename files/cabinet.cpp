#include "files/cabinet.h"

#include <QDir>
#include <QtEndian>
#include <cstring>

#include "support/textfiles.h"

// GLib stays inside this file: its headers clash with Qt's in places.
#include <libgcab.h>

namespace {

QString damagedCabinetText() { return QStringLiteral("The compressed data is damaged or incomplete."); }

constexpr qsizetype kHeaderSize = 36;
constexpr qsizetype kFolderEntrySize = 8;
constexpr qsizetype kFileEntrySize = 16;
constexpr qint64 kBlockBytes = 32768;  // the largest uncompressed block of MSZIP
constexpr quint16 kFlagPrevCabinet = 0x0001;
constexpr quint16 kFlagNextCabinet = 0x0002;
constexpr quint16 kFlagReserve = 0x0004;

// Owns one GObject reference.
template <typename T>
struct GRef {
    T* p = nullptr;
    explicit GRef(T* ptr = nullptr) : p(ptr) {}
    ~GRef() {
        if (p) g_object_unref(p);
    }
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
};

struct GErrorHolder {
    GError* e = nullptr;
    ~GErrorHolder() {
        if (e) g_error_free(e);
    }
    QString text() const { return e ? QString::fromUtf8(e->message) : QString(); }
};

void setError(QString* error, const QString& text) {
    if (error) *error = text;
}

quint16 u16(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint16>(b.data() + at); }
quint32 u32(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint32>(b.data() + at); }

// Checks the cabinet's own tables before the library sees them: every table inside the bytes,
// and no more unpacked data than its blocks can hold and we accept. A single cabinet only.
bool checkCabinetShape(QByteArrayView cab, QString* error) {
    auto bad = [error]() {
        setError(error, damagedCabinetText());
        return false;
    };
    if (cab.size() < kHeaderSize || std::memcmp(cab.data(), "MSCF", 4) != 0) return bad();
    if (u32(cab, 8) > quint32(cab.size())) return bad();
    const quint32 filesAt = u32(cab, 16);
    const quint16 folderCount = u16(cab, 26);
    const quint16 fileCount = u16(cab, 28);
    const quint16 flags = u16(cab, 30);
    if (flags & (kFlagPrevCabinet | kFlagNextCabinet)) return bad();
    qsizetype at = kHeaderSize;
    qsizetype folderReserve = 0;
    if (flags & kFlagReserve) {
        if (cab.size() < at + 4) return bad();
        at += 4 + u16(cab, at);
        folderReserve = quint8(cab[kHeaderSize + 2]);
    }
    qint64 blockCapacity = 0;
    for (quint16 i = 0; i < folderCount; ++i) {
        if (at + kFolderEntrySize + folderReserve > cab.size()) return bad();
        blockCapacity += qint64(u16(cab, at + 4)) * kBlockBytes;
        at += kFolderEntrySize + folderReserve;
    }
    qint64 unpacked = 0;
    at = filesAt;
    for (quint16 i = 0; i < fileCount; ++i) {
        if (at < 0 || at + kFileEntrySize >= cab.size()) return bad();
        unpacked += u32(cab, at);
        const char* name = cab.data() + at + kFileEntrySize;
        if (!std::memchr(name, 0, size_t(cab.size() - at - kFileEntrySize))) return bad();
        at += kFileEntrySize + qsizetype(std::strlen(name)) + 1;
    }
    if (unpacked > blockCapacity || unpacked > kCabinetMaxUnpackedBytes) return bad();
    // Blocks beyond what the members fill would only make the library inflate data nobody reads:
    // a few kilobytes of them could stand for gigabytes.
    const qint64 blocksNeeded = (unpacked + kBlockBytes - 1) / kBlockBytes + folderCount;
    if (blockCapacity / kBlockBytes > blocksNeeded) return bad();
    return true;
}

// Loads a checked cabinet; the stream reads the caller's bytes in place.
GCabCabinet* loadCabinet(QByteArrayView cab, QString* error) {
    if (!checkCabinetShape(cab, error)) return nullptr;
    GRef<GInputStream> in(g_memory_input_stream_new_from_data(cab.data(), cab.size(), nullptr));
    GCabCabinet* cabinet = gcab_cabinet_new();
    GErrorHolder err;
    if (!gcab_cabinet_load(cabinet, in.p, nullptr, &err.e)) {
        g_object_unref(cabinet);
        setError(error, damagedCabinetText());
        return nullptr;
    }
    return cabinet;
}

}  // namespace

std::optional<QByteArray> MakeCabinet(const QList<CabinetMember>& members, QString* error) {
    GRef<GCabCabinet> cabinet(gcab_cabinet_new());
    GCabFolder* folder = gcab_folder_new(GCAB_COMPRESSION_MSZIP);
    GErrorHolder err;
    GDateTime* now = g_date_time_new_now_local();
    bool ok = true;
    for (const CabinetMember& m : members) {
        GBytes* bytes = g_bytes_new_static(m.data.constData(), gsize(m.data.size()));
        GCabFile* file = gcab_file_new_with_bytes(m.name.toUtf8().constData(), bytes);
        g_bytes_unref(bytes);
        gcab_file_set_date_time(file, now);
        ok = gcab_folder_add_file(folder, file, FALSE, nullptr, &err.e);
        g_object_unref(file);
        if (!ok) break;
    }
    g_date_time_unref(now);
    if (ok) ok = gcab_cabinet_add_folder(cabinet.p, folder, &err.e);
    g_object_unref(folder);
    GRef<GOutputStream> out(g_memory_output_stream_new_resizable());
    if (ok) ok = gcab_cabinet_write_simple(cabinet.p, out.p, nullptr, nullptr, nullptr, &err.e);
    if (ok) ok = g_output_stream_close(out.p, nullptr, &err.e);
    if (!ok) {
        setError(error, QStringLiteral("Could not make the compressed file: ") + err.text());
        return std::nullopt;
    }
    auto* memory = G_MEMORY_OUTPUT_STREAM(out.p);
    QByteArray cab(static_cast<const char*>(g_memory_output_stream_get_data(memory)),
                   qsizetype(g_memory_output_stream_get_data_size(memory)));
    // The library writes no set ID; this one is part of our files' layout. The header carries no
    // checksum, so it can be set afterwards. iCabinet stays 0: the first cabinet of its set.
    if (cab.size() >= kHeaderSize) qToLittleEndian(kCabinetSetId, cab.data() + 32);
    return cab;
}

std::optional<QStringList> ListCabinet(QByteArrayView cab, QString* error) {
    GRef<GCabCabinet> cabinet(loadCabinet(cab, error));
    if (!cabinet.p) return std::nullopt;
    QStringList names;
    GPtrArray* folders = gcab_cabinet_get_folders(cabinet.p);
    for (guint i = 0; i < folders->len; ++i) {
        GSList* files = gcab_folder_get_files(GCAB_FOLDER(g_ptr_array_index(folders, i)));
        for (GSList* l = files; l; l = l->next)
            names.append(QString::fromUtf8(gcab_file_get_name(GCAB_FILE(l->data))));
        g_slist_free(files);
    }
    return names;
}

bool VisitCabinetMembers(QByteArrayView cab, QString* error, const CabinetMemberVisitor& visit) {
    GRef<GCabCabinet> cabinet(loadCabinet(cab, error));
    if (!cabinet.p) return false;
    GErrorHolder err;
    // No folder: the library unpacks every member into memory.
    if (!gcab_cabinet_extract(cabinet.p, nullptr, nullptr, nullptr, nullptr, nullptr, &err.e)) {
        setError(error, damagedCabinetText());
        return false;
    }
    GPtrArray* folders = gcab_cabinet_get_folders(cabinet.p);
    for (guint i = 0; i < folders->len; ++i) {
        GSList* files = gcab_folder_get_files(GCAB_FOLDER(g_ptr_array_index(folders, i)));
        for (GSList* l = files; l; l = l->next) {
            GCabFile* file = GCAB_FILE(l->data);
            QByteArrayView data;
            if (GBytes* bytes = gcab_file_get_bytes(file)) {
                gsize size = 0;
                const void* bytesData = g_bytes_get_data(bytes, &size);
                data = QByteArrayView(static_cast<const char*>(bytesData), qsizetype(size));
            }
            // A member whose blocks ended early comes out short: that is damage, not a file.
            if (data.size() != qsizetype(gcab_file_get_size(file))) {
                g_slist_free(files);
                setError(error, damagedCabinetText());
                return false;
            }
            if (!visit(QString::fromUtf8(gcab_file_get_name(file)), data)) {
                g_slist_free(files);
                return true;
            }
        }
        g_slist_free(files);
    }
    return true;
}

std::optional<QList<CabinetMember>> ExtractCabinet(QByteArrayView cab, QString* error) {
    QList<CabinetMember> members;
    const bool ok = VisitCabinetMembers(cab, error, [&members](const QString& name, QByteArrayView data) {
        members.append(CabinetMember{name, data.toByteArray()});
        return true;
    });
    if (!ok) return std::nullopt;
    return members;
}

bool ExtractCabinetToFolder(QByteArrayView cab, const QString& folder, QString* error) {
    const std::optional<QList<CabinetMember>> members = ExtractCabinet(cab, error);
    if (!members) return false;
    const QDir dir(folder);
    for (const CabinetMember& m : *members) {
        // Stored names come from outside: never let one climb out of the target folder.
        if (m.name.isEmpty() || m.name.contains(QLatin1Char('/')) || m.name.contains(QLatin1Char('\\')) ||
            m.name == QLatin1String("..") || m.name == QLatin1String(".")) {
            setError(error, damagedCabinetText());
            return false;
        }
        if (!SaveStringToFile(dir.filePath(m.name), m.data, error)) return false;
    }
    return true;
}
