#pragma once

#include "support/userprompts.h"

class QWidget;

/// The real dialogs: message boxes titled "Altitude meter", the confirm box, file and colour
/// dialogs.
class QtUserPrompts : public UserPrompts {
public:
    /// Dialogs are centred on parent (the main window) once it is set.
    void setParentWidget(QWidget* parent) { m_parent = parent; }

    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    bool confirm(const QString& message, const QString& acceptCaption, const QString& refuseCaption,
                 const QString& title) override;
    std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override;
    std::optional<quint32> chooseColor(quint32 initialColor) override;

private:
    QWidget* m_parent = nullptr;
};

/// "Text|*.a;*.b|Text2|*.c" as Qt's name filters ("Text (*.a *.b)").
QStringList ToQtNameFilters(const QString& filter);
