#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/cursors.h"
#include "app/portscannerwindow.h"
#include "app/settings.h"
#include "app/startpanel.h"
#include "app/statusbar.h"
#include "app/website.h"
#include "chart/chartcontroller.h"
#include "chart/tlogchart.h"
#include "link/devicelink.h"
#include "link/serialport.h"
#include "link/statusscanner.h"
#include "logs/altitude.h"
#include "support/delay.h"
#include "support/fileversion.h"
#include "support/inifile.h"
#include "support/paths.h"
#include "support/textfiles.h"
#include "support/userprompts.h"
#include "widgets/tblockprogressbar.h"
#include "widgets/tcirclebar.h"
#include "widgets/tcolorlistbox.h"
#include "widgets/tled.h"
#include "widgets/ttabcontrol.h"

namespace {

constexpr int kLogNameMaxChars = 29;
const QString kNotConnectedHint = QStringLiteral("Device is not connected.");

// The commands that follow the device: enabled when it answers, disabled when it is gone.
const char* const kDeviceCommands[] = {
    "btnReadLog",       "btnReadLogStart", "lbReadLog", "lbReadLogSh",     "btnClearLog",
    "btnClearLogStart", "lbReset",         "lbResetSh", "btnDeviceConfig", "btnDeviceConfigStart",
    "lbConfig",         "lbConfigSh",      "miRead",    "miClear",         "miConf",
    "miResetTimer",
};
const char* const kPortOpenedEnables[] = {
    "btnReadLog", "btnClearLog", "btnDeviceConfig", "btnFlash",
    "btnVerify",  "miFlash",     "miVerify",        "btnDeviceRestart",
};
const char* const kFirmwareCommands[] = {"btnFlash", "btnVerify", "miFlash", "miVerify"};
const char* const kStartupWithoutPortDisables[] = {
    "btnReadLog",       "btnReadLogStart", "lbReadLog", "lbReadLogSh",     "btnClearLog",
    "btnClearLogStart", "lbReset",         "lbResetSh", "btnDeviceConfig", "btnDeviceConfigStart",
    "lbConfig",         "lbConfigSh",      "btnFlash",  "btnVerify",       "btnDeviceRestart",
};
const char* const kPortSelection[] = {"cbPort", "lbPort"};

}  // namespace

// The icons live in the widget library, which is static: its resources must be registered
// by hand before the first icon is loaded.
static void InitResources() { Q_INIT_RESOURCE(resources); }

TfrmMain::TfrmMain(Clock& clock, SerialPortProvider& ports, UserPrompts& prompts,
                   const QStringList& commandLine, const Options& options, QWidget* parent)
    : QMainWindow(parent),
      m_clock(clock),
      m_ports(ports),
      m_prompts(prompts),
      m_commandLine(commandLine),
      m_rememberPort(options.rememberPort) {
    InitResources();
    m_link = std::make_unique<DeviceLink>(clock, ports, *this);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Altitude Logger"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/logo_small.svg")));

    buildMenus();
    buildToolBar();
    buildMeasurementStrip();
    buildPages();
    buildStatusBar();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* topStrip = new QWidget;
    topStrip->setFixedHeight(61);
    auto* topLayout = new QHBoxLayout(topStrip);
    topLayout->setContentsMargins(0, 0, 4, 0);
    topLayout->addWidget(ToolBar1, 1);
    topLayout->addWidget(Image1);
    layout->addWidget(topStrip);
    layout->addWidget(GroupBox1);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(StatusBar1);
    setCentralWidget(central);

    // Start-up, in the program's fixed order.
    RegisterSplitCursor();
    buildChartController();
    m_chart->InitChart();
    placeStatusProgressBar();
    const QStringList portNames = m_link->ListComPorts();
    cbPort->addItems(portNames);
    cbPort->setCurrentIndex(portNames.isEmpty() ? -1 : 0);
    SettingsFolder = ::SettingsFolder();
    ForceFolder(SettingsFolder);
    ReadSettings();
    std::unique_ptr<SerialPort> port = ScanForDevice();
    if (!PortName.isEmpty()) {
        if (m_rememberPort)
            WriteIniText(SettingsFilePath(), QStringLiteral("main"), QStringLiteral("port"), PortName);
        cbPort->setCurrentIndex(cbPort->findText(PortName));
    }
    m_link->MeasPaused = false;
    if (!port) {
        ApplyCommandState(CommandState::StartupWithoutPort);
    } else {
        // The receive tick already runs during the wait, so the device's first answers and
        // status lines are picked up before the restart pulse.
        m_link->adoptPort(std::move(port));
        Delay(m_clock, 1000);
        m_link->RestartDevice();
        edTerminal->clear();
        btnOpen->setText(QStringLiteral("Close"));
        cbPort->setEnabled(false);
        lbPort->setEnabled(false);
    }
    Config.Valid = 0;
    m_chart->ShowAutoStops = false;
    StatusBar1->setPanelText(3, QStringLiteral("Build: ") + FileVersionString(1));
    lbMessurement->setMaxEditLength(kLogNameMaxChars);

    if (!m_commandLine.isEmpty()) {
        const QString& argument = m_commandLine.first();
        if (QFileInfo(argument).isFile()) {
            OpenedFromCommandLine = true;
            OpenLogFile(argument, false);
        }
    }
    paStart->setGeometry(paChartArea->rect());
    paStart->show();
    TabControl1->hide();
}

TfrmMain::~TfrmMain() { Shutdown(); }

void TfrmMain::ReadSettings() {
    const IniFile ini = IniFile::load(SettingsFilePath());
    const MainSettings s = MainSettings::read(ini);
    resize(s.width, s.height);
    StartMaximized = s.maximized;
    PortName = s.port;
    ScanPorts = s.scanPorts;
    PortAutoOpen = s.portAutoOpen;
    cbPort->setCurrentIndex(cbPort->findText(PortName));
    // A value that is not among the items leaves the box without a selection.
    cbBaud->setCurrentIndex(cbBaud->findText(s.baudrate));
    cbParity->setCurrentIndex(cbParity->findText(s.parity));
    cbStopBit->setCurrentIndex(cbStopBit->findText(s.stopbit));
    RecentFileSlots.load(ini);
    RebuildRecentMenu();
}

void TfrmMain::RebuildRecentMenu() {
    for (QAction* a : m_recentActions) {
        pmOpenFile->removeAction(a);
        a->deleteLater();
    }
    m_recentActions.clear();
    for (int slot : RecentFileSlots.availableSlots()) {
        const QString path = RecentFileSlots.slot(slot);
        QAction* a = pmOpenFile->addAction(path);
        a->setData(slot);
        connect(a, &QAction::triggered, this, [this, path] { OpenLogFile(path, false); });
        m_recentActions << a;
    }
}

void TfrmMain::ApplyCommandState(CommandState state) {
    auto setEnabled = [this](const auto& names, bool enabled) {
        for (const char* name : names) {
            QObject* o = findChild<QObject*>(QString::fromLatin1(name));
            if (auto* w = qobject_cast<QWidget*>(o)) {
                w->setEnabled(enabled);
            } else if (auto* a = qobject_cast<QAction*>(o)) {
                // A hidden action reads as disabled whatever it was set to; keep the switch.
                a->setEnabled(enabled);
                a->setProperty("commandEnabled", enabled);
            }
        }
    };
    auto showAbsent = [this] {
        Led1->setOn(false);
        CircleBar1->setProgress(-1);
        CircleBar1->setToolTip(kNotConnectedHint);
        pbMemory->setPosition(0);
        pbMemory->setToolTip(kNotConnectedHint);
    };
    switch (state) {
        case CommandState::DevicePresent:
            setEnabled(kDeviceCommands, true);
            Led1->setOn(true);
            showMemoryGauge();
            break;
        case CommandState::DeviceAbsent:
            setEnabled(kDeviceCommands, false);
            showAbsent();
            break;
        case CommandState::PortOpened:
            setEnabled(kPortOpenedEnables, true);
            setEnabled(kPortSelection, false);
            btnOpen->setText(QStringLiteral("Close"));
            break;
        case CommandState::PortClosed:
            setEnabled(kPortSelection, true);
            setEnabled(kFirmwareCommands, false);
            ApplyCommandState(CommandState::DeviceAbsent);
            btnOpen->setText(QStringLiteral("Open"));
            break;
        case CommandState::StartupWithoutPort:
            setEnabled(kPortSelection, true);
            setEnabled(kStartupWithoutPortDisables, false);
            btnOpen->setText(QStringLiteral("Open"));
            CircleBar1->setProgress(-1);
            CircleBar1->setToolTip(kNotConnectedHint);
            pbMemory->setPosition(0);
            pbMemory->setToolTip(kNotConnectedHint);
            break;
    }
}

void TfrmMain::showMemoryGauge() {
    const int percent = MemoryPercent(m_link->MemUsedBytes);
    CircleBar1->setProgress(percent);
    pbMemory->setPosition(percent);
}

void TfrmMain::SetDeviceConnected(bool connected) {
    ApplyCommandState(connected ? CommandState::DevicePresent : CommandState::DeviceAbsent);
}

void TfrmMain::SetDeviceName(const QString& name) {
    DeviceName = name;
    UpdateCaption();
}

void TfrmMain::UpdateCaption() {
    setWindowTitle(QStringLiteral("Altitude Logger - ") + DeviceName + QStringLiteral(" [") +
                   QFileInfo(FileName).fileName() + QStringLiteral("]"));
}

void TfrmMain::ShowCharts() {
    paStart->hide();
    TabControl1->setGeometry(paChartArea->rect());
    TabControl1->show();
}

void TfrmMain::ClearReadout() {
    for (int panel = 0; panel <= 2; ++panel) StatusBar1->setPanelText(panel, QString());
}

bool TfrmMain::IsCommandEnabled(const QString& name) const {
    QObject* o = findChild<QObject*>(name);
    if (auto* w = qobject_cast<QWidget*>(o)) return w->isEnabled();
    if (auto* a = qobject_cast<QAction*>(o)) {
        const QVariant state = a->property("commandEnabled");
        return state.isValid() ? state.toBool() : a->isEnabled();
    }
    return false;
}

QString TfrmMain::statusPanelText(int panel) const { return StatusBar1->panelText(panel); }

void TfrmMain::setStatusPanelText(int panel, const QString& text) { StatusBar1->setPanelText(panel, text); }

void TfrmMain::FirstActivation() {
    if (FirstActivationDone) return;
    FirstActivationDone = true;
    if (StartMaximized) showMaximized();
    m_link->tmCurrMeas.start();
    if (OpenedFromCommandLine) ShowCharts();
}

void TfrmMain::PageControl1Change(int index) {
    if (index == 2 && edTerminal->isEnabled()) edTerminal->setFocus();
    ClearReadout();
}

void TfrmMain::Shutdown() {
    if (m_shutdownDone) return;
    m_shutdownDone = true;
    const QString iniPath = SettingsFilePath();
    IniFile ini = IniFile::load(iniPath);
    RecentFileSlots.store(ini);
    // The restored size, also when the window is maximised, so the next start can maximise
    // from a sensible normal size.
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    ini.writeInt(QStringLiteral("main"), QStringLiteral("width"), normal.width());
    ini.writeInt(QStringLiteral("main"), QStringLiteral("height"), normal.height());
    ini.writeBool(QStringLiteral("main"), QStringLiteral("maximized"), isMaximized());
    ForceFolder(SettingsFolder);
    ini.save(iniPath);  // a failure leaves the old file whole; nothing else depends on it

    const QString documents = DocumentsFolder();
    ForceFolder(documents);
    SaveStringToFile(documents + QStringLiteral("vuma_communication.log"), m_link->RxHistory);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    Shutdown();
    event->accept();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!FirstActivationDone && !property("centred").toBool()) {
        setProperty("centred", true);
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
        // Some platforms (offscreen, some window managers) never report an activation.
        QTimer::singleShot(0, this, &TfrmMain::FirstActivation);
    }
}

void TfrmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FirstActivation();
    QMainWindow::changeEvent(event);
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_chart) m_chart->UpdatePlotWidth();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == paChartArea && event->type() == QEvent::Resize) {
        paStart->setGeometry(paChartArea->rect());
        TabControl1->setGeometry(paChartArea->rect());
    } else if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerWebSite)));
    } else if (watched == Label8 && event->type() == QEvent::MouseButtonRelease) {
        Label8Click();
    } else if (watched == edCommand && event->type() == QEvent::KeyPress) {
        if (edCommandKeyDown(static_cast<QKeyEvent*>(event))) return true;
    } else if (watched == edTerminal && event->type() == QEvent::KeyPress && edCommand->isEnabled()) {
        // A character typed into the display goes to the command line as if typed there.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
            edCommand->setFocus();
            QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
            QApplication::sendEvent(edCommand, &copy);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::Label8Click() {
    // The altitude step of one hPa near sea level, a quick check of the pressure formula.
    const double step = PressureToAltitude(1000.0) - PressureToAltitude(1001.0);
    setWindowTitle(QLocale().toString(step, 'g', 15));
}

void TfrmMain::Close1Click() { close(); }

void TfrmMain::btnClearClick() {
    edTerminal->clear();
    if (edCommand->isEnabled()) edCommand->setFocus();
}

void TfrmMain::Copyall1Click() {
    edTerminal->selectAll();
    edTerminal->copy();
}

void TfrmMain::Enableterminal1Click() {
    edTerminal->setEnabled(true);
    edCommand->setEnabled(true);
    btnClear->setEnabled(true);
    edCommand->setFocus();
}

// Device, log and file commands arrive with the device link, the log download and the file
// formats; until then their buttons do nothing.
void TfrmMain::btnDeviceConfigClick() {}
void TfrmMain::miResetTimerClick() { m_link->miResetTimerClick(); }
void TfrmMain::btnFlashClick() {}
void TfrmMain::btnDeviceRestartClick() { m_link->btnDeviceRestartClick(); }
void TfrmMain::btnSettingsClick() {}
void TfrmMain::Savecurrentgraphs1Click() {}
void TfrmMain::Checkforupdates1Click() {}
void TfrmMain::miAboutClick() {}
void TfrmMain::btnOpenClick() {
    if (btnOpen->text() != QLatin1String("Close")) {
        cbPort->setEnabled(false);
        lbPort->setEnabled(false);
        const QString name = cbPort->currentText();
        const QString error = m_link->openPort(name);
        if (!error.isEmpty()) {
            cbPort->setEnabled(true);
            lbPort->setEnabled(true);
            m_prompts.showError(error);
            return;
        }
        PortName = name;
        if (m_rememberPort)
            WriteIniText(SettingsFilePath(), QStringLiteral("main"), QStringLiteral("port"), name);
        ApplyCommandState(CommandState::PortOpened);
    } else {
        cbPort->setEnabled(true);
        lbPort->setEnabled(true);
        m_link->closePort();
        ApplyCommandState(CommandState::PortClosed);
    }
}

std::unique_ptr<SerialPort> TfrmMain::ScanForDevice() {
    if (!ScanPorts && !PortAutoOpen) return nullptr;
    TfrmPortScanner scanner;
    return ::ScanForDevice(m_clock, m_ports, PortScanSettings{ScanPorts, PortAutoOpen}, PortName, &scanner);
}

void TfrmMain::showMeasurement(const QString& temp, const QString& press, const QString& alt) {
    lbTemp->setText(temp);
    lbPress->setText(press);
    lbAlt->setText(alt);
}

void TfrmMain::showUptime(const QString& text) { lbUptime->setText(text); }

void TfrmMain::showMemory(int percent, const QString& hint) {
    CircleBar1->setProgress(percent);
    CircleBar1->setToolTip(hint);
    pbMemory->setPosition(percent);
    pbMemory->setToolTip(hint);
}

void TfrmMain::appendTerminalText(const QString& text) {
    // Each CR, each LF and each CR LF pair breaks the line once, also when the pair is split
    // between two chunks.
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\r')) {
            out += QLatin1Char('\n');
            m_terminalAfterCr = true;
        } else if (c == QLatin1Char('\n')) {
            if (!m_terminalAfterCr) out += QLatin1Char('\n');
            m_terminalAfterCr = false;
        } else {
            out += c;
            m_terminalAfterCr = false;
        }
    }
    QTextCursor cursor = edTerminal->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(out);
    edTerminal->setTextCursor(cursor);
    edTerminal->ensureCursorVisible();
}

bool TfrmMain::edCommandKeyDown(QKeyEvent* event) {
    m_link->noteTerminalActivity();
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            SendTerminalLine(*m_link, TerminalHistory, edCommand->text());
            edCommand->clear();
            return true;
        case Qt::Key_Up:
            if (const auto entry = TerminalHistory.up()) {
                edCommand->setText(*entry);
                edCommand->end(false);
            }
            return true;
        case Qt::Key_Down:
            edCommand->setText(TerminalHistory.down());
            edCommand->end(false);
            return true;
        default:
            return false;
    }
}
