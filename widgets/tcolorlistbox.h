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
    int maxEditLength() const { return m_maxEditLength; }
    void setMaxEditLength(int length) { m_maxEditLength = length; }

private:
    int m_maxEditLength = 0;
};
