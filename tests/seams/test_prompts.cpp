#include <gtest/gtest.h>

#include "app/qtuserprompts.h"
#include "common/scriptedprompts.h"

TEST(QtUserPrompts, ProgramFiltersBecomeQtNameFilters) {
    const QStringList filters = ToQtNameFilters(
        QStringLiteral("Altitude log (*.vul,*.vuc)|*.vul;*.vuc|CSV files|*.csv|All files|*.*"));
    ASSERT_EQ(filters.size(), 3);
    EXPECT_TRUE(filters[0].startsWith(QStringLiteral("Altitude log (*.vul,*.vuc)")));
    EXPECT_TRUE(filters[0].endsWith(QStringLiteral("(*.vul *.vuc)")));
    EXPECT_TRUE(filters[1].endsWith(QStringLiteral("(*.csv)")));
    EXPECT_TRUE(filters[2].endsWith(QStringLiteral("(*.*)")));
}

TEST(ScriptedPrompts, AnswersInOrderAndRecordsWhatItWasNotToldToAnswer) {
    ScriptedPrompts prompts;
    prompts.answerConfirm(true);
    prompts.answerFile(QStringLiteral("/tmp/a.vul"), 2);
    EXPECT_TRUE(ConfirmBox(prompts, QStringLiteral("Delete?"), QStringLiteral("Yes"), QStringLiteral("No"),
                           QStringLiteral("Altitude meter")));
    const auto file = prompts.openFile({QStringLiteral("Open"), QStringLiteral("Logs|*.vul"), 1, {}, {}, {}});
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->path, QStringLiteral("/tmp/a.vul"));
    EXPECT_EQ(file->filterIndex, 2);
    EXPECT_TRUE(prompts.allAnswersUsed());
    prompts.showError(QStringLiteral("Wrong file format."));
    EXPECT_FALSE(prompts.confirm(QStringLiteral("Again?"), {}, {}, {}));  // unscripted: "no"
    EXPECT_EQ(prompts.unexpected(), QStringList{QStringLiteral("confirm: Again?")});
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Wrong file format.")});
}
