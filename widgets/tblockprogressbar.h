#pragma once

#include <QWidget>
#include <Qt>

/// A progress bar drawn as a column or row of blocks (memory use, transfers).
class TBlockProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TBlockProgressBar(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);
    void setRange(int minimum, int maximum);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    void setPosition(int position);
    int position() const { return m_pos; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation m_orientation;
    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
};
