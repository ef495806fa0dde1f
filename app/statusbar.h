#pragma once

#include <QList>
#include <QWidget>

class QLabel;

/// The status bar: five fixed panels of 150, 150, 400, 70 and 50 pixels.
class TStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);
    static constexpr int kPanelCount = 5;

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    int panelWidth(int panel) const;
    QLabel* panel(int index) const { return m_panels[index]; }

private:
    QList<QLabel*> m_panels;
};
