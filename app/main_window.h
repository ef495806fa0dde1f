#pragma once

#include <QAction>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <memory>

#include "app/recentfiles.h"
#include "config/deviceconfig.h"
#include "files/fileformat.h"
#include "link/linkobserver.h"
#include "link/terminal.h"
#include "logs/logmodel.h"

class ChartController;
class Clock;
class DeviceLink;
class QComboBox;
class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class QTabWidget;
class QToolButton;
class SerialPort;
class SerialPortProvider;
class TBlockProgressBar;
class TCircleBar;
class TColorListBox;
class TLed;
class TLogChart;
class TStartPanel;
class TStatusBar;
class TTabControl;
class UserPrompts;

/// The main window. It owns every piece of program state for the whole run: the device link,
/// the logs with their list, the chart, the current file and the recent files. Engines do the
/// work; the window shows their state and forwards the user's actions.
class TfrmMain : public QMainWindow, public LinkObserver {
    Q_OBJECT
public:
    /// The clock, the ports and the prompts are the program's seams: real in the program,
    /// virtual, simulated and scripted in tests. commandLine is the arguments after the program.
    struct Options {
        /// Store the port in use in the settings (off for the demo's simulated port).
        bool rememberPort = true;
    };
    TfrmMain(Clock& clock, SerialPortProvider& ports, UserPrompts& prompts, const QStringList& commandLine,
             const Options& options, QWidget* parent = nullptr);
    TfrmMain(Clock& clock, SerialPortProvider& ports, UserPrompts& prompts, const QStringList& commandLine)
        : TfrmMain(clock, ports, prompts, commandLine, Options{}) {}
    ~TfrmMain() override;

    /// The events that switch the commands on and off.
    enum class CommandState { DevicePresent, DeviceAbsent, PortOpened, PortClosed, StartupWithoutPort };
    void ApplyCommandState(CommandState state);
    /// Whether the named command is switched on (also for hidden menu items).
    bool IsCommandEnabled(const QString& name) const;

    void SetDeviceConnected(bool connected);
    void SetDeviceName(const QString& name);
    void UpdateCaption();
    void ShowCharts();
    void ClearReadout();

    /// Opens a log file as the File, Open command does (append: add to the loaded logs), then
    /// selects and draws the first log. False when the file could not be opened; the error has
    /// been shown and nothing changed.
    bool OpenLogFile(const QString& path, bool append);
    /// Saves all logs (".vul", ".vuc"), or exports (".csv", ".txt", ".xml") by the name's
    /// extension; filterIndex 4 makes the spreadsheet-style CSV. False after a shown error.
    bool SaveLogFileAs(const QString& path, int filterIndex);
    /// Adds a log at the end of the list with its name and colour.
    void AddLog(const TMeas& log, const QString& name);
    /// The list texts, parallel to Logs.
    QStringList LogNames() const;
    ChartController& Chart() { return *m_chart; }

    /// Writes the settings and the communication log; runs once, when the window closes.
    void Shutdown();

    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString& text);

    // Program state shared by the window's parts.
    QString SettingsFolder;
    QString DeviceName;
    RecentFiles RecentFileSlots;
    QString FileName;
    bool ScanPorts = true;
    bool PortAutoOpen = true;
    QString PortName;
    bool StartMaximized = false;
    bool OpenedFromCommandLine = false;
    bool FirstActivationDone = false;
    TData Logs;
    /// The device's configuration as last read, or the snapshot of the last opened file.
    DeviceConfig Config;
    /// The device link: the open port, the link mode, the receive history, the live measurement.
    DeviceLink& Link() { return *m_link; }
    CommandHistory TerminalHistory;

    // LinkObserver: what the device link shows.
    void setDeviceConnected(bool connected) override { SetDeviceConnected(connected); }
    void setDeviceName(const QString& name) override { SetDeviceName(name); }
    void showMeasurement(const QString& temp, const QString& press, const QString& alt) override;
    void showUptime(const QString& text) override;
    void showMemory(int percent, const QString& hint) override;
    void appendTerminalText(const QString& text) override;

    // Controls, named as the program names them (objectName is the same text).
    QMenu* miFile = nullptr;
    QMenu* miAction = nullptr;
    QMenu* miDevice = nullptr;
    QMenu* miLog = nullptr;
    QMenu* miHelp = nullptr;
    QAction* miOpen = nullptr;
    QAction* Appendfile2 = nullptr;
    QAction* miSave = nullptr;
    QAction* miSaveAs = nullptr;
    QAction* Savecurrentgraphs1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* miRead = nullptr;
    QAction* miClear = nullptr;
    QAction* miConf = nullptr;
    QAction* miResetTimer = nullptr;
    QAction* miFlash = nullptr;
    QAction* miVerify = nullptr;
    QAction* miRestart = nullptr;
    QAction* Deletelog2 = nullptr;
    QAction* Splitlog1 = nullptr;
    QAction* Clearsplitlines2 = nullptr;
    QAction* Chagnechartcolor2 = nullptr;
    QAction* Changechartbackgroundcolor2 = nullptr;
    QAction* Backgroundimage2 = nullptr;
    QAction* Clearbackgroundimage2 = nullptr;
    QAction* miLockZoom2 = nullptr;
    QAction* miLine2 = nullptr;
    QAction* miPoint2 = nullptr;
    QAction* Checkforupdates1 = nullptr;
    QAction* miAbout = nullptr;

    QMenu* pmList = nullptr;
    QAction* Deletelog1 = nullptr;
    QAction* miSplit = nullptr;
    QAction* Clearsplitlines1 = nullptr;
    QAction* Chagnechartcolor1 = nullptr;
    QAction* Changechartbackgroundcolor1 = nullptr;
    QAction* Backgroundimage1 = nullptr;
    QAction* Clearbackgroundimage1 = nullptr;
    QAction* miLockZoom = nullptr;
    QAction* miLine = nullptr;
    QAction* miPoint = nullptr;

    QMenu* pmOpenFile = nullptr;  // the Open button's drop-down
    QAction* Openfile1 = nullptr;
    QAction* Appendfile1 = nullptr;

    QWidget* ToolBar1 = nullptr;
    QToolButton* btnReadLog = nullptr;
    QToolButton* btnClearLog = nullptr;
    QToolButton* btnOpenFile = nullptr;
    QToolButton* btnSaveFile = nullptr;
    QToolButton* btnSaveAs = nullptr;
    QToolButton* btnSavePicture = nullptr;
    QToolButton* btnSettings = nullptr;
    QToolButton* btnDeviceConfig = nullptr;
    QToolButton* btnFlash = nullptr;
    QToolButton* btnVerify = nullptr;
    QToolButton* btnDeviceRestart = nullptr;
    QLabel* Image1 = nullptr;

    QGroupBox* GroupBox1 = nullptr;
    TLed* Led1 = nullptr;
    QLabel* lbTemp = nullptr;
    QLabel* lbPress = nullptr;
    QLabel* lbAlt = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* lbUptime = nullptr;
    QCheckBox* cbShowAutoStops = nullptr;
    QSlider* tbChartZoom = nullptr;
    TCircleBar* CircleBar1 = nullptr;

    QTabWidget* PageControl1 = nullptr;
    TColorListBox* lbMessurement = nullptr;
    TBlockProgressBar* pbMemory = nullptr;
    QWidget* paChartArea = nullptr;  // right side of the Charts page
    TStartPanel* paStart = nullptr;
    TTabControl* TabControl1 = nullptr;
    TLogChart* chartGlobal = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QPlainTextEdit* edNotes = nullptr;

    QPlainTextEdit* edTerminal = nullptr;
    QLineEdit* edCommand = nullptr;
    QLabel* lbPort = nullptr;
    QComboBox* cbPort = nullptr;
    QLabel* lbBaud = nullptr;
    QComboBox* cbBaud = nullptr;
    QLabel* lbParity = nullptr;
    QComboBox* cbParity = nullptr;
    QLabel* lbStopBit = nullptr;
    QComboBox* cbStopBit = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnClear = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Clearterminal1 = nullptr;
    QAction* Copyall1 = nullptr;
    QAction* Enableterminal1 = nullptr;

    TStatusBar* StatusBar1 = nullptr;
    TBlockProgressBar* ProgressBar1 = nullptr;

public Q_SLOTS:
    // Handlers that later work fills in; each is the action of the control it is named after.
    void btnReadLogClick();
    void btnClearLogClick();
    void btnDeviceConfigClick();
    void miResetTimerClick();
    void btnFlashClick();
    void btnDeviceRestartClick();
    void btnSettingsClick();
    void miOpenClick(bool append = false);
    void miSaveClick();
    void miSaveAsClick();
    void Savecurrentgraphs1Click();
    void Close1Click();
    void Checkforupdates1Click();
    void miAboutClick();
    void btnOpenClick();
    void btnClearClick();
    void Copyall1Click();
    void Enableterminal1Click();
    void Label8Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildMeasurementStrip();
    void buildPages();
    void buildChartsPage(QWidget* page);
    void buildTerminalPage(QWidget* page);
    void buildStatusBar();
    void placeStatusProgressBar();
    void ReadSettings();
    void RebuildRecentMenu();
    void AddRecentFile(const QString& path);
    void buildChartController();
    void updateLogMenuChecks(const TMeas& log);
    bool loadChartBackground(const TMeas& log);
    QString chartGlobalGetAxisLabel(const QString& text) const;
    void showProgress(qint64 done, qint64 total);
    void FirstActivation();
    void PageControl1Change(int index);
    void showMemoryGauge();
    std::unique_ptr<SerialPort> ScanForDevice();
    bool edCommandKeyDown(QKeyEvent* event);

    Clock& m_clock;
    SerialPortProvider& m_ports;
    UserPrompts& m_prompts;
    QStringList m_commandLine;
    bool m_shutdownDone = false;
    QList<QAction*> m_recentActions;
    std::unique_ptr<DeviceLink> m_link;
    bool m_terminalAfterCr = false;
    bool m_rememberPort = true;
    ChartController* m_chart = nullptr;
    SaveNameRule m_saveNameRule;  // the last displayed character was a carriage return
};
