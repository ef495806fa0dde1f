// The file commands of the main window: open, append, save, save as, exports and the recent
// files. The formats themselves live in files/.
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>

#include "app/main_window.h"
#include "chart/chartcontroller.h"
#include "files/csvimport.h"
#include "files/fileerrors.h"
#include "files/logexport.h"
#include "files/logfile.h"
#include "logs/logpalette.h"
#include "support/textfiles.h"
#include "support/userprompts.h"
#include "widgets/tblockprogressbar.h"
#include "widgets/tcolorlistbox.h"

void TfrmMain::AddLog(const TMeas& log, const QString& name) {
    Logs.append(log);
    lbMessurement->addItem(name, log.ChartColor);
}

QStringList TfrmMain::LogNames() const {
    QStringList names;
    for (int i = 0; i < lbMessurement->count(); ++i) names << lbMessurement->itemText(i);
    return names;
}

void TfrmMain::showProgress(qint64 done, qint64 total) {
    ProgressBar1->setRange(0, int(qMin<qint64>(total, 1 << 30)));
    ProgressBar1->setPosition(int(qMin<qint64>(done, 1 << 30)));
    ProgressBar1->repaint();
}

void TfrmMain::miOpenClick(bool append) {
    FileDialogRequest request;
    request.title = append ? QStringLiteral("Append") : QStringLiteral("Open");
    request.filter = OpenDialogFilter();
    request.defaultExtension = QStringLiteral("vul");
    const auto chosen = m_prompts.openFile(request);
    if (!chosen) return;
    ShowCharts();
    if (OpenLogFile(chosen->path, append)) AddRecentFile(chosen->path);
}

bool TfrmMain::OpenLogFile(const QString& path, bool append) {
    m_chart->HideMeasurement();
    switch (OpenFormatForPath(path)) {
        case OpenFormat::Unsupported:
            m_prompts.showError(UnsupportedFormatText());
            return false;
        case OpenFormat::CsvImport: {
            // An import always adds one log at the end, whatever the append flag.
            ProgressBar1->show();
            CsvImportResult result = LoadCsvImport(
                path, LogNames(), [this](qint64 done, qint64 total) { showProgress(done, total); });
            ProgressBar1->hide();
            if (!result.ok()) {
                m_prompts.showError(result.error);
                return false;
            }
            result.log.ChartColor = LogPalette(int(Logs.size()));
            AddLog(result.log, result.name);
            break;
        }
        case OpenFormat::LogFile: {
            LogFileReadContext context;
            context.existingCount = append ? int(Logs.size()) : 0;
            context.config = Config;
            const LogFileResult result = LoadLogFile(path, context);
            if (!result.ok()) {
                m_prompts.showError(result.error);
                return false;
            }
            if (!append) {
                Logs.clear();
                lbMessurement->clear();
            }
            for (int i = 0; i < result.content.logs.size(); ++i) {
                AddLog(result.content.logs[i], result.content.names.value(i));
            }
            Config = result.content.config;
            edNotes->setPlainText(result.content.notes);
            if (!append) {
                FileName = path;
                UpdateCaption();
            }
            break;
        }
    }
    m_chart->ShownLog = -1;
    if (lbMessurement->count() > 0) {
        const QSignalBlocker block(lbMessurement);
        lbMessurement->setCurrentRow(0);
    }
    m_chart->DrawLog(false);
    return true;
}

void TfrmMain::miSaveClick() {
    if (FileName.isEmpty()) {
        miSaveAsClick();
        return;
    }
    ShowCharts();
    SaveLogFileAs(FileName, 0);
}

void TfrmMain::miSaveAsClick() {
    ShowCharts();
    FileDialogRequest request;
    request.title = QStringLiteral("Save as");
    request.filter = SaveDialogFilter();
    request.filterIndex = kFilterVul;
    request.defaultExtension = QStringLiteral("vul");
    request.fileName = DefaultSaveName(FileName, QDateTime::currentDateTime());
    request.nameForFilter = [this](int filterIndex, const QString& currentName) {
        const int row = lbMessurement->currentRow();
        return m_saveNameRule.onFilterChanged(filterIndex, currentName,
                                              row >= 0 ? lbMessurement->itemText(row) : QString());
    };
    const auto chosen = m_prompts.saveFile(request);
    if (!chosen) return;
    SaveLogFileAs(chosen->path, chosen->filterIndex);
}

bool TfrmMain::SaveLogFileAs(const QString& path, int filterIndex) {
    const SaveFormat format = SaveFormatForPath(path, filterIndex);
    const NumberSeparators separators = NumberSeparators::fromLocale(QLocale::system());
    auto progress = [this](qint64 done, qint64 total) { showProgress(done, total); };
    QString error;
    switch (format) {
        case SaveFormat::Xml:
        case SaveFormat::Csv:
        case SaveFormat::CsvExcel: {
            // Exports change neither the current file nor the recent files.
            QByteArray bytes;
            ProgressBar1->show();
            if (format == SaveFormat::Xml) {
                bytes = ExportXml(Logs, LogNames(), separators, progress);
            } else {
                const int row = lbMessurement->currentRow();
                if (row < 0 || row >= Logs.size()) {
                    ProgressBar1->hide();
                    m_prompts.showError(NoLogSelectedText());
                    return false;
                }
                bytes =
                    ExportCsv(Logs[row], format == SaveFormat::CsvExcel ? CsvStyle::Excel : CsvStyle::Plain,
                              separators, progress);
            }
            ProgressBar1->hide();
            if (!SaveStringToFile(path, bytes, &error)) {
                m_prompts.showError(error);
                return false;
            }
            return true;
        }
        case SaveFormat::Plain:
        case SaveFormat::Compressed: {
            if (HasImageReference(Logs)) m_prompts.showMessage(BackgroundImageNoticeText());
            LogFileContent content;
            content.logs = Logs;
            content.names = LogNames();
            content.config = Config;
            content.notes = edNotes->toPlainText();
            error = SaveLogFile(path, content, format == SaveFormat::Compressed);
            if (!error.isEmpty()) {
                m_prompts.showError(error);
                return false;
            }
            AddRecentFile(path);
            FileName = path;
            UpdateCaption();
            return true;
        }
    }
    return false;
}

void TfrmMain::AddRecentFile(const QString& path) {
    if (RecentFileSlots.add(path)) RebuildRecentMenu();
}
