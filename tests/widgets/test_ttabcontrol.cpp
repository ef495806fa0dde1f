#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "widgets/ttabcontrol.h"

namespace {

struct Tabs {
    TTabControl tabs;
    Tabs() {
        tabs.resize(600, 300);
        tabs.addTab("Relative altitude");
        tabs.addTab("Climb / dive rate");
        tabs.addTab("Altitude / cd rate");
    }
    void click(int index) {
        QTest::mouseClick(&tabs, Qt::LeftButton, Qt::NoModifier, tabs.tabRect(index).center());
    }
};

}  // namespace

TEST(TTabControl, UserClicksChangeEnabledTabsOnly) {
    Tabs t;
    QSignalSpy changed(&t.tabs, &TTabControl::currentChanged);
    EXPECT_EQ(t.tabs.currentIndex(), 0);

    t.click(1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 1);
    EXPECT_EQ(t.tabs.currentIndex(), 1);

    t.click(1);  // the current tab again
    EXPECT_EQ(changed.count(), 1);

    t.tabs.setTabEnabled(2, false);
    EXPECT_FALSE(t.tabs.isTabEnabled(2));
    t.click(2);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(t.tabs.currentIndex(), 1);

    QTest::mouseClick(&t.tabs, Qt::RightButton, Qt::NoModifier, t.tabs.tabRect(0).center());
    QTest::mouseClick(&t.tabs, Qt::LeftButton, Qt::NoModifier, QPoint(590, 100));  // on the page
    EXPECT_EQ(changed.count(), 1);

    t.tabs.setTabEnabled(2, true);
    t.click(2);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(t.tabs.currentIndex(), 2);
}

TEST(TTabControl, ProgramChangesAreSilentAndChecked) {
    Tabs t;
    QSignalSpy changed(&t.tabs, &TTabControl::currentChanged);
    t.tabs.setCurrentIndex(2);
    EXPECT_EQ(t.tabs.currentIndex(), 2);
    t.tabs.setCurrentIndex(5);
    t.tabs.setCurrentIndex(-1);
    EXPECT_EQ(t.tabs.currentIndex(), 2);
    t.tabs.setTabEnabled(9, false);
    EXPECT_FALSE(t.tabs.isTabEnabled(9));
    EXPECT_EQ(changed.count(), 0);
}

TEST(TTabControl, TabsDoNotOverlapAndThePageFillsTheRest) {
    Tabs t;
    for (int i = 0; i + 1 < t.tabs.count(); ++i) {
        EXPECT_LT(t.tabs.tabRect(i).right(), t.tabs.tabRect(i + 1).left());
        EXPECT_EQ(t.tabs.tabAt(t.tabs.tabRect(i).center()), i);
    }
    EXPECT_EQ(t.tabs.tabAt(QPoint(590, 100)), -1);
    EXPECT_TRUE(t.tabs.tabRect(3).isNull());
    t.tabs.show();
    t.tabs.resize(500, 400);
    QApplication::processEvents();
    EXPECT_EQ(t.tabs.page()->geometry(), QRect(0, t.tabs.stripHeight(), 500, 400 - t.tabs.stripHeight()));
}
