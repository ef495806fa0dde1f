#include "widgets/ttabcontrol.h"

#include <QMouseEvent>
#include <QPainter>

TTabControl::TTabControl(QWidget* parent) : QWidget(parent), m_page(new QWidget(this)) {}

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
    const int w = 140;
    return QRect(2 + index * (w + 2), 2, w, stripHeight() - 4);
}

void TTabControl::resizeEvent(QResizeEvent*) {
    m_page->setGeometry(0, stripHeight(), width(), qMax(0, height() - stripHeight()));
}

void TTabControl::mousePressEvent(QMouseEvent* event) {
    for (int i = 0; i < count(); ++i) {
        if (tabRect(i).contains(event->position().toPoint()) && m_enabled[i] && i != m_current) {
            m_current = i;
            update();
            Q_EMIT currentChanged(i);
            return;
        }
    }
}

void TTabControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i);
        const bool current = i == m_current;
        p.fillRect(r, current ? palette().color(QPalette::Highlight) : palette().color(QPalette::Button));
        p.setPen(!m_enabled[i]   ? palette().color(QPalette::Disabled, QPalette::ButtonText)
                 : current       ? palette().color(QPalette::HighlightedText)
                                 : palette().color(QPalette::ButtonText));
        p.drawText(r, Qt::AlignCenter, m_captions[i]);
    }
}
