#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "link/portscanner.h"
#include "linktestsupport.h"

namespace {

// Log lines without their time stamps.
QStringList logMessages(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList out;
    for (const QString& line :
         QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const int dash = line.indexOf(QStringLiteral(" - "));
        out << (dash >= 0 ? line.mid(dash + 3) : line);
    }
    return out;
}

class RecordingScanObserver : public PortScanObserver {
public:
    void scanStarted(int n) override { maximum = n; }
    void setText(const QString& t) override { texts << t; }
    void advance() override { ++steps; }
    int maximum = -1;
    QStringList texts;
    int steps = 0;
};

class PortScanTest : public ::testing::Test {
protected:
    PortScanTest() {
        for (const char* name : {"COM1", "COM3", "COM5"}) ports.addPeer(QString::fromLatin1(name), &quiet);
    }
    QString logPath() const { return dir.filePath(QStringLiteral("vuma.log")); }
    QStringList tried() const { return logMessages(logPath()).filter(QStringLiteral("Open port ")); }

    QTemporaryDir dir;
    VirtualClock clock;
    ScriptPeer quiet{clock};  // a port with something on it that never answers
    SimDevice device{clock};
    SimulatedPortProvider ports{clock};
    RecordingScanObserver ui;
};

TEST_F(PortScanTest, LastKnownPortIsTriedFirstInPlaceOfTheFirst) {
    QString name = QStringLiteral("com5");
    EXPECT_EQ(ScanForDevice(clock, ports, {true, true}, name, &ui, logPath()), nullptr);
    EXPECT_EQ(tried(), (QStringList{"Open port " + PortPath("COM5"), "Open port " + PortPath("COM3"),
                                    "Open port " + PortPath("COM1")}));
    EXPECT_EQ(ui.maximum, 3);
    EXPECT_EQ(ui.texts.first(), QStringLiteral("Connecting to port ") + PortPath("COM5"));
    // No answer anywhere: the last known name is kept but cannot be opened as "com5".
    EXPECT_EQ(ui.texts.last(), QStringLiteral("Connecting to last known port ") + PortPath("com5"));
    EXPECT_EQ(name, QStringLiteral("com5"));
}

TEST_F(PortScanTest, LogTellsEachStepOfATriedPort) {
    ports.addPeer(QStringLiteral("COM3"), &device);
    QString name;
    auto port = ScanForDevice(clock, ports, {true, true}, name, &ui, logPath());
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(name, QStringLiteral("COM3"));
    const QStringList log = logMessages(logPath());
    const QString com3 = PortPath(QStringLiteral("COM3"));
    // One entry per step; the read data start on a line of their own, cut to 60 characters.
    const QStringList want = {"Open port " + PortPath("COM1"),
                              "ComHandle = 1",
                              "Inicialize port",
                              "Writing command ECHO",
                              "Reading command ECHO",
                              "\nRead data ",
                              "Wrong data ($00D0 expected)",
                              "Open port " + com3,
                              "ComHandle = 2",
                              "Inicialize port",
                              "Writing command ECHO",
                              "Reading command ECHO",
                              "\nRead data csv c\nVUMA altitude logger, VUMA demo\n>UN: VUMA d",
                              "Found port with vuma00 " + com3};
    EXPECT_EQ(log, want);
    // The kept port is live: the device answers through it.
    port->write("meas\n");
    clock.advance(20);
    char buf[64];
    EXPECT_GT(port->read(buf, sizeof buf), 0);
}

TEST_F(PortScanTest, PortThatCannotBeOpenedIsLoggedAndSkipped) {
    auto blocker = ports.createPort();
    ASSERT_TRUE(blocker->open(QStringLiteral("COM1")));
    QString name;
    ScanForDevice(clock, ports, {true, false}, name, &ui, logPath());
    const QStringList log = logMessages(logPath());
    ASSERT_GE(log.size(), 3);
    EXPECT_EQ(log[1], QStringLiteral("ComHandle = -1"));
    EXPECT_TRUE(log[2].startsWith(QStringLiteral("GetLastError = ")));
    EXPECT_TRUE(log[2].endsWith(QStringLiteral(" (%1)").arg(int(PortOpenError::Busy))))
        << log[2].toStdString();
    EXPECT_EQ(log[3], QStringLiteral("Open port ") + PortPath(QStringLiteral("COM3")));
}

TEST_F(PortScanTest, IdentityWordMustBeThereInCapitals) {
    const std::pair<QByteArray, bool> cases[] = {
        {"csv c\r\nVUMA\r\n>", true},
        {"xxVUMAxx", true},
        {"vuma altimeter\n>", false},
        {"VUM", false},
        {"", false},
        {"csv c\n>", false},
    };
    for (const auto& [reply, accepted] : cases) {
        SCOPED_TRACE(reply.constData());
        VirtualClock clk;
        ScriptPeer peer(clk);
        peer.onLine = [r = reply](const QByteArray&) { return QList<ScriptPeer::Piece>{{5, r}}; };
        SimulatedPortProvider p(clk);
        p.addPeer(QStringLiteral("ttyUSB0"), &peer);
        QString name;
        auto port = ScanForDevice(clk, p, {true, true}, name, nullptr, logPath());
        EXPECT_EQ(port != nullptr, accepted);
        EXPECT_EQ(name, accepted ? QStringLiteral("ttyUSB0") : QString());
    }
}

TEST_F(PortScanTest, DeviceThatNeverStopsTalkingDoesNotHoldTheScan) {
    ScriptPeer chatty(clock);
    std::function<void()> babble = [&] {
        chatty.sendLater(0, QByteArray(64, 'x'));
        clock.schedulePeerEvent(5, babble);
    };
    ports.addPeer(QStringLiteral("COM1"), &chatty);
    clock.schedulePeerEvent(0, babble);
    QString name;
    const quint32 t0 = clock.tickCount();
    ScanForDevice(clock, ports, {true, false}, name, nullptr, logPath());
    EXPECT_LT(clock.tickCount() - t0, 120000u);
    EXPECT_EQ(tried().size(), 3);
}

// Which port the start-up gets and which name it keeps, for every combination of the settings.
TEST_F(PortScanTest, OutcomeTable) {
    struct Case {
        bool scan, autoOpen, devicePresent;
        bool portReturned;
        const char* nameAfter;
    };
    const Case cases[] = {
        {false, false, true, false, "COM1"},  // no scan at all, name unchanged
        {true, true, true, true, "COM5"},     // found and kept open
        {true, true, false, true, "COM1"},    // fallback: last known port opened unchecked
        {true, false, true, false, "COM5"},   // found, closed again
        {true, false, false, false, "COM1"},  // nothing found
        {false, true, true, true, "COM1"},    // no scan: last known port opened unchecked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scan << c.autoOpen << c.devicePresent);
        VirtualClock clk;
        ScriptPeer silent(clk);
        SimDevice dev(clk);
        SimulatedPortProvider p(clk);
        p.addPeer(QStringLiteral("COM1"), &silent);
        p.addPeer(QStringLiteral("COM5"), c.devicePresent ? static_cast<SimulatedPeer*>(&dev) : &silent);
        QString name = QStringLiteral("COM1");
        RecordingScanObserver seen;
        auto port = ScanForDevice(clk, p, {c.scan, c.autoOpen}, name, &seen, logPath());
        EXPECT_EQ(port != nullptr, c.portReturned);
        if (port) EXPECT_TRUE(port->isOpen());
        EXPECT_EQ(name, QString::fromLatin1(c.nameAfter));
        EXPECT_EQ(seen.maximum >= 0, c.scan || c.autoOpen);  // the window shows only when something runs
    }
}

TEST_F(PortScanTest, NoPortsAndNoNameGiveNothing) {
    SimulatedPortProvider empty(clock);
    QString name;
    EXPECT_EQ(ScanForDevice(clock, empty, {true, true}, name, &ui, logPath()), nullptr);
    EXPECT_EQ(ui.maximum, 0);
    EXPECT_TRUE(ui.texts.isEmpty());
}

}  // namespace
