#include "common/scriptedprompts.h"

QStringList ScriptedPrompts::messages() const {
    QStringList out;
    for (const Shown& s : m_shown) {
        if (s.kind == Kind::Message || s.kind == Kind::Error) out << s.text;
    }
    return out;
}

std::optional<ScriptedPrompts::Answer> ScriptedPrompts::nextAnswer(const QString& what) {
    if (m_answers.empty()) {
        m_unexpected << what;
        return std::nullopt;
    }
    Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

void ScriptedPrompts::showMessage(const QString& text) { m_shown.append({Kind::Message, text, {}}); }

void ScriptedPrompts::showError(const QString& text) { m_shown.append({Kind::Error, text, {}}); }

bool ScriptedPrompts::confirm(const QString& message, const QString&, const QString&, const QString&) {
    m_shown.append({Kind::Confirm, message, {}});
    const auto a = nextAnswer(QStringLiteral("confirm: ") + message);
    return a && std::holds_alternative<bool>(*a) && std::get<bool>(*a);
}

std::optional<FileDialogResult> ScriptedPrompts::openFile(const FileDialogRequest& request) {
    m_shown.append({Kind::OpenFile, request.title, request});
    const auto a = nextAnswer(QStringLiteral("open file: ") + request.filter);
    if (a && std::holds_alternative<FileDialogResult>(*a)) return std::get<FileDialogResult>(*a);
    return std::nullopt;
}

std::optional<FileDialogResult> ScriptedPrompts::saveFile(const FileDialogRequest& request) {
    m_shown.append({Kind::SaveFile, request.title, request});
    const auto a = nextAnswer(QStringLiteral("save file: ") + request.filter);
    if (a && std::holds_alternative<FileDialogResult>(*a)) return std::get<FileDialogResult>(*a);
    return std::nullopt;
}

std::optional<quint32> ScriptedPrompts::chooseColor(quint32) {
    m_shown.append({Kind::Color, QString(), {}});
    const auto a = nextAnswer(QStringLiteral("colour"));
    if (a && std::holds_alternative<quint32>(*a)) return std::get<quint32>(*a);
    return std::nullopt;
}
