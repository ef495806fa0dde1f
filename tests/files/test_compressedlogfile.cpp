#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "files/cabinet.h"
#include "files/compressedlogfile.h"
#include "files/fileerrors.h"
#include "files/logfile.h"
#include "logfixtures.h"

namespace {

LogFileContent someLogs() {
    LogFileContent c;
    c.config.SD = 100;
    c.config.LR = 10;
    c.config.Valid = 1;
    TMeas a;
    for (int i = 0; i < 5000; ++i) a.Samples.push_back(sample(300 + (i % 97) * 0.25, i % 1000 == 999, 20));
    a.ChartColor = 0x00FF00;
    TMeas b = logOf({1, 2, 3});
    c.logs = {a, b};
    c.names = {QStringLiteral("Flight"), QStringLiteral("Kopec")};
    c.notes = QStringLiteral("windy");
    return c;
}

QByteArray bytesOf(const LogFileContent& c, bool compressed) {
    QString error;
    const std::optional<QByteArray> b = LogFileBytes(c, compressed, &error);
    EXPECT_TRUE(b.has_value()) << error.toStdString();
    return b.value_or(QByteArray());
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(CompressedLogFile, MemberIsThePlainBodyAndAnIndependentReaderAgrees) {
    const LogFileContent c = someLogs();
    const QByteArray plain = bytesOf(c, false);
    const QByteArray packed = bytesOf(c, true);
    const QByteArray body = plain.mid(kLogFileHeaderSize);

    EXPECT_EQ(packed.left(kLogFileHeaderSize), fileHeader("Vuc", kLogFileVersion, 2));
    const QByteArray cab = packed.mid(kLogFileHeaderSize);
    EXPECT_EQ(cab.left(4), QByteArray("MSCF"));
    EXPECT_EQ(qFromLittleEndian<quint16>(cab.constData() + 32), kCabinetSetId);
    EXPECT_LT(cab.size(), body.size());

    QString error;
    EXPECT_EQ(ListCabinet(cab, &error), QStringList({QStringLiteral("vuma.tmp")}));
    EXPECT_EQ(UncompressLogBody(cab, &error), std::optional<QByteArray>(body));

    QTemporaryDir dir;
    const QString cabPath = dir.filePath(QStringLiteral("x.cab"));
    writeFile(cabPath, cab);
    QProcess list;
    list.start(QStringLiteral("/usr/bin/cabextract"), {QStringLiteral("-l"), cabPath});
    ASSERT_TRUE(list.waitForFinished(30000));
    EXPECT_EQ(list.exitCode(), 0) << list.readAllStandardError().toStdString();
    const QString listing = QString::fromUtf8(list.readAllStandardOutput());
    // The table's heading line and exactly one member line.
    const QStringList rows = listing.split(QLatin1Char('\n')).filter(QStringLiteral(" | "));
    ASSERT_EQ(rows.size(), 2) << listing.toStdString();
    EXPECT_TRUE(rows[1].endsWith(QStringLiteral("| vuma.tmp"))) << listing.toStdString();

    const QString out = dir.filePath(QStringLiteral("out"));
    QProcess extract;
    extract.start(QStringLiteral("/usr/bin/cabextract"),
                  {QStringLiteral("-q"), QStringLiteral("-d"), out, cabPath});
    ASSERT_TRUE(extract.waitForFinished(30000));
    EXPECT_EQ(extract.exitCode(), 0) << extract.readAllStandardError().toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList({QStringLiteral("vuma.tmp")}));
    EXPECT_EQ(readFile(QDir(out).filePath(QStringLiteral("vuma.tmp"))), body);
}

TEST(CompressedLogFile, EmptyListHoldsOnlyTheConfiguration) {
    LogFileContent c;
    c.config.SD = 321;
    const QByteArray packed = bytesOf(c, true);
    EXPECT_EQ(packed.left(kLogFileHeaderSize), fileHeader("Vuc", kLogFileVersion, 0));
    QString error;
    EXPECT_EQ(UncompressLogBody(packed.mid(kLogFileHeaderSize), &error),
              std::optional<QByteArray>(c.config.toBytes()));
}

TEST(CompressedLogFile, TheTagDecidesNotTheName) {
    QTemporaryDir dir;
    const LogFileContent c = someLogs();
    const QString packedAsVul = dir.filePath(QStringLiteral("packed.vul"));
    const QString plainAsVuc = dir.filePath(QStringLiteral("plain.vuc"));
    writeFile(packedAsVul, bytesOf(c, true));
    writeFile(plainAsVuc, bytesOf(c, false));
    for (const QString& path : {packedAsVul, plainAsVuc}) {
        const LogFileResult r = LoadLogFile(path, LogFileReadContext());
        ASSERT_TRUE(r.ok()) << path.toStdString() << ": " << r.error.toStdString();
        EXPECT_EQ(r.content.names, c.names);
        EXPECT_EQ(r.content.notes, c.notes);
        EXPECT_EQ(r.content.logs[0].Samples.size(), 5000u);
    }
}

TEST(CompressedLogFile, DamagedContainersGiveAnErrorNotLogs) {
    const QByteArray packed = bytesOf(someLogs(), true);
    const QByteArray header = packed.left(kLogFileHeaderSize);
    const QByteArray cab = packed.mid(kLogFileHeaderSize);

    QByteArray flipped = cab;
    flipped[cab.size() - 10] = char(flipped[cab.size() - 10] ^ 0x55);
    QByteArray hugeClaim = cab;  // the member claims 4 GB in a tiny cabinet
    const quint32 filesAt = qFromLittleEndian<quint32>(cab.constData() + 16);
    qToLittleEndian<quint32>(0xFFFFFFF0u, hugeClaim.data() + filesAt);

    QByteArray extraBlocks = cab;  // the folder claims far more blocks than its member fills
    const qsizetype folderAt = 36;
    qToLittleEndian<quint16>(60000, extraBlocks.data() + folderAt + 4);

    const LogFileContent other = someLogs();
    QString error;
    const QByteArray wrongMember =
        MakeCabinet({CabinetMember{QStringLiteral("other.bin"), bytesOf(other, false).mid(12)}}, &error)
            .value();

    struct Case {
        const char* what;
        QByteArray rest;
    };
    const Case cases[] = {
        {"no cabinet at all", QByteArray("this is not a cabinet, only some text")},
        {"nothing after the header", QByteArray()},
        {"half a cabinet", cab.left(cab.size() / 2)},
        {"cabinet tables only", cab.left(60)},
        {"a damaged block", flipped},
        {"a member larger than its blocks", hugeClaim},
        {"more blocks than the member fills", extraBlocks},
        {"no member vuma.tmp", wrongMember},
    };
    for (const Case& c : cases) {
        const LogFileResult r = ParseLogFile(header + c.rest, LogFileReadContext());
        EXPECT_FALSE(r.ok()) << c.what;
        EXPECT_FALSE(r.error.isEmpty()) << c.what;
        EXPECT_TRUE(r.content.logs.isEmpty()) << c.what;
    }
}

TEST(Cabinet, SeveralMembersListAndExtractInOrder) {
    QString error;
    const QList<CabinetMember> members = {{QStringLiteral("fw.hex"), QByteArray(70000, 'h')},
                                          {QStringLiteral("readme.txt"), QByteArray("hello")},
                                          {QStringLiteral("empty"), QByteArray()}};
    const std::optional<QByteArray> cab = MakeCabinet(members, &error);
    ASSERT_TRUE(cab.has_value()) << error.toStdString();
    EXPECT_EQ(ListCabinet(*cab, &error),
              QStringList({QStringLiteral("fw.hex"), QStringLiteral("readme.txt"), QStringLiteral("empty")}));
    const std::optional<QList<CabinetMember>> out = ExtractCabinet(*cab, &error);
    ASSERT_TRUE(out.has_value()) << error.toStdString();
    ASSERT_EQ(out->size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((*out)[i].name, members[i].name);
        EXPECT_EQ((*out)[i].data, members[i].data);
    }

    QTemporaryDir dir;
    ASSERT_TRUE(ExtractCabinetToFolder(*cab, dir.path(), &error)) << error.toStdString();
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("readme.txt"))), QByteArray("hello"));

    // A stored name with a folder part must not escape the target folder.
    const std::optional<QByteArray> climbing =
        MakeCabinet({{QStringLiteral("../evil"), QByteArray("x")}}, &error);
    ASSERT_TRUE(climbing.has_value());
    QTemporaryDir target;
    EXPECT_FALSE(ExtractCabinetToFolder(*climbing, target.filePath(QStringLiteral("sub")), &error));
    EXPECT_FALSE(QFile::exists(target.filePath(QStringLiteral("evil"))));
}
