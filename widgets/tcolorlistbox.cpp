#include "widgets/tcolorlistbox.h"

#include <QColor>

namespace {
QColor fromBgr(quint32 c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
quint32 toBgr(const QColor& c) { return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16; }
}  // namespace

TColorListBox::TColorListBox(QWidget* parent) : QListWidget(parent) {}

void TColorListBox::addItem(const QString& text, quint32 color) { insertItem(count(), text, color); }

void TColorListBox::insertItem(int index, const QString& text, quint32 color) {
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::DecorationRole, fromBgr(color));
    QListWidget::insertItem(index, item);
}

void TColorListBox::removeItem(int index) { delete takeItem(index); }

QString TColorListBox::itemText(int index) const {
    const auto* it = item(index);
    return it ? it->text() : QString();
}

void TColorListBox::setItemText(int index, const QString& text) {
    if (auto* it = item(index)) it->setText(text);
}

quint32 TColorListBox::itemColor(int index) const {
    const auto* it = item(index);
    return it ? toBgr(it->data(Qt::DecorationRole).value<QColor>()) : 0;
}

void TColorListBox::setItemColor(int index, quint32 color) {
    if (auto* it = item(index)) it->setData(Qt::DecorationRole, fromBgr(color));
}
