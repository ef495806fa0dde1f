#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "widgets/tcolorlistbox.h"

namespace {

struct ShownList {
    TColorListBox list;
    ShownList() {
        list.resize(240, 160);
        list.setMaxEditLength(29);
        list.addItem("Log 1", 0x00FF00);
        list.addItem("Log 2", 0x0000FF);  // red in 0x00BBGGRR
        list.addItem("Log 3", 0xFF0000);
        list.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&list));
    }
    QLineEdit* editor() const { return list.findChild<QLineEdit*>(); }
    QPoint itemCenter(int row) const { return list.visualItemRect(list.item(row)).center(); }
};

}  // namespace

TEST(TColorListBox, KeepsTextAndBgrColourPerItem) {
    TColorListBox list;
    list.addItem("b", 0x0000FF);
    list.insertItem(0, "a", 0x123456);
    list.addItem("c", 0xFFFFFF);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.itemText(0), "a");
    EXPECT_EQ(list.itemColor(0), 0x123456u);
    EXPECT_EQ(list.itemColor(1), 0x0000FFu);
    list.setItemColor(2, 0x00A0FF);
    list.setItemText(2, "z");
    EXPECT_EQ(list.itemColor(2), 0x00A0FFu);
    EXPECT_EQ(list.itemText(2), "z");
    list.removeItem(1);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(1), "z");
    // Indices out of range change nothing and read as empty.
    list.removeItem(7);
    list.setItemText(-1, "x");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(9), "");
    EXPECT_EQ(list.itemColor(9), 0u);
}

TEST(TColorListBox, DrawsEachItemsSwatchInItsColour) {
    ShownList s;
    const QImage img = s.list.viewport()->grab().toImage();
    for (int row = 0; row < 3; ++row) {
        const QRect r = s.list.visualItemRect(s.list.item(row));
        const QColor expected[] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(0, 0, 255)};
        // Inside the swatch, a little right of the item's left edge.
        EXPECT_EQ(img.pixelColor(r.left() + 10, r.center().y()), expected[row]) << "row " << row;
    }
}

TEST(TColorListBox, F2RenamesInPlaceWithinTheLengthLimit) {
    ShownList s;
    QSignalSpy renamed(&s.list, &TColorListBox::itemRenamed);
    s.list.setCurrentRow(1);
    QTest::keyClick(&s.list, Qt::Key_F2);
    QLineEdit* edit = s.editor();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "Log 2");
    EXPECT_EQ(edit->maxLength(), 29);
    edit->selectAll();
    QTest::keyClicks(edit, QString(40, QLatin1Char('n')));
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();  // the view commits the editor's text from its event queue
    EXPECT_EQ(s.list.itemText(1), QString(29, QLatin1Char('n')));
    ASSERT_EQ(renamed.count(), 1);
    EXPECT_EQ(renamed[0][0].toInt(), 1);
    EXPECT_EQ(renamed[0][1].toString(), QString(29, QLatin1Char('n')));
    EXPECT_EQ(s.list.itemColor(1), 0x0000FFu);  // the colour stays with the item
}

TEST(TColorListBox, DoubleClickEditsAndEscapeOrUnchangedTextRenamesNothing) {
    ShownList s;
    QSignalSpy renamed(&s.list, &TColorListBox::itemRenamed);
    QTest::mouseClick(s.list.viewport(), Qt::LeftButton, Qt::NoModifier, s.itemCenter(2));
    QTest::mouseDClick(s.list.viewport(), Qt::LeftButton, Qt::NoModifier, s.itemCenter(2));
    QLineEdit* edit = s.editor();
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "xyz");
    QTest::keyClick(edit, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(s.list.itemText(2), "Log 3");

    s.list.editItemText(0);
    edit = s.editor();
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();  // the view commits the editor's text from its event queue  // confirmed
                                    // without a change
    EXPECT_EQ(renamed.count(), 0);
}

TEST(TColorListBox, NoLimitWhenMaxEditLengthIsZero) {
    ShownList s;
    s.list.setMaxEditLength(0);
    s.list.editItemText(0);
    QLineEdit* edit = s.editor();
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QString(100, QLatin1Char('a')));
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();  // the view commits the editor's text from its event queue
    EXPECT_EQ(s.list.itemText(0), QString(100, QLatin1Char('a')));  // the editor opens with the name selected
}
