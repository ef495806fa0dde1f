#include "widgets/tblockprogressbar.h"

#include <QPainter>

TBlockProgressBar::TBlockProgressBar(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), m_orientation(orientation) {}

QSize TBlockProgressBar::sizeHint() const {
    return m_orientation == Qt::Horizontal ? QSize(200, 16) : QSize(12, 200);
}

void TBlockProgressBar::setRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = qMax(minimum, maximum);
    m_pos = qBound(m_min, m_pos, m_max);
    update();
}

void TBlockProgressBar::setPosition(int position) {
    const int p = qBound(m_min, position, m_max);
    if (p == m_pos) return;
    m_pos = p;
    update();
}

void TBlockProgressBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_max <= m_min) return;
    const double fraction = double(m_pos - m_min) / double(m_max - m_min);
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int length = horizontal ? width() - 4 : height() - 4;
    const int thickness = horizontal ? height() - 4 : width() - 4;
    const int block = qMax(3, thickness * 2 / 3);
    const int filled = int(fraction * length + 0.5);
    const QColor fill = palette().color(QPalette::Highlight);
    for (int at = 0; at + block <= filled || (at < filled && at + block > length); at += block + 2) {
        const int len = qMin(block, length - at);
        const QRect r =
            horizontal ? QRect(2 + at, 2, len, thickness) : QRect(2, height() - 2 - at - len, thickness, len);
        p.fillRect(r, fill);
    }
}
