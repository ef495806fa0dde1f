#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/main_window.h"
#include "app/startpanel.h"
#include "link/devicelink.h"
#include "logs/altitude.h"
#include "mainwindowfixture.h"
#include "support/inifile.h"
#include "support/textfiles.h"
#include "widgets/tblockprogressbar.h"
#include "widgets/tcirclebar.h"
#include "widgets/tled.h"
#include "widgets/ttabcontrol.h"

TEST_F(MainWindowTest, EveryControlIsFoundByItsName) {
    createWindow();
    const char* const widgets[] = {
        "ToolBar1",
        "btnReadLog",
        "btnClearLog",
        "btnOpenFile",
        "btnSaveFile",
        "btnSaveAs",
        "btnSavePicture",
        "btnSettings",
        "btnDeviceConfig",
        "btnFlash",
        "btnVerify",
        "btnDeviceRestart",
        "Image1",
        "GroupBox1",
        "Led1",
        "lbTemp",
        "lbPress",
        "lbAlt",
        "Label8",
        "lbUptime",
        "cbShowAutoStops",
        "tbChartZoom",
        "CircleBar1",
        "PageControl1",
        "lbMessurement",
        "pbMemory",
        "paStart",
        "TabControl1",
        "chartGlobal",
        "ScrollBar1",
        "edNotes",
        "edTerminal",
        "edCommand",
        "lbPort",
        "cbPort",
        "cbBaud",
        "cbParity",
        "cbStopBit",
        "btnOpen",
        "btnClear",
        "StatusBar1",
        "ProgressBar1",
        "btnReadLogStart",
        "lbReadLog",
        "lbReadLogSh",
        "btnOpenFileStart",
        "lbLoadLog",
        "lbLoadLogSh",
        "btnDeviceConfigStart",
        "lbConfig",
        "lbConfigSh",
        "btnClearLogStart",
        "lbReset",
        "lbResetSh",
        "miFile",
        "miAction",
        "miDevice",
        "miLog",
        "miHelp",
        "pmList",
        "PopupMenu1",
    };
    for (const char* name : widgets) EXPECT_NE(find<QWidget>(name), nullptr) << name;
    const char* const actions[] = {
        "miOpen",
        "Appendfile2",
        "miSave",
        "miSaveAs",
        "Savecurrentgraphs1",
        "Close1",
        "miRead",
        "miClear",
        "miConf",
        "miResetTimer",
        "miFlash",
        "miVerify",
        "miRestart",
        "Deletelog2",
        "Splitlog1",
        "Clearsplitlines2",
        "miLockZoom2",
        "miLine2",
        "miPoint2",
        "Checkforupdates1",
        "miAbout",
        "Deletelog1",
        "miSplit",
        "Clearsplitlines1",
        "Chagnechartcolor1",
        "Changechartbackgroundcolor1",
        "Clearbackgroundimage1",
        "miLockZoom",
        "miLine",
        "miPoint",
        "Openfile1",
        "Appendfile1",
        "Clearterminal1",
        "Copyall1",
        "Enableterminal1",
    };
    for (const char* name : actions) EXPECT_NE(find<QAction>(name), nullptr) << name;
}

TEST_F(MainWindowTest, CaptionsAndTextsAreTheProgramsOwn) {
    createWindow();
    const std::pair<const char*, const char*> texts[] = {
        {"btnReadLog", "Read Logs"},
        {"btnClearLog", "Clear Logs"},
        {"btnOpenFile", "Open file ..."},
        {"btnSaveFile", "Save"},
        {"btnSaveAs", "Save as ..."},
        {"btnSavePicture", "Save picture"},
        {"btnSettings", "Settings"},
        {"btnDeviceConfig", "VUMA config"},
        {"btnDeviceRestart", "Restart device"},
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(find<QToolButton>(name)->text(), QString::fromLatin1(text)) << name;
    EXPECT_EQ(window->btnReadLog->toolTip(), QStringLiteral("Read all logs from VUMA device"));
    EXPECT_EQ(window->btnClearLog->toolTip(), QStringLiteral("Delete all logs on VUMA device"));
    EXPECT_EQ(window->btnSavePicture->toolTip(), QStringLiteral("Save current graph to picture file"));
    EXPECT_EQ(window->btnSettings->toolTip(), QStringLiteral("Customize PC application"));
    EXPECT_EQ(window->btnDeviceConfig->toolTip(), QStringLiteral("Update VUMA device configuration"));
    EXPECT_EQ(window->btnDeviceRestart->toolTip(), QStringLiteral("Reconnect VUMA device"));
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("Current measurements"));
    EXPECT_EQ(window->lbTemp->text(), QStringLiteral("0°C"));
    EXPECT_EQ(window->lbPress->text(), QStringLiteral("0 hPa"));
    EXPECT_EQ(window->lbAlt->text(), QStringLiteral("0 m"));
    EXPECT_EQ(window->lbUptime->text(), QStringLiteral("0 s"));
    EXPECT_EQ(window->Label8->text(), QStringLiteral("Total up time:"));
    EXPECT_EQ(window->cbShowAutoStops->text(), QStringLiteral("Show auto stops"));
    EXPECT_FALSE(window->cbShowAutoStops->isChecked());
    EXPECT_EQ(window->tbChartZoom->minimum(), 1);
    EXPECT_EQ(window->tbChartZoom->maximum(), 30);
    ASSERT_EQ(window->PageControl1->count(), 3);
    EXPECT_EQ(window->PageControl1->tabText(0), QStringLiteral("Charts"));
    EXPECT_EQ(window->PageControl1->tabText(1), QStringLiteral("Notes"));
    EXPECT_EQ(window->PageControl1->tabText(2), QStringLiteral("Terminal"));
    EXPECT_EQ(window->TabControl1->tabText(0), QStringLiteral("Relative altitude"));
    EXPECT_EQ(window->TabControl1->tabText(1), QStringLiteral("Climb / dive rate"));
    EXPECT_EQ(window->TabControl1->tabText(2), QStringLiteral("Altitude / cd rate"));
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("Time:"));
    EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Altitude:"));
    EXPECT_EQ(window->statusPanelText(3), QStringLiteral("Build: 93"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Altitude Logger"));
    EXPECT_EQ(window->cbBaud->currentText(), QStringLiteral("38400"));
    EXPECT_EQ(window->cbParity->currentText(), QStringLiteral("NOPARITY"));
    EXPECT_EQ(window->cbStopBit->currentText(), QStringLiteral("ONESTOPBIT"));
    EXPECT_FALSE(window->cbBaud->isEnabled());
    EXPECT_FALSE(window->edCommand->isEnabled());
    EXPECT_FALSE(window->btnClear->isEnabled());
    EXPECT_FALSE(window->btnFlash->isVisibleTo(window.get()));
    EXPECT_FALSE(window->btnVerify->isVisibleTo(window.get()));
    EXPECT_FALSE(window->miVerify->isVisible());
    EXPECT_TRUE(window->miFlash->isVisible());
    EXPECT_FALSE(window->CircleBar1->isVisibleTo(window.get()));
    EXPECT_FALSE(window->ProgressBar1->isVisibleTo(window.get()));
    EXPECT_EQ(window->ProgressBar1->parentWidget(),
              window->findChild<QWidget*>(QStringLiteral("StatusBar1")));
}

TEST_F(MainWindowTest, CaptionFollowsDeviceNameAndFileName) {
    createWindow();
    window->UpdateCaption();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Altitude Logger -  []"));
    window->FileName = QStringLiteral("/home/pilot/logs/a b.vul");
    window->SetDeviceName(QStringLiteral(" VUMA 7 "));  // kept untrimmed
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Altitude Logger -  VUMA 7  [a b.vul]"));
    window->SetDeviceName(QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Altitude Logger -  [a b.vul]"));
}

TEST_F(MainWindowTest, ReadoutClearsOnPageChangeButKeepsTheBuild) {
    createWindow();
    window->setStatusPanelText(2, QStringLiteral("x"));
    window->PageControl1->setCurrentIndex(1);
    for (int panel = 0; panel <= 2; ++panel) EXPECT_TRUE(window->statusPanelText(panel).isEmpty()) << panel;
    EXPECT_EQ(window->statusPanelText(3), QStringLiteral("Build: 93"));
}

TEST_F(MainWindowTest, StartPanelFillsTheChartAreaUntilChartsAreShown) {
    createWindow();
    window->show();
    QTest::qWait(0);
    EXPECT_TRUE(window->paStart->isVisible());
    EXPECT_FALSE(window->TabControl1->isVisible());
    EXPECT_EQ(window->paStart->geometry(), window->paChartArea->rect());
    window->ShowCharts();
    EXPECT_FALSE(window->paStart->isVisible());
    EXPECT_TRUE(window->TabControl1->isVisible());
    EXPECT_EQ(window->TabControl1->geometry(), window->paChartArea->rect());
}

TEST_F(MainWindowTest, StartPanelLiftsTheHoveredActionAndRestoresIt) {
    createWindow();
    window->show();
    TStartPanel* panel = window->paStart;
    const auto& read = panel->action(0);
    const auto& open = panel->action(1);
    auto moveOver = [](QWidget* w, QPoint at = QPoint(2, 2)) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    moveOver(read.label);
    EXPECT_TRUE(panel->isHighlighted(0));
    EXPECT_FALSE(read.shadow->isVisible());
    EXPECT_TRUE(read.label->styleSheet().contains(QStringLiteral("808080")));
    moveOver(open.button);  // another action lifts too; leaving the button keeps it
    EXPECT_TRUE(panel->isHighlighted(1));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(read.label, &leave);  // leaving a caption restores its action
    EXPECT_FALSE(panel->isHighlighted(0));
    EXPECT_TRUE(read.shadow->isVisible());
    EXPECT_TRUE(read.label->styleSheet().contains(QStringLiteral("c0c0c0")));
    EXPECT_TRUE(read.shadow->styleSheet().contains(QStringLiteral("535353")));
    moveOver(panel, QPoint(5, 5));  // the bare panel restores every action
    for (int i = 0; i < TStartPanel::kActionCount; ++i) EXPECT_FALSE(panel->isHighlighted(i)) << i;
}

TEST_F(MainWindowTest, HiddenShortcutsWorkFromInsideThePages) {
    createWindow();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->PageControl1->setCurrentIndex(2);
    window->edTerminal->setPlainText(QStringLiteral("old text"));
    window->edTerminal->setFocus();
    QTest::keyClick(window->edTerminal, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(window->edCommand->isEnabled());
    EXPECT_TRUE(window->btnClear->isEnabled());
    QTest::keyClick(window->edCommand, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(window->edTerminal->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, Label8ShowsTheAltitudeOfOneHectopascal) {
    createWindow();
    window->Label8Click();
    const double step = PressureToAltitude(1000.0) - PressureToAltitude(1001.0);
    EXPECT_EQ(window->windowTitle(), QLocale().toString(step, 'g', 15));
    EXPECT_NEAR(step, 8.3, 0.2);
}

TEST_F(MainWindowTest, UnsupportedCommandLineFileIsReportedAndStartGoesOn) {
    const QString path = home.path() + QStringLiteral("/notes.txt");
    SaveStringToFile(path, "x");
    createWindow({path});
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("This file format is not supported.")});
    EXPECT_TRUE(window->OpenedFromCommandLine);
    window->show();
    QTest::qWait(0);  // first activation shows the (empty) chart area
    EXPECT_TRUE(window->TabControl1->isVisible());
}

TEST_F(MainWindowTest, MissingCommandLineFileIsIgnored) {
    createWindow({home.path() + QStringLiteral("/missing.vul")});
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_FALSE(window->OpenedFromCommandLine);
}

TEST_F(MainWindowTest, ShutdownWritesSizeAndAnEmptyCommunicationLog) {
    createWindow();
    window->show();
    window->close();
    const IniFile ini = IniFile::load(home.settingsFile());
    EXPECT_EQ(ini.readString("main", "width", ""), QStringLiteral("1024"));
    EXPECT_EQ(ini.readString("main", "height", ""), QStringLiteral("768"));
    EXPECT_EQ(ini.readString("main", "maximized", ""), QStringLiteral("0"));
    const auto log = LoadStringFromFile(home.documentsFolder() + QStringLiteral("vuma_communication.log"));
    ASSERT_TRUE(log.has_value());
    EXPECT_TRUE(log->isEmpty());
}

TEST_F(MainWindowTest, CommunicationLogHoldsEveryReceivedByte) {
    createWindow();
    window->Link().RxHistory = QByteArray("UN:VUMA\r\n\x00\x80\xff>", 13);
    window->close();
    EXPECT_EQ(*LoadStringFromFile(home.documentsFolder() + QStringLiteral("vuma_communication.log")),
              window->Link().RxHistory);
}

TEST_F(MainWindowTest, SettingsFileSurvivesAStartAndStopExceptTheWrittenKeys) {
    const QByteArray original =
        "[files]\r\n"
        "file1=C:\\logs\\a b.vul\r\n"
        "[unknown]\r\n"
        "keep=  this  \r\n"
        "[main]\r\n"
        "width=900\r\n"
        "height=700\r\n"
        "maximized=0\r\n"
        "port=COM3\r\n";
    home.writeSettings(original);
    createWindow();
    EXPECT_EQ(window->width(), 900);
    EXPECT_EQ(window->height(), 700);
    EXPECT_EQ(window->PortName, QStringLiteral("COM3"));
    EXPECT_EQ(window->cbPort->currentIndex(), -1);  // not among the machine's ports
    EXPECT_EQ(window->RecentFileSlots.slot(0), QStringLiteral("C:\\logs\\a b.vul"));
    window->close();
    EXPECT_EQ(*LoadStringFromFile(home.settingsFile()), original);
}

TEST_F(MainWindowTest, MaximisedWindowStoresItsRestoredSizeAndMaximisesNextTime) {
    home.writeSettings("[main]\nwidth=1000\nheight=700\n");
    createWindow();
    window->show();
    window->showMaximized();
    QTest::qWait(0);
    ASSERT_TRUE(window->isMaximized());
    window->close();
    const IniFile ini = IniFile::load(home.settingsFile());
    EXPECT_EQ(ini.readInt("main", "width", 0), 1000);
    EXPECT_EQ(ini.readInt("main", "height", 0), 700);
    EXPECT_TRUE(ini.readBool("main", "maximized", false));
    window.reset();

    createWindow();
    EXPECT_TRUE(window->StartMaximized);
    EXPECT_FALSE(window->isMaximized());
    window->show();
    QTest::qWait(0);  // first activation
    EXPECT_TRUE(window->FirstActivationDone);
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(MainWindowTest, MalformedSettingsReadAsDefaults) {
    home.writeSettings("[main]\nwidth=wide\nheight=\nmaximized=maybe\nScanPorts=x\nbaudrate=12\n[files\n");
    createWindow();
    EXPECT_EQ(window->width(), 1024);
    EXPECT_EQ(window->height(), 768);
    EXPECT_FALSE(window->StartMaximized);
    EXPECT_TRUE(window->ScanPorts);
    EXPECT_TRUE(window->PortAutoOpen);
    EXPECT_EQ(window->cbBaud->currentIndex(), -1);  // a value that is not an item
}
