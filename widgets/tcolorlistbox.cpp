#include "widgets/tcolorlistbox.h"

#include <QApplication>
#include <QColor>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
QColor fromBgr(quint32 c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
quint32 toBgr(const QColor& c) {
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

constexpr int kSwatchWidth = 14;
constexpr int kSwatchGap = 4;
}  // namespace

/// Draws the colour swatch in front of each name and gives the in-place editor its length limit.
class ColorSwatchDelegate : public QStyledItemDelegate {
public:
    explicit ColorSwatchDelegate(TColorListBox* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        // The swatch is drawn here, not as a decoration icon, so it keeps its size at any font.
        opt.features &= ~QStyleOptionViewItem::HasDecoration;
        opt.icon = QIcon();
        const QRect cell = opt.rect;
        opt.rect.setLeft(cell.left() + kSwatchWidth + 2 * kSwatchGap);
        // Painted through the style, not the base delegate: the base would fill the option from the
        // index again and draw the colour a second time as an icon.
        const QWidget* view = opt.widget;
        QStyle* style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);
        const QRect swatch(cell.left() + kSwatchGap, cell.top() + 2, kSwatchWidth,
                           std::max(4, cell.height() - 4));
        painter->fillRect(swatch, index.data(Qt::DecorationRole).value<QColor>());
        painter->setPen(opt.palette.color(QPalette::Text));
        painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        return QSize(s.width() + kSwatchWidth + 2 * kSwatchGap, std::max(s.height(), 16));
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        if (m_list->maxEditLength() > 0) edit->setMaxLength(m_list->maxEditLength());
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QLineEdit*>(editor)->setText(index.data(Qt::DisplayRole).toString());
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        const QString text = static_cast<QLineEdit*>(editor)->text();
        if (text == index.data(Qt::DisplayRole).toString()) return;
        model->setData(index, text, Qt::DisplayRole);
        Q_EMIT m_list->itemRenamed(index.row(), text);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        editor->setGeometry(option.rect.adjusted(kSwatchWidth + 2 * kSwatchGap, 0, 0, 0));
    }

private:
    TColorListBox* m_list;
};

TColorListBox::TColorListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new ColorSwatchDelegate(this));
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void TColorListBox::addItem(const QString& text, quint32 color) { insertItem(count(), text, color); }

void TColorListBox::insertItem(int index, const QString& text, quint32 color) {
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::DecorationRole, fromBgr(color));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
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

void TColorListBox::editItemText(int index) {
    if (auto* it = item(index)) {
        setCurrentItem(it);
        editItem(it);
    }
}
