#include "widgets/tcirclebar.h"

#include <QPainter>

TCircleBar::TCircleBar(QWidget* parent) : QWidget(parent) {}

void TCircleBar::setProgress(int percent) {
    const int clamped = percent < 0 ? -1 : qMin(percent, 100);
    if (clamped == m_progress) return;
    m_progress = clamped;
    update();
}

void TCircleBar::setMessages(const QString& line1, const QString& line2) {
    m_line1 = line1;
    m_line2 = line2;
    update();
}

void TCircleBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = qMax(10, height() - 4);
    const QRectF ring(2, 2, d, d);
    p.setPen(QPen(QColor(90, 90, 90), 4));
    p.drawEllipse(ring.adjusted(2, 2, -2, -2));
    if (m_progress >= 0) {
        p.setPen(QPen(m_progress > 90 ? QColor(220, 60, 40) : QColor(60, 170, 240), 4, Qt::SolidLine,
                      Qt::FlatCap));
        p.drawArc(ring.adjusted(2, 2, -2, -2), 90 * 16, -m_progress * 360 * 16 / 100);
    }
    QFont f = font();
    f.setPixelSize(qMax(8, d / 4));
    p.setFont(f);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(ring, Qt::AlignCenter,
               m_progress >= 0 ? QString::number(m_progress) + QLatin1Char('%') : QString());
    const QRectF text(ring.right() + 6, 0, width() - ring.right() - 6, height());
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, m_line1 + QLatin1Char('\n') + m_line2);
}
