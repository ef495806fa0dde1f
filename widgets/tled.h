#pragma once

#include <QColor>
#include <QWidget>

/// The round device LED: lit green while the device answers.
class TLed : public QWidget {
    Q_OBJECT
public:
    explicit TLed(QWidget* parent = nullptr);
    bool isOn() const { return m_on; }
    void setOn(bool on);
    QSize sizeHint() const override { return {20, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_on = false;
};
