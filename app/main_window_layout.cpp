// Building the main window's controls. Every control carries its program name as objectName.
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

#include "app/main_window.h"
#include "app/startpanel.h"
#include "app/statusbar.h"
#include "chart/tlogchart.h"
#include "widgets/tblockprogressbar.h"
#include "widgets/tcirclebar.h"
#include "widgets/tcolorlistbox.h"
#include "widgets/tled.h"
#include "widgets/ttabcontrol.h"

namespace {

template <typename T>
T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption, const char* icon = nullptr) {
    QAction* a = named(menu->addAction(caption), name);
    if (icon) a->setIcon(QIcon(QString::fromLatin1(icon)));
    return a;
}

/// The log commands in menu order: delete, split, clear split lines, chart colour, background
/// colour, background image, clear image, lock zoom, line, point.
constexpr int kLogMenuItems = 10;

void fillLogMenu(QMenu* menu, const std::array<const char*, kLogMenuItems>& names,
                 const std::array<QAction**, kLogMenuItems>& targets) {
    static const char* const kCaptions[kLogMenuItems] = {
        "Delete log",           "Split log",   "Clear split lines", "Chart color ...", "Background color ...",
        "Background image ...", "Clear image", "Lock zoom",         "Chart type line", "Chart type point"};
    auto* chartTypes = new QActionGroup(menu);
    for (int i = 0; i < kLogMenuItems; ++i) {
        if (i == 3 || i == 7 || i == 8) menu->addSeparator();
        QAction* a = addItem(menu, names[i], QString::fromLatin1(kCaptions[i]));
        *targets[i] = a;
        if (i >= 7) a->setCheckable(true);
        if (i >= 8) chartTypes->addAction(a);
    }
    (*targets[8])->setChecked(true);
}

}  // namespace

void TfrmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    miFile = named(bar->addMenu(QStringLiteral("File")), "miFile");
    miOpen = addItem(miFile, "miOpen", QStringLiteral("Open ..."), ":/icons/open.svg");
    Appendfile2 = addItem(miFile, "Appendfile2", QStringLiteral("Append ..."));
    miSave = addItem(miFile, "miSave", QStringLiteral("Save"), ":/icons/save.svg");
    miSaveAs = addItem(miFile, "miSaveAs", QStringLiteral("Save as ..."), ":/icons/save_as.svg");
    miFile->addSeparator();
    Savecurrentgraphs1 =
        addItem(miFile, "Savecurrentgraphs1", QStringLiteral("Save picture ..."), ":/icons/picture.svg");
    miFile->addSeparator();
    Close1 = addItem(miFile, "Close1", QStringLiteral("Close"));

    miAction = named(bar->addMenu(QStringLiteral("Action")), "miAction");
    miRead = addItem(miAction, "miRead", QStringLiteral("Read logs"), ":/icons/read_logs.svg");
    miClear = addItem(miAction, "miClear", QStringLiteral("Clear logs"), ":/icons/clear_logs.svg");

    miDevice = named(bar->addMenu(QStringLiteral("Device")), "miDevice");
    miConf = addItem(miDevice, "miConf", QStringLiteral("VUMA configuration"), ":/icons/config.svg");
    miResetTimer = addItem(miDevice, "miResetTimer", QStringLiteral("Reset total up time"));
    miFlash = addItem(miDevice, "miFlash", QStringLiteral("Update firmware"), ":/icons/flash.svg");
    miVerify = addItem(miDevice, "miVerify", QStringLiteral("Verify firmware"), ":/icons/verify.svg");
    miVerify->setData(1);  // tag 1: verify only
    miVerify->setVisible(false);
    miRestart = addItem(miDevice, "miRestart", QStringLiteral("Restart device"), ":/icons/restart.svg");

    // The "Log" menu and the log list's pop-up offer the same commands under their own names.
    miLog = named(bar->addMenu(QStringLiteral("Log")), "miLog");
    fillLogMenu(
        miLog,
        {"Deletelog2", "Splitlog1", "Clearsplitlines2", "Chagnechartcolor2", "Changechartbackgroundcolor2",
         "Backgroundimage2", "Clearbackgroundimage2", "miLockZoom2", "miLine2", "miPoint2"},
        {&Deletelog2, &Splitlog1, &Clearsplitlines2, &Chagnechartcolor2, &Changechartbackgroundcolor2,
         &Backgroundimage2, &Clearbackgroundimage2, &miLockZoom2, &miLine2, &miPoint2});
    miHelp = named(bar->addMenu(QStringLiteral("Help")), "miHelp");
    Checkforupdates1 = addItem(miHelp, "Checkforupdates1", QStringLiteral("Check for updates"));
    miAbout = addItem(miHelp, "miAbout", QStringLiteral("About"));

    pmList = named(new QMenu(this), "pmList");
    fillLogMenu(
        pmList,
        {"Deletelog1", "miSplit", "Clearsplitlines1", "Chagnechartcolor1", "Changechartbackgroundcolor1",
         "Backgroundimage1", "Clearbackgroundimage1", "miLockZoom", "miLine", "miPoint"},
        {&Deletelog1, &miSplit, &Clearsplitlines1, &Chagnechartcolor1, &Changechartbackgroundcolor1,
         &Backgroundimage1, &Clearbackgroundimage1, &miLockZoom, &miLine, &miPoint});

    connect(miOpen, &QAction::triggered, this, [this] { miOpenClick(false); });
    connect(Appendfile2, &QAction::triggered, this, [this] { miOpenClick(true); });
    connect(miSave, &QAction::triggered, this, &TfrmMain::miSaveClick);
    connect(miSaveAs, &QAction::triggered, this, &TfrmMain::miSaveAsClick);
    connect(Savecurrentgraphs1, &QAction::triggered, this, &TfrmMain::Savecurrentgraphs1Click);
    connect(Close1, &QAction::triggered, this, &TfrmMain::Close1Click);
    connect(miRead, &QAction::triggered, this, &TfrmMain::btnReadLogClick);
    connect(miClear, &QAction::triggered, this, &TfrmMain::btnClearLogClick);
    connect(miConf, &QAction::triggered, this, &TfrmMain::btnDeviceConfigClick);
    connect(miResetTimer, &QAction::triggered, this, &TfrmMain::miResetTimerClick);
    connect(miFlash, &QAction::triggered, this, &TfrmMain::btnFlashClick);
    connect(miVerify, &QAction::triggered, this, &TfrmMain::btnFlashClick);
    connect(miRestart, &QAction::triggered, this, &TfrmMain::btnDeviceRestartClick);
    connect(Checkforupdates1, &QAction::triggered, this, &TfrmMain::Checkforupdates1Click);
    connect(miAbout, &QAction::triggered, this, &TfrmMain::miAboutClick);
}

void TfrmMain::buildToolBar() {
    ToolBar1 = named(new QWidget, "ToolBar1");
    auto* layout = new QHBoxLayout(ToolBar1);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    auto button = [&](const char* name, const char* caption, const char* hint, const char* icon) {
        auto* b = named(new QToolButton(ToolBar1), name);
        b->setText(QString::fromLatin1(caption));
        b->setToolTip(QString::fromLatin1(hint ? hint : caption));
        b->setIcon(QIcon(QString::fromLatin1(icon)));
        b->setIconSize(QSize(32, 32));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setMinimumWidth(52);
        b->setFixedHeight(57);
        layout->addWidget(b);
        return b;
    };
    btnReadLog = button("btnReadLog", "Read Logs", "Read all logs from VUMA device", ":/icons/read_logs.svg");
    btnClearLog =
        button("btnClearLog", "Clear Logs", "Delete all logs on VUMA device", ":/icons/clear_logs.svg");
    btnOpenFile = button("btnOpenFile", "Open file ...", nullptr, ":/icons/open.svg");
    btnSaveFile = button("btnSaveFile", "Save", nullptr, ":/icons/save.svg");
    btnSaveAs = button("btnSaveAs", "Save as ...", nullptr, ":/icons/save_as.svg");
    btnSavePicture =
        button("btnSavePicture", "Save picture", "Save current graph to picture file", ":/icons/picture.svg");
    btnSettings = button("btnSettings", "Settings", "Customize PC application", ":/icons/settings.svg");
    btnDeviceConfig =
        button("btnDeviceConfig", "VUMA config", "Update VUMA device configuration", ":/icons/config.svg");
    btnFlash = button("btnFlash", "Flash", nullptr, ":/icons/flash.svg");
    btnVerify = button("btnVerify", "Verify", nullptr, ":/icons/verify.svg");
    btnVerify->setProperty("tag", 1);
    btnDeviceRestart =
        button("btnDeviceRestart", "Restart device", "Reconnect VUMA device", ":/icons/restart.svg");
    btnFlash->setVisible(false);
    btnVerify->setVisible(false);
    layout->addStretch(1);

    pmOpenFile = named(new QMenu(btnOpenFile), "pmOpenFile");
    Openfile1 = addItem(pmOpenFile, "Openfile1", QStringLiteral("Open file ..."));
    Appendfile1 = addItem(pmOpenFile, "Appendfile1", QStringLiteral("Append file ..."));
    pmOpenFile->addSeparator();
    btnOpenFile->setMenu(pmOpenFile);
    btnOpenFile->setPopupMode(QToolButton::MenuButtonPopup);

    connect(btnReadLog, &QToolButton::clicked, this, &TfrmMain::btnReadLogClick);
    connect(btnClearLog, &QToolButton::clicked, this, &TfrmMain::btnClearLogClick);
    connect(btnOpenFile, &QToolButton::clicked, this, [this] { miOpenClick(false); });
    connect(Openfile1, &QAction::triggered, this, [this] { miOpenClick(false); });
    connect(Appendfile1, &QAction::triggered, this, [this] { miOpenClick(true); });
    connect(btnSaveFile, &QToolButton::clicked, this, &TfrmMain::miSaveClick);
    connect(btnSaveAs, &QToolButton::clicked, this, &TfrmMain::miSaveAsClick);
    connect(btnSavePicture, &QToolButton::clicked, this, &TfrmMain::Savecurrentgraphs1Click);
    connect(btnSettings, &QToolButton::clicked, this, &TfrmMain::btnSettingsClick);
    connect(btnDeviceConfig, &QToolButton::clicked, this, &TfrmMain::btnDeviceConfigClick);
    connect(btnFlash, &QToolButton::clicked, this, &TfrmMain::btnFlashClick);
    connect(btnVerify, &QToolButton::clicked, this, &TfrmMain::btnFlashClick);
    connect(btnDeviceRestart, &QToolButton::clicked, this, &TfrmMain::btnDeviceRestartClick);

    Image1 = named(new QLabel, "Image1");
    Image1->setPixmap(QIcon(QStringLiteral(":/icons/logo.svg")).pixmap(QSize(150, 56)));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("Visit the VUMA web site"));
    Image1->installEventFilter(this);
}

void TfrmMain::buildMeasurementStrip() {
    GroupBox1 = named(new QGroupBox(QStringLiteral("Current measurements")), "GroupBox1");
    GroupBox1->setFixedHeight(44 + 8);
    auto* layout = new QHBoxLayout(GroupBox1);
    layout->setContentsMargins(6, 2, 6, 2);
    Led1 = named(new TLed, "Led1");
    layout->addWidget(Led1);
    auto caption = [&](const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text));
        layout->addSpacing(10);
        layout->addWidget(l);
        return l;
    };
    auto value = [&](const char* name, const char* text) {
        auto* l = named(new QLabel(QString::fromUtf8(text)), name);
        l->setMinimumWidth(70);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        layout->addWidget(l);
        return l;
    };
    caption("Temperature:");
    lbTemp = value("lbTemp", "0°C");
    caption("Presure:");
    lbPress = value("lbPress", "0 hPa");
    caption("Altitude:");
    lbAlt = value("lbAlt", "0 m");
    Label8 = named(caption("Total up time:"), "Label8");
    Label8->installEventFilter(this);
    lbUptime = value("lbUptime", "0 s");
    layout->addSpacing(16);
    cbShowAutoStops = named(new QCheckBox(QStringLiteral("Show auto stops")), "cbShowAutoStops");
    layout->addWidget(cbShowAutoStops);
    tbChartZoom = named(new QSlider(Qt::Horizontal), "tbChartZoom");
    tbChartZoom->setRange(1, 30);
    tbChartZoom->setFixedWidth(120);
    tbChartZoom->setVisible(false);
    layout->addWidget(tbChartZoom);
    layout->addStretch(1);
    CircleBar1 = named(new TCircleBar, "CircleBar1");
    CircleBar1->setFixedSize(150, 40);
    CircleBar1->setVisible(false);
    layout->addWidget(CircleBar1);
}

void TfrmMain::buildPages() {
    PageControl1 = named(new QTabWidget, "PageControl1");
    auto* charts = named(new QWidget, "tsCharts");
    auto* notes = named(new QWidget, "tsNotes");
    auto* terminal = named(new QWidget, "tsTerminal");
    PageControl1->addTab(charts, QStringLiteral("Charts"));
    PageControl1->addTab(notes, QStringLiteral("Notes"));
    PageControl1->addTab(terminal, QStringLiteral("Terminal"));
    buildChartsPage(charts);

    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    edNotes = named(new QPlainTextEdit, "edNotes");
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    edNotes->setFont(courier);
    edNotes->setTabChangesFocus(false);  // tabs are typed into the notes
    notesLayout->addWidget(edNotes);

    buildTerminalPage(terminal);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TfrmMain::PageControl1Change);
}

void TfrmMain::buildChartsPage(QWidget* page) {
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    lbMessurement = named(new TColorListBox, "lbMessurement");
    lbMessurement->setFixedWidth(170);
    lbMessurement->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lbMessurement, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { pmList->popup(lbMessurement->mapToGlobal(p)); });
    layout->addWidget(lbMessurement);
    pbMemory = named(new TBlockProgressBar(Qt::Vertical), "pbMemory");
    pbMemory->setFixedWidth(14);
    pbMemory->setRange(0, 100);
    layout->addWidget(pbMemory);

    paChartArea = named(new QWidget, "paChartArea");
    layout->addWidget(paChartArea, 1);
    paStart = named(new TStartPanel(paChartArea), "paStart");
    TabControl1 = named(new TTabControl(paChartArea), "TabControl1");
    TabControl1->addTab(QStringLiteral("Relative altitude"));
    TabControl1->addTab(QStringLiteral("Climb / dive rate"));
    TabControl1->addTab(QStringLiteral("Altitude / cd rate"));
    auto* chartLayout = new QVBoxLayout(TabControl1->page());
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->setSpacing(0);
    chartGlobal = named(new TLogChart, "chartGlobal");
    ScrollBar1 = named(new QScrollBar(Qt::Horizontal), "ScrollBar1");
    ScrollBar1->setRange(0, 0);
    ScrollBar1->setPageStep(0);
    chartLayout->addWidget(chartGlobal, 1);
    chartLayout->addWidget(ScrollBar1);
    paChartArea->installEventFilter(this);  // keeps the start panel or the tabs filling the area

    connect(paStart, &TStartPanel::actionTriggered, this, [this](int action) {
        switch (action) {
            case 0:
                btnReadLogClick();
                break;
            case 1:
                miOpenClick(false);
                break;
            case 2:
                btnDeviceConfigClick();
                break;
            case 3:
                btnClearLogClick();
                break;
        }
    });
}

void TfrmMain::buildTerminalPage(QWidget* page) {
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    edTerminal = named(new QPlainTextEdit, "edTerminal");
    edTerminal->setReadOnly(true);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    edTerminal->setFont(courier);
    edTerminal->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    leftLayout->addWidget(edTerminal, 1);
    layout->addWidget(left, 1);

    auto* right = named(new QWidget, "paPortSettings");
    right->setFixedWidth(162);
    auto* rl = new QVBoxLayout(right);
    auto combo = [&](QLabel*& label, const char* labelName, const char* caption, QComboBox*& box,
                     const char* boxName, const QStringList& items) {
        label = named(new QLabel(QString::fromLatin1(caption)), labelName);
        box = named(new QComboBox, boxName);
        box->addItems(items);
        rl->addWidget(label);
        rl->addWidget(box);
    };
    combo(lbPort, "lbPort", "Port", cbPort, "cbPort", {});
    combo(lbBaud, "lbBaud", "Baud", cbBaud, "cbBaud",
          {"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000", "57600",
           "115200", "128000", "256000"});
    combo(lbParity, "lbParity", "Parity", cbParity, "cbParity",
          {"NOPARITY", "ODDPARITY", "EVENPARITY", "MARKPARITY", "SPACEPARITY"});
    combo(lbStopBit, "lbStopBit", "Stop bit", cbStopBit, "cbStopBit",
          {"ONESTOPBIT", "ONE5STOPBITS", "TWOSTOPBITS"});
    for (QWidget* w : {static_cast<QWidget*>(lbBaud), static_cast<QWidget*>(cbBaud),
                       static_cast<QWidget*>(lbParity), static_cast<QWidget*>(cbParity),
                       static_cast<QWidget*>(lbStopBit), static_cast<QWidget*>(cbStopBit)}) {
        w->setEnabled(false);
    }
    cbBaud->setCurrentText(QStringLiteral("38400"));
    btnOpen = named(new QPushButton(QStringLiteral("Open")), "btnOpen");
    btnClear = named(new QPushButton(QStringLiteral("Clear")), "btnClear");
    btnClear->setEnabled(false);
    rl->addSpacing(8);
    rl->addWidget(btnOpen);
    rl->addWidget(btnClear);
    rl->addStretch(1);
    layout->addWidget(right);
    connect(btnOpen, &QPushButton::clicked, this, &TfrmMain::btnOpenClick);
    connect(btnClear, &QPushButton::clicked, this, &TfrmMain::btnClearClick);

    // The command line lives in the 21-pixel strip under the display; typing is off until
    // the hidden "Enable terminal" shortcut switches it on.
    edCommand = named(new QLineEdit, "edCommand");
    edCommand->setFixedHeight(21);
    edCommand->setFrame(true);
    edCommand->setEnabled(false);
    edCommand->installEventFilter(this);
    edTerminal->installEventFilter(this);
    leftLayout->addWidget(edCommand);

    // Hidden pop-up items: reachable only through their shortcuts, from anywhere inside the pages.
    // The pop-up itself never opens; the actions stay "visible" because the toolkit switches
    // off the shortcuts of hidden actions.
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    Clearterminal1 = addItem(PopupMenu1, "Clearterminal1", QStringLiteral("Clear terminal"));
    Copyall1 = addItem(PopupMenu1, "Copyall1", QStringLiteral("Copy all"));
    Enableterminal1 = addItem(PopupMenu1, "Enableterminal1", QStringLiteral("Enable terminal"));
    Clearterminal1->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    Copyall1->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A));
    Enableterminal1->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T));
    for (QAction* a : {Clearterminal1, Copyall1, Enableterminal1}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        PageControl1->addAction(a);
    }
    connect(Clearterminal1, &QAction::triggered, this, &TfrmMain::btnClearClick);
    connect(Copyall1, &QAction::triggered, this, &TfrmMain::Copyall1Click);
    connect(Enableterminal1, &QAction::triggered, this, &TfrmMain::Enableterminal1Click);
    for (QWidget* w : {static_cast<QWidget*>(edTerminal), static_cast<QWidget*>(edCommand)}) {
        w->setContextMenuPolicy(Qt::NoContextMenu);  // the pop-up's items are all hidden
    }
}

void TfrmMain::buildStatusBar() {
    StatusBar1 = named(new TStatusBar, "StatusBar1");
    StatusBar1->setPanelText(0, QStringLiteral("Time:"));
    StatusBar1->setPanelText(1, QStringLiteral("Altitude:"));
    ProgressBar1 = named(new TBlockProgressBar(Qt::Horizontal, this), "ProgressBar1");
    ProgressBar1->setVisible(false);
}

void TfrmMain::placeStatusProgressBar() {
    // Into panel 2, so it shows whatever page is active.
    ProgressBar1->setParent(StatusBar1);
    ProgressBar1->setGeometry(StatusBar1->panelWidth(0) + StatusBar1->panelWidth(1) + 1, 2,
                              StatusBar1->panelWidth(2) - 4, StatusBar1->height() - 3);
}
