#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

/// The welcome panel that fills the chart area while no log is shown: four actions, each a
/// flat button and a caption drawn as a silver label over a dark shadow label. Hovering an
/// action lifts its caption (shadow hidden, label grey).
class TStartPanel : public QWidget {
    Q_OBJECT
public:
    explicit TStartPanel(QWidget* parent = nullptr);

    struct Action {
        QToolButton* button = nullptr;
        QLabel* label = nullptr;   // silver, one pixel up and left of the shadow
        QLabel* shadow = nullptr;  // dark
    };
    /// The actions in order: read log, open file, configure, clear logs.
    const Action& action(int index) const { return m_actions[index]; }
    static constexpr int kActionCount = 4;

    /// Hover states: one action lifted, or all restored.
    void highlightAction(int index);
    void restoreAction(int index);
    void restoreAll();
    bool isHighlighted(int index) const;

Q_SIGNALS:
    void actionTriggered(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int actionOf(QObject* object) const;

    Action m_actions[kActionCount];
};
