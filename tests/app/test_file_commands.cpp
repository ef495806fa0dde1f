#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include "files/fileerrors.h"
#include "logs/logpalette.h"
#include "mainwindowfixture.h"
#include "support/textfiles.h"
#include "widgets/tcolorlistbox.h"

namespace {

TMeas makeLog(int samples, double base, qint32 period = 1000) {
    TMeas log;
    log.SamplePeriod = period;
    for (int i = 0; i < samples; ++i) {
        TLogSample s;
        s.Altitude = base + i * 1.5;
        log.Samples.push_back(s);
    }
    log.ViewLast = samples - 1;
    return log;
}

}  // namespace

class FileCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        createWindow();
        TMeas first = makeLog(30, 400);
        first.ChartColor = LogPalette(0);
        TMeas second = makeLog(8, 1200, 2000);
        second.ChartColor = LogPalette(1);
        window->AddLog(first, QStringLiteral("Log 1"));
        window->AddLog(second, QStringLiteral("Ridge soaring"));
        window->edNotes->setPlainText(QStringLiteral("Windy day\nLanded at 14:05"));
    }
    QString path(const QString& name) const { return home.path() + QLatin1Char('/') + name; }
};

TEST_F(FileCommandsTest, SaveAsThenOpenRestoresLogsNamesAndNotes) {
    prompts.answerFile(path("flight.vul"), 1);
    window->miSaveAsClick();
    ASSERT_TRUE(QFileInfo::exists(path("flight.vul")));
    EXPECT_EQ(window->FileName, path("flight.vul"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Altitude Logger -  [flight.vul]"));
    EXPECT_EQ(window->RecentFileSlots.slot(0), path("flight.vul"));
    // The proposed name for a window without a file: the time and " fly.vul".
    const auto& request = prompts.shown().last().request;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d fly\\.vul$"))
                    .match(request.fileName)
                    .hasMatch())
        << request.fileName.toStdString();
    window.reset();

    createWindow();
    prompts.answerFile(path("flight.vul"));
    window->miOpenClick(false);
    ASSERT_EQ(window->Logs.size(), 2);
    EXPECT_EQ(window->LogNames(), (QStringList{"Log 1", "Ridge soaring"}));
    EXPECT_EQ(window->Logs[1].SamplePeriod, 2000);
    EXPECT_EQ(window->Logs[1].Samples.size(), 8u);
    EXPECT_DOUBLE_EQ(window->Logs[0].Samples[29].Altitude, 400 + 29 * 1.5);
    EXPECT_EQ(window->edNotes->toPlainText(), QStringLiteral("Windy day\nLanded at 14:05"));
    EXPECT_EQ(window->lbMessurement->currentRow(), 0);
    EXPECT_EQ(window->lbMessurement->itemColor(1), LogPalette(1));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Altitude Logger -  [flight.vul]"));
}

TEST_F(FileCommandsTest, SaveKeepsTheCompressedFormAndSaveAsProposesVul) {
    prompts.answerFile(path("a.vuc"), 2);
    window->miSaveAsClick();
    const QByteArray first = *LoadStringFromFile(path("a.vuc"));
    EXPECT_TRUE(first.startsWith("Vuc"));
    window->miSaveClick();  // no dialog: the same file, compressed again
    EXPECT_TRUE(LoadStringFromFile(path("a.vuc"))->startsWith("Vuc"));
    prompts.cancelFile();
    window->miSaveAsClick();
    EXPECT_EQ(prompts.shown().last().request.fileName, path("a.vul"));
}

TEST_F(FileCommandsTest, TheTypedExtensionDecidesTheExportAndLeavesTheFileAlone) {
    prompts.answerFile(path("flight.xml"), 1);
    window->miSaveAsClick();
    EXPECT_TRUE(LoadStringFromFile(path("flight.xml"))->startsWith("<?xml"));
    EXPECT_TRUE(window->FileName.isEmpty());
    EXPECT_TRUE(window->RecentFileSlots.slot(0).isEmpty());

    window->lbMessurement->setCurrentRow(1);
    prompts.answerFile(path("ridge.csv"), 3);
    window->miSaveAsClick();
    const QByteArray csv = *LoadStringFromFile(path("ridge.csv"));
    EXPECT_EQ(csv.count("\r\n"), 8);
    EXPECT_TRUE(csv.startsWith("0,1200")) << csv.left(40).constData();
}

TEST_F(FileCommandsTest, UnsupportedAndDamagedFilesChangeNothing) {
    SaveStringToFile(path("notes.txt"), "0,1\r\n");
    prompts.answerFile(path("notes.txt"));
    window->miOpenClick(false);
    EXPECT_EQ(prompts.messages().last(), UnsupportedFormatText());

    prompts.answerFile(path("whole.vul"), 1);
    window->miSaveAsClick();
    const QByteArray whole = *LoadStringFromFile(path("whole.vul"));
    SaveStringToFile(path("cut.vul"), whole.left(whole.size() - 10));
    window->FileName.clear();
    prompts.answerFile(path("cut.vul"));
    window->miOpenClick(false);
    EXPECT_EQ(prompts.messages().last(), DamagedFileText());
    EXPECT_EQ(window->Logs.size(), 2);
    EXPECT_EQ(window->LogNames(), (QStringList{"Log 1", "Ridge soaring"}));
    EXPECT_TRUE(window->FileName.isEmpty());
    EXPECT_NE(window->RecentFileSlots.slot(0), path("cut.vul"));
}

TEST_F(FileCommandsTest, AppendAndCsvImportAddToTheList) {
    prompts.answerFile(path("two.vul"), 1);
    window->miSaveAsClick();
    window->FileName = path("current.vul");
    prompts.answerFile(path("two.vul"));
    window->miOpenClick(true);
    EXPECT_EQ(window->Logs.size(), 4);
    EXPECT_EQ(window->FileName, path("current.vul"));  // appending keeps the current file

    SaveStringToFile(path("track.csv"), "0,10\r\n1000,12\r\n2000,15\r\n");
    prompts.answerFile(path("track.csv"));
    window->miOpenClick(false);  // an import adds, even without "Append"
    ASSERT_EQ(window->Logs.size(), 5);
    EXPECT_EQ(window->LogNames().last(), QStringLiteral("track"));
    EXPECT_EQ(window->Logs.last().ChartColor, LogPalette(4));
    EXPECT_EQ(window->lbMessurement->itemColor(4), LogPalette(4));
}

TEST_F(FileCommandsTest, RecentMenuOffersOnlyFilesThatExist) {
    prompts.answerFile(path("kept.vul"), 1);
    window->miSaveAsClick();
    window->RecentFileSlots.setSlot(1, path("gone.vul"));
    window.reset();  // shutdown stores both slots
    createWindow();
    EXPECT_EQ(window->RecentFileSlots.slot(1), path("gone.vul"));
    QStringList offered;
    for (QAction* a : window->pmOpenFile->actions()) {
        if (!a->isSeparator() && a != window->Openfile1 && a != window->Appendfile1) offered << a->text();
    }
    EXPECT_EQ(offered, QStringList{path("kept.vul")});
}
