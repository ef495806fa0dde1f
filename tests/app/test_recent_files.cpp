#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/recentfiles.h"
#include "support/inifile.h"
#include "support/textfiles.h"

namespace {
QString makeFile(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.path() + QLatin1Char('/') + name;
    SaveStringToFile(path, "x");
    return path;
}
}  // namespace

TEST(RecentFiles, AddingMovesAnEntryToTheTopAndDropsTheLast) {
    QTemporaryDir dir;
    RecentFiles recent;
    QStringList paths;
    for (int i = 0; i < RecentFiles::kSlots; ++i) paths << makeFile(dir, QStringLiteral("f%1.vul").arg(i));
    for (int i = RecentFiles::kSlots - 1; i >= 0; --i) recent.add(paths[i]);
    ASSERT_EQ(recent.slots(), paths);

    // An entry in slot 5 goes to slot 0; slots 0 to 4 shift down; 6 to 19 stay.
    ASSERT_TRUE(recent.add(paths[5]));
    QStringList expected = paths;
    expected.move(5, 0);
    EXPECT_EQ(recent.slots(), expected);

    // A new path drops slot 19.
    const QString fresh = makeFile(dir, QStringLiteral("new.vuc"));
    ASSERT_TRUE(recent.add(fresh));
    EXPECT_EQ(recent.slot(0), fresh);
    EXPECT_EQ(recent.slot(1), expected[0]);
    EXPECT_EQ(recent.slot(19), expected[18]);
    EXPECT_FALSE(recent.slots().contains(expected[19]));
}

TEST(RecentFiles, EmptyOrMissingPathsChangeNothingAndMatchingIsCaseSensitive) {
    QTemporaryDir dir;
    RecentFiles recent;
    const QString a = makeFile(dir, QStringLiteral("a.vul"));
    const QString upper = makeFile(dir, QStringLiteral("A.vul"));
    EXPECT_FALSE(recent.add(QString()));
    EXPECT_FALSE(recent.add(dir.path() + QStringLiteral("/missing.vul")));
    recent.add(a);
    recent.add(upper);
    EXPECT_EQ(recent.slot(0), upper);
    EXPECT_EQ(recent.slot(1), a);
}

TEST(RecentFiles, GapsStayEmptyAndOnlyFilledSlotsAreWritten) {
    QTemporaryDir dir;
    const QString kept = makeFile(dir, QStringLiteral("kept.vul"));
    IniFile ini(QByteArray("[files]\nfile1=" + kept.toUtf8() + "\nfile3=/gone/x.vul\n"));
    RecentFiles recent;
    recent.load(ini);
    EXPECT_EQ(recent.slot(0), kept);
    EXPECT_TRUE(recent.slot(1).isEmpty());
    EXPECT_EQ(recent.slot(2), QStringLiteral("/gone/x.vul"));
    EXPECT_EQ(recent.availableSlots(), QList<int>{0});  // missing files are kept but not offered

    recent.setSlot(2, QString());
    IniFile out(QByteArray("[files]\nfile3=/older/value.vul\n"));
    recent.store(out);
    EXPECT_EQ(out.readString("files", "file1", ""), kept);
    EXPECT_FALSE(out.hasKey("files", "file2"));
    EXPECT_EQ(out.readString("files", "file3", ""), QStringLiteral("/older/value.vul"));
}
