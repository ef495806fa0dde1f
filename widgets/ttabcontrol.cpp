#include "widgets/ttabcontrol.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kTabGap = 2;
constexpr int kTabPadding = 24;  // text to tab edges, both sides together
constexpr int kMinTabWidth = 80;
}  // namespace

TTabControl::TTabControl(QWidget* parent) : QWidget(parent), m_page(new QWidget(this)) {
    m_page->setObjectName(QStringLiteral("page"));
}

int TTabControl::addTab(const QString& caption) {
    m_captions << caption;
    m_enabled << true;
    if (m_current < 0) m_current = 0;
    update();
    return count() - 1;
}

void TTabControl::setTabEnabled(int index, bool enabled) {
    if (index < 0 || index >= count()) return;
    m_enabled[index] = enabled;
    update();
}

bool TTabControl::isTabEnabled(int index) const { return m_enabled.value(index, false); }

void TTabControl::setCurrentIndex(int index) {
    if (index < 0 || index >= count()) return;
    m_current = index;
    update();
}

QRect TTabControl::tabRect(int index) const {
    if (index < 0 || index >= count()) return QRect();
    const QFontMetrics fm(font());
    int x = kTabGap;
    for (int i = 0;; ++i) {
        const int w = std::max(kMinTabWidth, fm.horizontalAdvance(m_captions[i]) + kTabPadding);
        if (i == index) return QRect(x, 2, w, stripHeight() - 4);
        x += w + kTabGap;
    }
}

int TTabControl::tabAt(const QPoint& pos) const {
    for (int i = 0; i < count(); ++i) {
        if (tabRect(i).contains(pos)) return i;
    }
    return -1;
}

void TTabControl::resizeEvent(QResizeEvent*) {
    m_page->setGeometry(0, stripHeight(), width(), qMax(0, height() - stripHeight()));
}

void TTabControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int i = tabAt(event->position().toPoint());
    if (i < 0 || !m_enabled[i] || i == m_current) return;
    m_current = i;
    update();
    Q_EMIT currentChanged(i);
}

void TTabControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(QRect(0, 0, width(), stripHeight()), pal.color(QPalette::Window));
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i);
        const bool current = i == m_current;
        p.fillRect(r, current ? pal.color(QPalette::Highlight) : pal.color(QPalette::Button));
        p.setPen(pal.color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(!m_enabled[i] ? pal.color(QPalette::Disabled, QPalette::ButtonText)
                 : current     ? pal.color(QPalette::HighlightedText)
                               : pal.color(QPalette::ButtonText));
        p.drawText(r, Qt::AlignCenter, m_captions[i]);
    }
}
