#include "app/portscannerwindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "widgets/tblockprogressbar.h"

TfrmPortScanner::TfrmPortScanner(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool) {
    setObjectName(QStringLiteral("frmPortScanner"));
    setFixedSize(457, 46);
    QFont font(QStringLiteral("Arial Black"));
    font.setPixelSize(20);
    setFont(font);
    lblText = new QLabel(this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setAlignment(Qt::AlignCenter);
    lblText->setGeometry(0, 0, 457, 29);
    ProgressBar1 = new TBlockProgressBar(Qt::Horizontal, this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(0, 29, 457, 17);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
}

void TfrmPortScanner::scanStarted(int portCount) {
    ProgressBar1->setRange(0, portCount);
    ProgressBar1->setPosition(0);
    show();
}

void TfrmPortScanner::setText(const QString& text) {
    lblText->setText(text);
    lblText->repaint();
}

void TfrmPortScanner::advance() { ProgressBar1->setPosition(ProgressBar1->position() + 1); }
