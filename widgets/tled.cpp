#include "widgets/tled.h"

#include <QPainter>
#include <QRadialGradient>

TLed::TLed(QWidget* parent) : QWidget(parent) { setFixedSize(20, 20); }

void TLed::setOn(bool on) {
    if (m_on == on) return;
    m_on = on;
    update();
}

void TLed::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(2, 2, -2, -2);
    const QColor base = m_on ? QColor(40, 220, 60) : QColor(40, 70, 45);
    QRadialGradient g(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() * 0.7);
    g.setColorAt(0, base.lighter(m_on ? 170 : 130));
    g.setColorAt(1, base.darker(120));
    p.setBrush(g);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.drawEllipse(r);
}
