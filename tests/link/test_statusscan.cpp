#include <gtest/gtest.h>

#include <random>

#include "link/statusscanner.h"
#include "linktestsupport.h"

namespace {

QString valueOf(const StatusScanResult& r, StatusKey key) {
    const auto& v = r.value(key);
    return v ? QString::fromLatin1(*v) : QStringLiteral("<none>");
}

TEST(StatusScanner, FindsCompleteLinesAndTheLastOneWins) {
    struct Case {
        const char* history;
        StatusKey key;
        const char* line;  // the newest complete line, key included
    };
    const Case cases[] = {
        {"UN: Glider\n", StatusKey::Name, "UN: Glider"},
        {"xxUN: Bob\n", StatusKey::Name, "UN: Bob"},        // inside other text
        {"UN: A\nUN: B\n", StatusKey::Name, "UN: B"},       // two in one chunk
        {"UN: a UN: b\n", StatusKey::Name, "UN: a UN: b"},  // a key inside a value stays in it
        {"UN: partial", StatusKey::Name, "<none>"},         // waits for its line feed
        {"HW: 2.1\r\n", StatusKey::Hw, "HW: 2.1\r"},        // carriage return kept
        {"Mem used: 12\nMem used: 40\n", StatusKey::MemUsed, "Mem used: 40"},
        {"Uptime: 75\nUN: x\n", StatusKey::Uptime, "Uptime: 75"},
        {"EE:\n", StatusKey::Ee, "EE:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.history);
        StatusScanner scanner;
        EXPECT_EQ(valueOf(scanner.scan(c.history), c.key), QString::fromLatin1(c.line));
    }
}

TEST(StatusScanner, LineSplitAcrossChunksIsTakenWhenItsLineFeedArrives) {
    StatusScanner scanner;
    QByteArray history = "garbage U";
    EXPECT_FALSE(scanner.scan(history).any());
    history += "N: Na";
    EXPECT_FALSE(scanner.scan(history).any());
    history += "me\nFW";
    EXPECT_EQ(valueOf(scanner.scan(history), StatusKey::Name), QStringLiteral("UN: Name"));
    history += ": 9\n";
    const StatusScanResult r = scanner.scan(history);
    EXPECT_EQ(valueOf(r, StatusKey::Name), QStringLiteral("<none>"));  // not reported twice
    EXPECT_EQ(valueOf(r, StatusKey::Fw), QStringLiteral("FW: 9"));
    EXPECT_EQ(scanner.resumePos(StatusKey::Fw), history.size());  // at the line feed, 1-based
}

// The scanner's memo of how far it searched must not change what it finds: compare it, over
// random chunkings of a busy history, with a search that starts over from the resume positions
// on every chunk.
TEST(StatusScanner, IncrementalScanMatchesAFullRescanForAnyChunking) {
    const char* const keys[] = {"UN:", "Uptime:", "HW:", "FW:", "SN:", "EE:", "Mem used:"};
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        QByteArray text;
        const char* pieces[] = {
            "UN: ", "Uptime: ", "HW: ", "FW: ", "SN: ",  "EE: ", "Mem used: ", "\n", "\r\n",
            "x",    "U",        "N:",   "Mem ", "used:", "12",   "meas\n",     ">",  " "};
        for (int i = 0; i < 300; ++i) text += pieces[rng() % std::size(pieces)];

        StatusScanner scanner;
        qsizetype resume[kStatusKeyCount] = {};
        QByteArray history;
        for (qsizetype pos = 0; pos < text.size();) {
            const qsizetype n = qMin<qsizetype>(1 + rng() % 12, text.size() - pos);
            history += text.mid(pos, n);
            pos += n;
            const StatusScanResult got = scanner.scan(history);
            for (int k = 0; k < kStatusKeyCount; ++k) {
                std::optional<QByteArray> want;
                for (;;) {
                    const qsizetype at = history.indexOf(keys[k], resume[k]);
                    if (at < 0) break;
                    const qsizetype lf = history.indexOf('\n', at);
                    if (lf < 0) break;
                    want = history.mid(at, lf - at);
                    resume[k] = lf;
                }
                ASSERT_EQ(got.values[k], want) << "key " << keys[k] << " round " << round << " at " << pos;
            }
        }
    }
}

TEST(StatusFormatting, UptimeText) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "  0min"},          {"75", " 1h 15min"}, {"1500", "1day 1h 0min"}, {"3000", "2days 2h 0min"},
        {"1440", "1day 0h 0min"}, {"59", "  59min"},   {" 60\r", " 1h 0min"},    {"abc", "  0min"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(FormatUptime(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

TEST(StatusFormatting, MemoryPercentRoundsHalfToEvenAndFreeKbTruncates) {
    struct Case {
        qint32 bytes;
        int percent, freeKb;
    };
    const Case cases[] = {
        {32768, 25, 96}, {64, 0, 127}, {16384, 12, 112}, {49152, 38, 80}, {0, 0, 128}, {131072, 100, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MemoryPercent(c.bytes), c.percent) << c.bytes;
        EXPECT_EQ(FreeMemoryKb(c.bytes), c.freeKb) << c.bytes;
    }
}

// The dispatcher applies the lines: values are cut after the key as the device's layout gives them.
TEST(StatusScanInLink, StatusLinesSetTheDeviceState) {
    VirtualClock clock;
    ScriptPeer peer(clock);
    LinkRig rig(clock, peer);
    DeviceLink& link = rig.link;
    link.dispatch("UN: My Vuma\nUptime: 1500\nHW: 2.1\nFW: 1.0\r\nSN: 77\nEE: ok\nMem used: 8192\n");
    EXPECT_EQ(link.DeviceName, QStringLiteral("My Vuma"));
    EXPECT_EQ(link.UptimeText, QStringLiteral("1500"));
    EXPECT_EQ(rig.observer.uptimes, QStringList{QStringLiteral("1day 1h 0min")});
    EXPECT_EQ(link.HwText, QStringLiteral("HW: 2.1"));
    EXPECT_EQ(link.FwText, QStringLiteral("FW: 1.0\r"));
    EXPECT_EQ(link.SnText, QStringLiteral("SN: 77"));
    EXPECT_EQ(link.EeText, QStringLiteral("EE: ok"));
    EXPECT_EQ(link.MemUsedBytes, 32768);
    EXPECT_EQ(rig.observer.memoryPercents, QList<int>{25});
    EXPECT_EQ(rig.observer.memoryHints, QStringList{QStringLiteral("Free device memory 96kB")});

    link.dispatch("Mem used: lots\nMem used: 4096\n");
    EXPECT_EQ(link.MemUsedBytes, 16384);
    EXPECT_EQ(rig.observer.memoryPercents.last(), 12);
    link.dispatch("Mem used: 99999999999\n");  // saturates instead of wrapping
    EXPECT_GT(link.MemUsedBytes, 0);
}

}  // namespace
