#pragma once

#include <QString>
#include <QWidget>

/// The round memory gauge: an arc filled to a percentage, the percentage in the middle and
/// two message lines under it. Progress -1 is the no-value state (empty ring).
class TCircleBar : public QWidget {
    Q_OBJECT
public:
    explicit TCircleBar(QWidget* parent = nullptr);
    int progress() const { return m_progress; }
    void setProgress(int percent);
    void setMessages(const QString& line1, const QString& line2);
    QString message1() const { return m_line1; }
    QString message2() const { return m_line2; }
    QSize sizeHint() const override { return {120, 40}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_progress = -1;
    QString m_line1;
    QString m_line2;
};
