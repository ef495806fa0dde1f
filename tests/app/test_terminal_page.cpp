#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "link/devicelink.h"
#include "mainwindowfixture.h"

namespace {

/// Records what the program writes; answers nothing.
class RecordingPeer : public SimulatedPeer {
public:
    void connected(SimulatedLink& link) override { this->link = &link; }
    void disconnected() override { link = nullptr; }
    void receive(const QByteArray& bytes) override { received += bytes; }
    SimulatedLink* link = nullptr;
    QByteArray received;
};

}  // namespace

class TerminalPageTest : public MainWindowTest {
protected:
    void SetUp() override {
        ports.addPeer(QStringLiteral("SIM"), &peer);
        createWindow();
    }
    QString display() const { return window->edTerminal->toPlainText(); }
    RecordingPeer peer;
};

TEST_F(TerminalPageTest, ReceivedBytesShowWithUnprintablesSpelledOut) {
    window->Link().dispatch(QByteArray("A\x00\n", 3));
    window->Link().dispatch(
        QByteArray("\xb0"
                   "C\x1b\x80",
                   4));
    EXPECT_EQ(display(), QString::fromUtf8("A0x00;\n°C0x1B;0x80;"));
}

TEST_F(TerminalPageTest, EveryLineEndBreaksOnceAlsoAcrossChunks) {
    // A device line ending in CR LF shows an empty line after it; a pair split between two
    // chunks is still one pair.
    window->Link().dispatch("ab\r");
    window->Link().dispatch("\ncd\r\n");
    window->Link().dispatch("e");
    EXPECT_EQ(display(), QStringLiteral("ab\n\ncd\n\ne"));
}

TEST_F(TerminalPageTest, OpeningAndClosingThePortSwitchesTheCommands) {
    window->cbPort->setCurrentText(QStringLiteral("SIM"));
    ASSERT_EQ(window->cbPort->currentText(), QStringLiteral("SIM"));
    window->btnOpenClick();
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Close"));
    EXPECT_FALSE(window->cbPort->isEnabled());
    EXPECT_TRUE(window->Link().isPortOpen());
    EXPECT_TRUE(window->IsCommandEnabled(QStringLiteral("btnDeviceRestart")));
    window->btnOpenClick();
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Open"));
    EXPECT_TRUE(window->cbPort->isEnabled());
    EXPECT_FALSE(window->Link().isPortOpen());
}

TEST_F(TerminalPageTest, APortThatCannotBeOpenedIsReportedAndSelectionStaysUsable) {
    ports.removePeer(QStringLiteral("SIM"));
    window->btnOpenClick();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().first().startsWith(QStringLiteral("Com port couldn't be open.")));
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Open"));
    EXPECT_TRUE(window->cbPort->isEnabled());
    EXPECT_TRUE(window->lbPort->isEnabled());
}

TEST_F(TerminalPageTest, CommandLineSendsLinesAndWalksTheHistory) {
    window->cbPort->setCurrentText(QStringLiteral("SIM"));
    window->btnOpenClick();
    ASSERT_TRUE(window->Link().isPortOpen());
    window->Enableterminal1Click();
    QLineEdit* line = window->edCommand;
    auto send = [&](const QString& text) {
        line->setText(text);
        QTest::keyClick(line, Qt::Key_Return);
    };
    send(QStringLiteral("A"));
    send(QStringLiteral("B"));
    EXPECT_TRUE(peer.received.endsWith("A\nB\n")) << peer.received.constData();
    EXPECT_TRUE(line->text().isEmpty());
    QTest::keyClick(line, Qt::Key_Up);
    EXPECT_EQ(line->text(), QStringLiteral("B"));
    QTest::keyClick(line, Qt::Key_Up);
    EXPECT_EQ(line->text(), QStringLiteral("A"));
    QTest::keyClick(line, Qt::Key_Up);
    EXPECT_EQ(line->text(), QStringLiteral("A"));
    QTest::keyClick(line, Qt::Key_Down);
    EXPECT_EQ(line->text(), QStringLiteral("B"));
    QTest::keyClick(line, Qt::Key_Down);
    EXPECT_TRUE(line->text().isEmpty());
    EXPECT_EQ(window->TerminalHistory.index(), 2);
}
