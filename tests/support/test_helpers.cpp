#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/fileversion.h"
#include "support/keystate.h"
#include "support/lenientparse.h"
#include "support/textfiles.h"
#include "support/tokens.h"

TEST(Tokens, FieldsFollowTheSplittingRules) {
    struct Case {
        const char* text;
        int n;
        const char* field;
    };
    const Case cases[] = {
        {"a;b;c", 1, "a"}, {"a;b;c", 3, "c"}, {"a;b;c", 4, ""}, {"a;;c", 2, ""}, {"a;;c", 3, "c"},
        {";a", 1, ""},     {";a", 2, "a"},    {"a;", 1, "a"},   {"a;", 2, ""},   {" a ; b", 2, " b"},
        {"abc", 1, "abc"}, {"", 1, ""},       {"a;b", 0, ""},   {"a;b", -1, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetToken(QString::fromLatin1(c.text), c.n, QLatin1Char(';')), QString::fromLatin1(c.field))
            << c.text << " field " << c.n;
    }
}

TEST(Tokens, CountMatchesTheFieldsThatExist) {
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"a", 1}, {"a;b", 2}, {"a;", 1}, {";", 1}, {";;", 2}, {";a", 2}, {"a;;b;", 3},
    };
    for (const auto& [text, count] : cases) {
        EXPECT_EQ(CountTokens(QString::fromLatin1(text), QLatin1Char(';')), count) << text;
    }
}

TEST(LenientParse, IntegersTakeTheLeadingRun) {
    const std::pair<QString, qint32> cases[] = {
        {"42", 42},
        {"  42  ", 42},
        {"\t\r\n17\x01", 17},
        {"-5", -5},
        {"-", 0},
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"12 34", 12},
        {"+3", 0},
        {"--3", 0},
        {"3-4", 3},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseIntLenient(text), value) << qPrintable(text);
}

TEST(LenientParse, FloatsAcceptPointOrComma) {
    const std::pair<QString, double> cases[] = {
        {"1.5", 1.5},   {"1,5", 1.5},    {" -2.25 ", -2.25}, {"1.5.6", 1.5},
        {"1,5,6", 1.5}, {"1.5,6", 1.5},  {".5", 0.5},        {"-.5", -0.5},
        {"5.", 5.0},    {"-", 0.0},      {".", 0.0},         {"", 0.0},
        {"x1", 0.0},    {"23hPa", 23.0}, {"1e3", 1.0},       {"1013.25", 1013.25},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(ParseFloatLenient(text), value) << qPrintable(text);
}

TEST(FileVersion, BuildNumberIsTheLastPart) {
    EXPECT_EQ(FileVersionString(), QStringLiteral("1.0.0.93"));
    EXPECT_EQ(FileVersionString(1), QStringLiteral("93"));
}

TEST(KeyState, NoKeyIsDownWithoutAProvider) {
    SetKeyStateProvider({});
    EXPECT_FALSE(IsKeyDown(kVkControl));
    SetKeyStateProvider([](int vk) { return vk == kVkEscape; });
    EXPECT_TRUE(IsKeyDown(kVkEscape));
    EXPECT_FALSE(IsKeyDown(kVkShift));
    SetKeyStateProvider({});
}

TEST(TextFiles, AppendLogLineCreatesFolderAndEndsLinesWithCrLf) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/a/b/scan.log";
    ASSERT_TRUE(AppendLogLine(path, QStringLiteral("first"), false));
    ASSERT_TRUE(AppendLogLine(path, QStringLiteral("second"), true));
    const QByteArray bytes = *LoadStringFromFile(path);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "first\r");
    EXPECT_TRUE(lines[1].endsWith(" - second\r")) << lines[1].constData();
    EXPECT_GT(lines[1].size(), QByteArray(" - second\r").size() + 6);  // a date and a time stand before it
    EXPECT_EQ(lines[2], "");
}

TEST(TextFiles, SaveAndLoadKeepEveryByte) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/bytes.bin";
    QByteArray bytes;
    for (int i = 0; i < 256; ++i) bytes += char(i);
    ASSERT_TRUE(SaveStringToFile(path, bytes));
    EXPECT_EQ(*LoadStringFromFile(path), bytes);
    ASSERT_TRUE(SaveStringToFile(path, "short"));
    EXPECT_EQ(*LoadStringFromFile(path), QByteArray("short"));
}

TEST(TextFiles, FailuresAreReportedWithAReason) {
    QTemporaryDir dir;
    const QString blocker = dir.path() + "/plainfile";
    ASSERT_TRUE(SaveStringToFile(blocker, "x"));
    QString error;
    EXPECT_FALSE(SaveStringToFile(blocker + "/inside.bin", "y", &error));  // parent is a file
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(*LoadStringFromFile(blocker), QByteArray("x"));
    EXPECT_FALSE(LoadStringFromFile(dir.path() + "/missing.bin").has_value());
    EXPECT_TRUE(ForceFolder(dir.path() + "/x/y/z"));
    EXPECT_TRUE(QDir(dir.path() + "/x/y/z").exists());
    EXPECT_FALSE(ForceFolder(blocker + "/sub"));
}
