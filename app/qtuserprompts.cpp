#include "app/qtuserprompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

QStringList ToQtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The text may already show its patterns ("Altitude log (*.vul)"); Qt reads the
        // patterns from the last parentheses, so give it the real ones there.
        out << parts[i] + QStringLiteral(" [") + patterns + QStringLiteral("] (") + patterns +
                   QStringLiteral(")");
    }
    return out;
}

void QtUserPrompts::showMessage(const QString& text) {
    QMessageBox::information(m_parent, kApplicationTitle, text);
}

void QtUserPrompts::showError(const QString& text) {
    QMessageBox::critical(m_parent, kApplicationTitle, text);
}

bool QtUserPrompts::confirm(const QString& message, const QString& acceptCaption,
                            const QString& refuseCaption, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, message, QMessageBox::NoButton, m_parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    QPushButton* accept = box.addButton(acceptCaption, QMessageBox::AcceptRole);
    box.addButton(refuseCaption, QMessageBox::RejectRole);
    box.setDefaultButton(accept);
    box.setStyleSheet(QStringLiteral("QLabel { min-width: 300px; }"));
    box.exec();
    return box.clickedButton() == accept;
}

namespace {
std::optional<FileDialogResult> runFileDialog(QWidget* parent, const FileDialogRequest& r, bool save) {
    QFileDialog dialog(parent, r.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = ToQtNameFilters(r.filter);
    dialog.setNameFilters(filters);
    if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[r.filterIndex - 1]);
    if (!r.initialFolder.isEmpty()) dialog.setDirectory(r.initialFolder);
    if (!r.defaultExtension.isEmpty()) dialog.setDefaultSuffix(r.defaultExtension);
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    if (r.nameForFilter) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
            const int index = int(filters.indexOf(filter)) + 1;
            const QStringList chosen = dialog.selectedFiles();
            const QString current = chosen.isEmpty() ? QString() : QFileInfo(chosen.first()).fileName();
            const QString name = r.nameForFilter(index, current);
            if (!name.isEmpty()) dialog.selectFile(name);
        });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FileDialogResult{dialog.selectedFiles().first(),
                            int(filters.indexOf(dialog.selectedNameFilter())) + 1};
}
}  // namespace

std::optional<FileDialogResult> QtUserPrompts::openFile(const FileDialogRequest& request) {
    return runFileDialog(m_parent, request, false);
}

std::optional<FileDialogResult> QtUserPrompts::saveFile(const FileDialogRequest& request) {
    return runFileDialog(m_parent, request, true);
}

std::optional<quint32> QtUserPrompts::chooseColor(quint32 initialColor) {
    const QColor initial(initialColor & 0xFF, (initialColor >> 8) & 0xFF, (initialColor >> 16) & 0xFF);
    const QColor c = QColorDialog::getColor(initial, m_parent);
    if (!c.isValid()) return std::nullopt;
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}
