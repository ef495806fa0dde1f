#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "link/devicelink.h"
#include "link/simdevice.h"
#include "mainwindowfixture.h"
#include "support/delay.h"
#include "support/inifile.h"
#include "widgets/tled.h"

// Start-up against the simulated device in virtual time: the scan finds it, the receive loop
// runs, the first measurement reply makes it present.
class DeviceStartupTest : public MainWindowTest {
protected:
    void SetUp() override {
        SimDeviceOptions options;
        options.name = QStringLiteral("VUMA 42");
        device = std::make_unique<SimDevice>(clock, options);
        ports.addPeer(QStringLiteral("SIM"), device.get());
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        ports.removePeer(QStringLiteral("SIM"));
    }
    std::unique_ptr<SimDevice> device;
};

TEST_F(DeviceStartupTest, FoundDeviceBecomesPresentWithNameAndLiveValues) {
    createWindow();
    EXPECT_TRUE(window->Link().isPortOpen());
    EXPECT_EQ(window->PortName, QStringLiteral("SIM"));
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Close"));
    EXPECT_FALSE(window->cbPort->isEnabled());
    window->show();
    Delay(clock, 3000);
    EXPECT_TRUE(window->Led1->isOn());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Altitude Logger - VUMA 42 []"));
    EXPECT_NE(window->lbTemp->text(), QStringLiteral("0°C"));
    EXPECT_NE(window->lbAlt->text(), QStringLiteral("0 m"));
    EXPECT_TRUE(window->IsCommandEnabled(QStringLiteral("btnReadLogStart")));
    EXPECT_EQ(IniFile::load(home.settingsFile()).readString("main", "port", ""), QStringLiteral("SIM"));

    // The device falls silent: the watchdog turns it absent and the caption loses the name.
    device->options().fault = SimFault::Silent;
    Delay(clock, 3000);
    EXPECT_FALSE(window->Led1->isOn());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Altitude Logger -  []"));
    EXPECT_FALSE(window->IsCommandEnabled(QStringLiteral("btnReadLogStart")));
    // ... and is back with its next answer.
    device->options().fault = SimFault::None;
    Delay(clock, 3000);
    EXPECT_TRUE(window->Led1->isOn());
}

TEST_F(DeviceStartupTest, WithoutAutoOpenTheFoundPortIsOnlyRemembered) {
    home.writeSettings("[main]\nPortAutoOpen=0\nport=ttyS9\n");
    createWindow();
    EXPECT_FALSE(window->Link().isPortOpen());
    EXPECT_EQ(window->cbPort->currentText(), QStringLiteral("SIM"));
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Open"));
    EXPECT_EQ(IniFile::load(home.settingsFile()).readString("main", "port", ""), QStringLiteral("SIM"));
}

TEST_F(DeviceStartupTest, NeitherScanNorAutoOpenLeavesThePortAlone) {
    home.writeSettings("[main]\nPortAutoOpen=0\nScanPorts=0\nport=ttyS9\n");
    createWindow();
    EXPECT_FALSE(window->Link().isPortOpen());
    EXPECT_TRUE(device->receivedLines().isEmpty());
    EXPECT_EQ(window->PortName, QStringLiteral("ttyS9"));
}

TEST_F(DeviceStartupTest, UnpluggedDeviceNeverFreezesAndTheWatchdogTurnsItAbsent) {
    createWindow();
    window->show();
    Delay(clock, 2500);
    ASSERT_TRUE(window->Led1->isOn());
    ports.removePeer(QStringLiteral("SIM"));
    Delay(clock, 3000);
    EXPECT_FALSE(window->Led1->isOn());
    EXPECT_TRUE(window->Link().isPortOpen());  // the port stays open until the user closes it
    window->btnOpenClick();
    EXPECT_EQ(window->btnOpen->text(), QStringLiteral("Open"));
}
