#include "app/cursors.h"

#include <QHash>
#include <QPixmap>

namespace {
QHash<int, QCursor>& registry() {
    static QHash<int, QCursor> cursors;
    return cursors;
}
}  // namespace

void RegisterSplitCursor() {
    const QPixmap image(QStringLiteral(":/cursors/deletesplit.svg"));
    registry().insert(kSplitLineCursor, image.isNull() ? QCursor(Qt::SplitHCursor) : QCursor(image, 15, 15));
}

QCursor CustomCursor(int number) { return registry().value(number, QCursor(Qt::ArrowCursor)); }
