#include "app/progressdialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/tblockprogressbar.h"

namespace {
constexpr int kWidthPx = 467;
constexpr int kHeightPx = 156;
constexpr int kInfoFontPx = 21;

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
}  // namespace

TfrmProgressDlg::TfrmProgressDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmProgressDlg"));
    setModal(true);
    setFixedSize(kWidthPx, kHeightPx);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    paMain = named(new QFrame(this), "paMain");
    paMain->setFrameShape(QFrame::Panel);
    paMain->setFrameShadow(QFrame::Raised);
    outer->addWidget(paMain);

    auto* layout = new QVBoxLayout(paMain);
    lbInfo = named(new QLabel(paMain), "lbInfo");
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kInfoFontPx);
    lbInfo->setFont(font);
    lbInfo->setAlignment(Qt::AlignCenter);
    lbUsedMemory = named(new QLabel(paMain), "lbUsedMemory");
    lbUsedMemory->setAlignment(Qt::AlignCenter);
    pbInfo = named(new TBlockProgressBar(Qt::Horizontal, paMain), "pbInfo");
    lbUsedMemoryPer = named(new QLabel(paMain), "lbUsedMemoryPer");
    lbUsedMemoryPer->setAlignment(Qt::AlignCenter);
    btnCancel = named(new QPushButton(QStringLiteral("Cancel"), paMain), "btnCancel");
    btnCancel->hide();
    layout->addWidget(lbInfo);
    layout->addWidget(lbUsedMemory);
    layout->addWidget(pbInfo);
    layout->addWidget(lbUsedMemoryPer);
    layout->addWidget(btnCancel, 0, Qt::AlignHCenter);

    // The panel appears when the work starts, 100 ms after the window.
    paMain->hide();
}

void TfrmProgressDlg::showCentred() {
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
}

void TfrmProgressDlg::downloadShown() { showCentred(); }

void TfrmProgressDlg::downloadStarted(const QString& infoLine, qint32 maximum) {
    paMain->show();
    lbUsedMemory->show();
    pbInfo->show();
    lbUsedMemoryPer->show();
    lbUsedMemoryPer->setText(QStringLiteral("0%"));
    lbUsedMemory->setText(infoLine);
    pbInfo->setRange(0, qMax(0, maximum));
    pbInfo->setPosition(0);
}

void TfrmProgressDlg::downloadProgress(const QString& status, qint64 received, const QString& percent) {
    lbInfo->setText(status);
    lbUsedMemoryPer->setText(percent);
    pbInfo->setPosition(int(qMin<qint64>(received, pbInfo->maximum())));
}

void TfrmProgressDlg::downloadFinished() { close(); }

void TfrmProgressDlg::deletionShown() { showCentred(); }

void TfrmProgressDlg::deletionStarted(int ticks) {
    paMain->show();
    lbInfo->setText(QStringLiteral("Delete in progress."));
    lbUsedMemory->hide();
    lbUsedMemoryPer->show();
    pbInfo->setRange(0, ticks);
    pbInfo->setPosition(0);
}

void TfrmProgressDlg::deletionTick(int counter, const QString& percent) {
    pbInfo->setPosition(counter);
    lbUsedMemoryPer->setText(percent);
}

void TfrmProgressDlg::deletionFinished() { close(); }
