#include "chart/tlogchart.h"

#include <QPainter>

TLogChart::TLogChart(QWidget* parent) : QWidget(parent) {}

void TLogChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
}
