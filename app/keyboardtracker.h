#pragma once

#include <QObject>
#include <QSet>

/// Follows the keyboard for IsKeyDown: an application-wide event filter remembers which keys
/// are held; Shift, Ctrl and Alt come from the toolkit's own modifier state.
class KeyboardTracker : public QObject {
    Q_OBJECT
public:
    /// Installs itself on the application and as the key-state provider.
    explicit KeyboardTracker(QObject* parent = nullptr);
    ~KeyboardTracker() override;

    bool isDown(int virtualKey) const;
    /// The virtual key code of a toolkit key, 0 when it has none.
    static int virtualKeyOf(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSet<int> m_down;
};
