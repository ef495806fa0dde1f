#include <gtest/gtest.h>

#include "link/terminal.h"
#include "linktestsupport.h"

namespace {

TEST(TerminalDisplay, SpellsOutUnprintableBytes) {
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("A\x00\n", 3), QStringLiteral("A0x00;\r\n")},
        {"\xB0", QStringLiteral("\u00B0")},
        {"\x1B[", QStringLiteral("0x1B;[")},
        {"a\rb", QStringLiteral("a\rb")},
        {"\x7F\x80\xFF", QStringLiteral("\x7F") + QStringLiteral("0x80;0xFF;")},
        {" ~", QStringLiteral(" ~")},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(FormatTerminalChunk(in), out) << in.toHex().constData();
}

TEST(CommandHistoryTest, AddsOnlyWhenDifferentFromTheLastEntry) {
    CommandHistory h;
    for (const char* line : {"A", "A", "B", "A", "", ""}) h.add(QString::fromLatin1(line));
    EXPECT_EQ(h.entries(), (QStringList{"A", "B", "A", ""}));
}

TEST(CommandHistoryTest, UpAndDownWalkTheEntries) {
    CommandHistory h;
    h.add(QStringLiteral("A"));
    h.add(QStringLiteral("B"));
    h.resetIndex();
    EXPECT_EQ(h.index(), 2);
    EXPECT_EQ(h.up(), QStringLiteral("B"));
    EXPECT_EQ(h.up(), QStringLiteral("A"));
    EXPECT_EQ(h.up(), std::nullopt);  // a third Up changes nothing
    EXPECT_EQ(h.index(), 0);
    EXPECT_EQ(h.down(), QStringLiteral("B"));
    EXPECT_EQ(h.down(), QString());  // past the last: empty line
    EXPECT_EQ(h.index(), 2);
    CommandHistory empty;
    EXPECT_EQ(empty.up(), std::nullopt);
    EXPECT_EQ(empty.down(), QString());
    EXPECT_EQ(empty.index(), 0);
}

TEST(TerminalSend, EnterWritesTheLineAndALineFeedAndResumesPolling) {
    VirtualClock clock;
    ScriptPeer peer(clock);
    LinkRig rig(clock, peer);
    ASSERT_EQ(rig.link.openPort(QStringLiteral("SIM")), QString());
    rig.link.tmCurrMeas.stop();
    peer.written.clear();
    CommandHistory h;
    SendTerminalLine(rig.link, h, QStringLiteral("cfg"));
    SendTerminalLine(rig.link, h, QString());
    EXPECT_EQ(peer.written, "cfg\n\n");  // no carriage return
    EXPECT_EQ(h.entries(), (QStringList{"cfg", ""}));
    EXPECT_EQ(h.index(), 2);
    EXPECT_TRUE(rig.link.tmCurrMeas.isActive());
    EXPECT_EQ(rig.link.LastActivity, clock.tickCount());
}

}  // namespace
