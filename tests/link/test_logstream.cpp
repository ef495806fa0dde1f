#include <gtest/gtest.h>

#include <random>

#include "link/logstreamencoder.h"
#include "logs/altitude.h"
#include "logs/logstreamdecoder.h"

namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

struct Mark {
    int sample;
    int autoStop;
    int time;
};
std::vector<Mark> marksOf(const TMeas& log) {
    std::vector<Mark> marks;
    for (size_t i = 0; i < log.Samples.size(); ++i) {
        const TLogSample& s = log.Samples[i];
        if (s.AutoStop || s.AutoStopTime) marks.push_back({int(i), s.AutoStop, s.AutoStopTime});
    }
    return marks;
}
bool operator==(const Mark& a, const Mark& b) {
    return a.sample == b.sample && a.autoStop == b.autoStop && a.time == b.time;
}
void PrintTo(const Mark& m, std::ostream* os) {
    *os << "{" << m.sample << "," << m.autoStop << "," << m.time << "}";
}

TEST(LogStreamDecoder, AbsoluteAndDeltaRecordsGiveSamples) {
    const LogStreamDecodeResult r =
        DecodeLogStream(hex("E8 03 01 7F  CD 8B 00 7E  01 FF 80 80  80 80 80 80"));
    ASSERT_EQ(r.logs.size(), 1);
    const TMeas& log = r.logs[0];
    EXPECT_EQ(log.SamplePeriod, 1000);
    EXPECT_EQ(log.ZoomLevel, -1);
    EXPECT_EQ(log.ChartType, 0);
    EXPECT_EQ(log.LockZoom, 1);
    EXPECT_EQ(r.pressurePa[0], (std::vector<qint32>{101325, 101326, 101325}));
    ASSERT_EQ(log.Samples.size(), 3u);
    EXPECT_DOUBLE_EQ(log.Samples[0].Altitude, PressureToAltitude(1013.25));
    EXPECT_NEAR(log.Samples[1].Altitude, PressureToAltitude(1013.26), 1e-9);
    EXPECT_NEAR(log.Samples[2].Altitude, PressureToAltitude(1013.25), 1e-9);
    EXPECT_TRUE(marksOf(log).empty());
    EXPECT_TRUE(r.endMarkerSeen);
}

TEST(LogStreamDecoder, ControlRecords) {
    struct Case {
        const char* name;
        const char* stream;
        qint32 period;
        size_t samples;
        std::vector<Mark> marks;
    };
    const Case cases[] = {
        {"period 00 00 reads as 1000", "00 00 01 7F 00 00 00 7E", 1000, 1, {}},
        {"period 250", "FA 00 01 7F 00 00 00 7E", 250, 1, {}},
        {"auto stop before the first sample marks it",
         "00 00 01 7F 02 00 02 7F 00 00 00 7E",
         1000,
         1,
         {{0, 1, 2}}},
        {"auto stop before the second sample marks it",
         "00 00 01 7F 00 00 00 7E 02 00 02 7F 00 00 00 7E",
         1000,
         2,
         {{1, 1, 2}}},
        {"auto stop before the fourth sample marks the third",
         "00 00 01 7F 00 00 00 7E 01 01 80 80 02 00 02 7F 00 00 00 7E",
         1000,
         4,
         {{2, 1, 2}}},
        {"a delta after the auto-stop record discards it",
         "00 00 01 7F 00 00 00 7E 01 01 80 80 02 00 02 7F 01 80 80 80 00 00 00 7E",
         1000,
         5,
         {}},
        {"final auto stop marks the last sample",
         "00 00 01 7F 00 00 00 7E 01 01 80 80 00 00 00 81",
         1000,
         3,
         {{2, 1, -1}}},
        {"final auto stop in an empty log does nothing", "00 00 01 7F 00 00 00 81", 1000, 0, {}},
        {"other control records are ignored", "00 00 01 7F 00 00 00 7E 05 00 03 7F 01 80 80 80", 1000, 2, {}},
        {"a time of 65535 seconds", "00 00 01 7F FF FF 02 7F 00 00 00 7E", 1000, 1, {{0, 1, 65535}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LogStreamDecodeResult r = DecodeLogStream(hex(c.stream));
        ASSERT_EQ(r.logs.size(), 1);
        EXPECT_EQ(r.logs[0].SamplePeriod, c.period);
        EXPECT_EQ(r.logs[0].Samples.size(), c.samples);
        EXPECT_EQ(marksOf(r.logs[0]), c.marks);
        EXPECT_FALSE(r.endMarkerSeen);
    }
}

TEST(LogStreamDecoder, EachLogStartBeginsANewLogWithFreshState) {
    const LogStreamDecodeResult r = DecodeLogStream(hex(
        "00 00 01 7F 10 00 00 7E 02 00 02 7F  F4 01 01 7F 01 80 80 80 20 00 00 7E 80 80 80 80 00 00 01 7F"));
    ASSERT_EQ(r.logs.size(), 2);  // nothing after the end marker is read
    EXPECT_EQ(r.pressurePa[0], std::vector<qint32>{65536 + 16});
    EXPECT_EQ(r.logs[1].SamplePeriod, 500);
    // The second log's first delta starts from 0, not from the first log's pressure.
    EXPECT_EQ(r.pressurePa[1], (std::vector<qint32>{1, 65536 + 32}));
    EXPECT_TRUE(marksOf(r.logs[1]).empty());  // the pending time did not carry over
}

TEST(LogStreamDecoder, DamagedStreamsAreReadAsFarAsTheyMakeSense) {
    struct Case {
        const char* name;
        QByteArray stream;
        int logs;
        size_t samples;  // of the last log
        int ignored;
    };
    const Case cases[] = {
        {"samples before the first log start",
         hex("00 00 00 7E 01 02 03 04 00 00 00 81 00 00 01 7F 00 00 00 7E"), 1, 1, 3},
        {"last record cut short", hex("00 00 01 7F 00 00 00 7E 01 02 03"), 1, 1, 1},
        {"only part of a record", hex("00 00"), 0, 0, 1},
        {"empty", QByteArray(), 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LogStreamDecodeResult r = DecodeLogStream(c.stream);
        EXPECT_EQ(r.logs.size(), c.logs);
        if (c.logs) EXPECT_EQ(r.logs.last().Samples.size(), c.samples);
        EXPECT_EQ(r.ignoredRecords, c.ignored);
    }
}

TEST(LogStreamDecoder, StreamStartIsThreeBytesBeforeTheFirst7F) {
    EXPECT_EQ(FindLogStreamStart("lgr b\n" + hex("E8 03 01 7F")), 6);
    EXPECT_EQ(FindLogStreamStart(hex("03 01 7F 00")), -1);  // within the first three bytes
    EXPECT_EQ(FindLogStreamStart("lgr b\n>"), -1);
    EXPECT_TRUE(ContainsLogStreamEnd(hex("01 80 80 80 80 00")));
    EXPECT_FALSE(ContainsLogStreamEnd(hex("80 80 80 00 80")));
}

// --- encoder ------------------------------------------------------------------------------

DeviceLog makeLog(quint16 period, std::vector<qint32> pressures, std::vector<Mark> marks = {}) {
    DeviceLog log;
    log.periodMs = period;
    for (qint32 p : pressures) log.samples.push_back({p, 0});
    for (const Mark& m : marks) log.samples[m.sample].autoStopTime = m.time;
    return log;
}

void expectRoundTrip(const std::vector<DeviceLog>& logs) {
    QString error;
    const QByteArray stream = EncodeLogStream(logs, &error);
    ASSERT_FALSE(stream.isEmpty()) << error.toStdString();
    ASSERT_TRUE(stream.endsWith("\x80\x80\x80\x80"));
    // The reader must neither stop early nor miss the start.
    EXPECT_FALSE(ContainsLogStreamEnd(QByteArrayView(stream).first(stream.size() - 4)));
    const QByteArray received = "lgr b\n" + stream;
    if (!logs.empty()) ASSERT_EQ(FindLogStreamStart(received), 6);
    const LogStreamDecodeResult r = DecodeLogStream(QByteArrayView(received).sliced(6));
    EXPECT_TRUE(r.endMarkerSeen);
    ASSERT_EQ(r.logs.size(), qsizetype(logs.size()));
    for (size_t i = 0; i < logs.size(); ++i) {
        const DeviceLog& in = logs[i];
        const TMeas& out = r.logs[qsizetype(i)];
        EXPECT_EQ(out.SamplePeriod, in.periodMs == 0 ? 1000 : in.periodMs);
        ASSERT_EQ(out.Samples.size(), in.samples.size());
        std::vector<Mark> want;
        for (size_t j = 0; j < in.samples.size(); ++j) {
            ASSERT_EQ(r.pressurePa[qsizetype(i)][j], in.samples[j].pressurePa)
                << "log " << i << " sample " << j;
            ASSERT_NEAR(out.Samples[j].Altitude, PressureToAltitude(in.samples[j].pressurePa / 100.0), 1e-6);
            if (in.samples[j].autoStopTime) want.push_back({int(j), 1, in.samples[j].autoStopTime});
        }
        EXPECT_EQ(marksOf(out), want) << "log " << i;
    }
}

TEST(LogStreamEncoder, CasesTheReaderWouldMisread) {
    struct Case {
        const char* name;
        std::vector<DeviceLog> logs;
    };
    const qint32 p = 100000;
    const Case cases[] = {
        {"fourth delta +126 reads as absolute", {makeLog(1000, {p, p + 1, p + 2, p + 3, p + 129, p + 130})}},
        {"fourth delta +127 reads as control", {makeLog(1000, {p, p + 1, p + 2, p + 3, p + 130})}},
        {"fourth delta -127 reads as final auto stop", {makeLog(1000, {p, p + 1, p + 2, p + 3, p - 124})}},
        {"fill before a log start with period 0x8080", {makeLog(1000, {p, p + 1}), makeLog(0x8080, {p, p})}},
        {"fill before an absolute with 80 80 80",
         {makeLog(1000, {p, p + 1, p + 2, 65536 + 0x808080, 65536 + 0x808081})}},
        {"fill before an auto-stop time 0x8080",
         {makeLog(1000, {p, p + 1, p + 2, p + 3, p + 4, p + 5, p + 6}, {{5, 0, 0x8080}})}},
        {"first period with a 7F byte", {makeLog(127, {p, p + 1}), makeLog(0x7F00, {p})}},
        {"delta too large", {makeLog(1000, {p, p + 128, p - 128 + 128, p + 5})}},
        {"marks on the first, second and later samples",
         {makeLog(1000, {p, p, p, p, p, p, p}, {{0, 0, 5}, {1, 0, 6}, {2, 0, 7}, {4, 0, 8}, {6, 0, -1}})}},
        {"pressure limits",
         {makeLog(1000, {kMinRecordPressurePa, kMaxRecordPressurePa, kMinRecordPressurePa + 1})}},
        {"an empty log and no logs", {makeLog(1000, {}), makeLog(2000, {p})}},
        {"no logs at all", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectRoundTrip(c.logs);
    }
}

TEST(LogStreamEncoder, RefusesWhatTheStreamCannotCarry) {
    const qint32 p = 100000;
    const std::vector<DeviceLog> bad[] = {
        {makeLog(1000, {p, 65535})},
        {makeLog(1000, {p, p}, {{1, 0, 5}})},         // a mark on the last sample
        {makeLog(1000, {p, p}, {{0, 0, -1}})},        // a final auto stop before the end
        {makeLog(1000, {p, p, p}, {{0, 0, 70000}})},  // time beyond 16 bits
    };
    for (const auto& logs : bad) {
        QString error;
        EXPECT_TRUE(EncodeLogStream(logs, &error).isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(LogStreamEncoder, RandomLogsDecodeBackUnchanged) {
    std::mt19937 rng(20261210);
    const int edgeDeltas[] = {0, 1, -1, 126, 127, -126, -127, 128, -128, 300, -300};
    const quint16 edgePeriods[] = {0, 1000, 127, 0x7F7F, 0x8080, 0x80, 65535, 250};
    for (int round = 0; round < 300; ++round) {
        std::vector<DeviceLog> logs(rng() % 4);
        for (DeviceLog& log : logs) {
            log.periodMs = rng() % 3 ? edgePeriods[rng() % std::size(edgePeriods)] : quint16(rng());
            const int n = int(rng() % 40);
            qint32 pa = rng() % 5 == 0 ? (rng() % 2 ? kMinRecordPressurePa : kMaxRecordPressurePa)
                                       : qint32(80000 + rng() % 30000);
            if (rng() % 7 == 0) pa = 65536 + 0x808080;
            for (int j = 0; j < n; ++j) {
                if (j > 0) {
                    const int d =
                        rng() % 2 ? edgeDeltas[rng() % std::size(edgeDeltas)] : int(rng() % 41) - 20;
                    pa = qBound(kMinRecordPressurePa, pa + d, kMaxRecordPressurePa);
                }
                DeviceLogSample s{pa, 0};
                if (j + 1 < n && rng() % 6 == 0) s.autoStopTime = rng() % 3 ? int(1 + rng() % 600) : 0x8080;
                if (j + 1 == n && rng() % 3 == 0) s.autoStopTime = -1;
                log.samples.push_back(s);
            }
        }
        SCOPED_TRACE(round);
        expectRoundTrip(logs);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
