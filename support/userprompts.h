#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

/// What a file dialog is asked to show. The filter uses the program's "Text|*.ext|Text|*.ext"
/// form; filter indexes count from 1.
struct FileDialogRequest {
    QString title;
    QString filter;
    int filterIndex = 1;
    QString initialFolder;
    QString fileName;
    QString defaultExtension;  // without the dot
    /// When set, a change of the file type rewrites the name field with what this returns.
    std::function<QString(int filterIndex, const QString& currentName)> nameForFilter;
};

struct FileDialogResult {
    QString path;
    int filterIndex = 1;
};

/// Every question the program puts to the user. The desktop program shows real dialogs;
/// tests script the answers.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    /// A plain message box with an OK button and the title "Altitude meter".
    virtual void showMessage(const QString& text) = 0;
    /// The central error box for a failed command.
    virtual void showError(const QString& text) = 0;
    /// A two-button box; true when the accepting button was pressed.
    virtual bool confirm(const QString& message, const QString& acceptCaption, const QString& refuseCaption,
                         const QString& title) = 0;
    virtual std::optional<FileDialogResult> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) = 0;
    /// Colours are 0x00BBGGRR as the program stores them.
    virtual std::optional<quint32> chooseColor(quint32 initialColor) = 0;
};

/// A modal two-button box at least 300 pixels wide; true when the accepting button was pressed.
bool ConfirmBox(UserPrompts& prompts, const QString& message, const QString& acceptCaption,
                const QString& refuseCaption, const QString& title);

/// The application title shown on every message box.
inline const QString kApplicationTitle = QStringLiteral("Altitude meter");
