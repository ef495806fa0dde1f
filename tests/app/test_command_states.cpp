#include <QAction>
#include <QPushButton>
#include <QSet>

#include "link/devicelink.h"
#include "mainwindowfixture.h"
#include "widgets/tblockprogressbar.h"
#include "widgets/tcirclebar.h"
#include "widgets/tled.h"

namespace {

using State = TfrmMain::CommandState;

const QStringList kDeviceItems = {
    "btnReadLog",       "btnReadLogStart", "lbReadLog", "lbReadLogSh",     "btnClearLog",
    "btnClearLogStart", "lbReset",         "lbResetSh", "btnDeviceConfig", "btnDeviceConfigStart",
    "lbConfig",         "lbConfigSh",      "miRead",    "miClear",         "miConf",
    "miResetTimer"};

// Everything any event touches, plus controls no event may touch.
QStringList trackedItems() {
    QStringList all = kDeviceItems;
    all << "btnFlash"
        << "btnVerify"
        << "miFlash"
        << "miVerify"
        << "btnDeviceRestart"
        << "miRestart"
        << "cbPort"
        << "lbPort"
        << "btnOpenFile"
        << "miOpen"
        << "btnSettings"
        << "btnSaveFile"
        << "btnOpen"
        << "cbBaud";
    return all;
}

struct StateCase {
    State state;
    QStringList enabled;
    QStringList disabled;
};

}  // namespace

class CommandStateTest : public MainWindowTest {
protected:
    bool isEnabled(const QString& name) const {
        EXPECT_NE(window->findChild<QObject*>(name), nullptr) << name.toStdString();
        return window->IsCommandEnabled(name);
    }
    void setAll(bool enabled) {
        for (const QString& name : trackedItems()) {
            QObject* o = window->findChild<QObject*>(name);
            if (auto* w = qobject_cast<QWidget*>(o)) w->setEnabled(enabled);
            if (auto* a = qobject_cast<QAction*>(o)) {
                a->setEnabled(enabled);
                a->setProperty("commandEnabled", enabled);
            }
        }
    }
};

TEST_F(CommandStateTest, EachEventTouchesExactlyItsItems) {
    createWindow();
    QStringList portClosedDisables = kDeviceItems;
    portClosedDisables << "btnFlash"
                       << "btnVerify"
                       << "miFlash"
                       << "miVerify";
    const StateCase cases[] = {
        {State::DevicePresent, kDeviceItems, {}},
        {State::DeviceAbsent, {}, kDeviceItems},
        {State::PortOpened,
         {"btnReadLog", "btnClearLog", "btnDeviceConfig", "btnFlash", "btnVerify", "miFlash", "miVerify",
          "btnDeviceRestart"},
         {"cbPort", "lbPort"}},
        {State::PortClosed, {"cbPort", "lbPort"}, portClosedDisables},
        {State::StartupWithoutPort,
         {"cbPort", "lbPort"},
         {"btnReadLog", "btnReadLogStart", "lbReadLog", "lbReadLogSh", "btnClearLog", "btnClearLogStart",
          "lbReset", "lbResetSh", "btnDeviceConfig", "btnDeviceConfigStart", "lbConfig", "lbConfigSh",
          "btnFlash", "btnVerify", "btnDeviceRestart"}},
    };
    for (const StateCase& c : cases) {
        for (bool start : {true, false}) {
            setAll(start);
            window->ApplyCommandState(c.state);
            for (const QString& name : trackedItems()) {
                const bool expected = c.enabled.contains(name)    ? true
                                      : c.disabled.contains(name) ? false
                                                                  : start;
                EXPECT_EQ(isEnabled(name), expected)
                    << "state " << int(c.state) << ", starting " << (start ? "enabled" : "disabled") << ": "
                    << name.toStdString();
            }
        }
    }
}

TEST_F(CommandStateTest, PresenceDrivesLedGaugeAndMemoryBar) {
    createWindow();
    EXPECT_EQ(window->CircleBar1->progress(), -1);
    EXPECT_EQ(window->CircleBar1->toolTip(), QStringLiteral("Device is not connected."));
    EXPECT_EQ(window->pbMemory->toolTip(), QStringLiteral("Device is not connected."));

    window->SetDeviceConnected(true);
    EXPECT_TRUE(window->Led1->isOn());
    EXPECT_EQ(window->CircleBar1->progress(), 0);  // no memory report yet
    EXPECT_EQ(window->pbMemory->position(), 0);

    window->Link().MemUsedBytes = 65536;
    window->SetDeviceConnected(true);
    EXPECT_EQ(window->CircleBar1->progress(), 50);
    EXPECT_EQ(window->pbMemory->position(), 50);

    window->SetDeviceConnected(false);
    EXPECT_FALSE(window->Led1->isOn());
    EXPECT_EQ(window->CircleBar1->progress(), -1);
    EXPECT_EQ(window->pbMemory->position(), 0);
    EXPECT_EQ(window->pbMemory->toolTip(), QStringLiteral("Device is not connected."));
}

TEST_F(CommandStateTest, OpenButtonCaptionFollowsThePort) {
    createWindow();
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Open"));
    window->ApplyCommandState(State::PortOpened);
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Close"));
    window->SetDeviceConnected(true);
    window->ApplyCommandState(State::PortClosed);
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Open"));
    EXPECT_FALSE(window->Led1->isOn());
}

TEST_F(CommandStateTest, StartWithoutPortLeavesTheMenuItemsEnabled) {
    createWindow();
    for (const char* name : {"miRead", "miClear", "miConf", "miResetTimer", "miFlash", "miRestart"}) {
        EXPECT_TRUE(isEnabled(QString::fromLatin1(name))) << name;
    }
    for (const char* name :
         {"btnReadLog", "btnReadLogStart", "lbReadLogSh", "btnDeviceRestart", "btnFlash"}) {
        EXPECT_FALSE(isEnabled(QString::fromLatin1(name))) << name;
    }
    EXPECT_TRUE(isEnabled(QStringLiteral("cbPort")));
}
