#pragma once

#include <QListWidget>

/// The log list: one text and one colour swatch per item, renamed in place with F2 or a
/// double click, names limited to maxEditLength characters.
class TColorListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TColorListBox(QWidget* parent = nullptr);

    void addItem(const QString& text, quint32 color);  // colour 0x00BBGGRR
    void insertItem(int index, const QString& text, quint32 color);
    void removeItem(int index);
    QString itemText(int index) const;
    void setItemText(int index, const QString& text);
    quint32 itemColor(int index) const;
    void setItemColor(int index, quint32 color);
    /// Longest name the in-place editor accepts; 0 = no limit.
    int maxEditLength() const { return m_maxEditLength; }
    void setMaxEditLength(int length) { m_maxEditLength = length < 0 ? 0 : length; }
    /// Starts the in-place editor on an item, as F2 does.
    void editItemText(int index);

Q_SIGNALS:
    /// The user finished renaming an item and its text changed.
    void itemRenamed(int index, const QString& text);

private:
    friend class ColorSwatchDelegate;
    int m_maxEditLength = 0;
};
