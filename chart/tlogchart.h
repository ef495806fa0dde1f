#pragma once

#include <QWidget>

/// The log chart: three axes, ten series, rubber-band zoom and panning, drawn with QPainter.
class TLogChart : public QWidget {
    Q_OBJECT
public:
    explicit TLogChart(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
