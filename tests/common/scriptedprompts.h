#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <variant>

#include "support/userprompts.h"

/// UserPrompts for tests: answers come from a script, every prompt is recorded. A question
/// without a scripted answer is recorded in unexpected() and answered "no"/cancel.
class ScriptedPrompts : public UserPrompts {
public:
    enum class Kind { Message, Error, Confirm, OpenFile, SaveFile, Color };
    struct Shown {
        Kind kind;
        QString text;  // message text, or the dialog's title/filter
        FileDialogRequest request;
    };

    void answerConfirm(bool yes) { m_answers.push_back(yes); }
    void answerFile(const QString& path, int filterIndex = 1) {
        m_answers.push_back(FileDialogResult{path, filterIndex});
    }
    void cancelFile() { m_answers.push_back(std::monostate{}); }
    void answerColor(quint32 color) { m_answers.push_back(color); }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList messages() const;  // texts of message and error boxes, in order
    const QStringList& unexpected() const { return m_unexpected; }
    bool allAnswersUsed() const { return m_answers.empty(); }

    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    bool confirm(const QString& message, const QString& acceptCaption, const QString& refuseCaption,
                 const QString& title) override;
    std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override;
    std::optional<quint32> chooseColor(quint32 initialColor) override;

private:
    using Answer = std::variant<std::monostate, bool, FileDialogResult, quint32>;
    std::optional<Answer> nextAnswer(const QString& what);

    std::deque<Answer> m_answers;
    QList<Shown> m_shown;
    QStringList m_unexpected;
};
