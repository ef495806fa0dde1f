#include "app/keyboardtracker.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include "support/keystate.h"

KeyboardTracker::KeyboardTracker(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
    SetKeyStateProvider([this](int vk) { return isDown(vk); });
}

KeyboardTracker::~KeyboardTracker() { SetKeyStateProvider({}); }

int KeyboardTracker::virtualKeyOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return kVkShift;
        case Qt::Key_Control:
            return kVkControl;
        case Qt::Key_Alt:
            return kVkMenu;
        case Qt::Key_Escape:
            return kVkEscape;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
    }
}

bool KeyboardTracker::isDown(int virtualKey) const {
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    if (virtualKey == kVkShift) return mods & Qt::ShiftModifier;
    if (virtualKey == kVkControl) return mods & Qt::ControlModifier;
    if (virtualKey == kVkMenu) return mods & Qt::AltModifier;
    return m_down.contains(virtualKey);
}

bool KeyboardTracker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            const int vk = virtualKeyOf(key->key());
            if (vk) {
                if (event->type() == QEvent::KeyPress) {
                    m_down.insert(vk);
                } else {
                    m_down.remove(vk);
                }
            }
        }
    } else if (event->type() == QEvent::ApplicationDeactivate) {
        m_down.clear();  // key releases outside the program never reach us
    }
    return QObject::eventFilter(watched, event);
}
