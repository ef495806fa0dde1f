#include "app/startpanel.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

namespace {

constexpr QRgb kShadowColor = 0x535353;
constexpr QRgb kSilverColor = 0xC0C0C0;
constexpr QRgb kHoverColor = 0x808080;

struct StartAction {
    const char* buttonName;
    const char* buttonCaption;
    const char* icon;
    const char* labelName;
    const char* shadowName;
    const char* text;
};

constexpr StartAction kActions[TStartPanel::kActionCount] = {
    {"btnReadLogStart", "Read log", ":/icons/read_logs.svg", "lbReadLog", "lbReadLogSh",
     "Read all logs from device"},
    {"btnOpenFileStart", "Open file ...", ":/icons/open.svg", "lbLoadLog", "lbLoadLogSh",
     "Open a recently stored file"},
    {"btnDeviceConfigStart", "VUMA config", ":/icons/config.svg", "lbConfig", "lbConfigSh",
     "Configure your VUMA"},
    {"btnClearLogStart", "Clear logs", ":/icons/clear_logs.svg", "lbReset", "lbResetSh",
     "Clear all logs from VUMA"},
};

void setTextColor(QLabel* label, QRgb rgb) {
    label->setStyleSheet(
        QStringLiteral("color: #%1; background: transparent;").arg(rgb, 6, 16, QLatin1Char('0')));
}

QLabel* makeCaption(QWidget* parent, const char* name, const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(19);
    font.setBold(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
    label->adjustSize();
    return label;
}

}  // namespace

TStartPanel::TStartPanel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x2b, 0x2f, 0x36));
    setPalette(pal);

    auto* title = new QLabel(QStringLiteral("Welcome to VUMA PC program"), this);
    title->setObjectName(QStringLiteral("lbWelcome"));
    QFont titleFont(QStringLiteral("Segoe UI"));
    titleFont.setPixelSize(28);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: #e8e8e8;"));
    title->move(40, 30);
    title->adjustSize();

    auto* choose = new QLabel(QStringLiteral("Choose your action:"), this);
    choose->setObjectName(QStringLiteral("lbChoose"));
    QFont chooseFont(QStringLiteral("Segoe UI"));
    chooseFont.setPixelSize(16);
    choose->setFont(chooseFont);
    choose->setStyleSheet(QStringLiteral("color: #b0b0b0;"));
    choose->move(40, 80);
    choose->adjustSize();

    for (int i = 0; i < kActionCount; ++i) {
        const StartAction& item = kActions[i];
        const int top = 125 + i * 70;
        Action& a = m_actions[i];
        a.button = new QToolButton(this);
        a.button->setObjectName(QString::fromLatin1(item.buttonName));
        a.button->setText(QString::fromLatin1(item.buttonCaption));
        a.button->setToolTip(QString::fromLatin1(item.buttonCaption));
        a.button->setIcon(QIcon(QString::fromLatin1(item.icon)));
        a.button->setIconSize(QSize(40, 40));
        a.button->setAutoRaise(true);
        a.button->setGeometry(50, top, 56, 56);
        a.shadow = makeCaption(this, item.shadowName, item.text);
        a.label = makeCaption(this, item.labelName, item.text);
        a.shadow->move(126, top + 15);
        a.label->move(125, top + 14);
        a.label->raise();
        restoreAction(i);
        for (QWidget* w : {static_cast<QWidget*>(a.button), static_cast<QWidget*>(a.label),
                           static_cast<QWidget*>(a.shadow)}) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
        }
        connect(a.button, &QToolButton::clicked, this, [this, i] { Q_EMIT actionTriggered(i); });
    }
}

void TStartPanel::highlightAction(int index) {
    m_actions[index].shadow->hide();
    setTextColor(m_actions[index].label, kHoverColor);
    m_actions[index].label->setProperty("highlighted", true);
}

void TStartPanel::restoreAction(int index) {
    m_actions[index].shadow->show();
    setTextColor(m_actions[index].shadow, kShadowColor);
    setTextColor(m_actions[index].label, kSilverColor);
    m_actions[index].label->setProperty("highlighted", false);
}

void TStartPanel::restoreAll() {
    for (int i = 0; i < kActionCount; ++i) restoreAction(i);
}

bool TStartPanel::isHighlighted(int index) const {
    return m_actions[index].label->property("highlighted").toBool();
}

int TStartPanel::actionOf(QObject* object) const {
    for (int i = 0; i < kActionCount; ++i) {
        const Action& a = m_actions[i];
        if (object == a.button || object == a.label || object == a.shadow) return i;
    }
    return -1;
}

bool TStartPanel::eventFilter(QObject* watched, QEvent* event) {
    const int i = actionOf(watched);
    if (i >= 0) {
        switch (event->type()) {
            case QEvent::MouseMove:
            case QEvent::Enter:
                if (!isHighlighted(i)) highlightAction(i);
                break;
            case QEvent::Leave:
                // Leaving a caption restores its action; leaving the button keeps the lift
                // until the pointer reaches a caption or the bare panel.
                if (watched != m_actions[i].button) restoreAction(i);
                break;
            case QEvent::MouseButtonRelease:
                if (watched != m_actions[i].button && m_actions[i].button->isEnabled())
                    Q_EMIT actionTriggered(i);
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TStartPanel::mouseMoveEvent(QMouseEvent* event) {
    // Moves over a caption or a button that it ignores reach the panel too; only the bare
    // panel restores the actions.
    if (actionOf(childAt(event->position().toPoint())) < 0) restoreAll();
    QWidget::mouseMoveEvent(event);
}
