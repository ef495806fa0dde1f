#pragma once

#include <QWidget>

#include "link/portscanner.h"

class QLabel;
class TBlockProgressBar;

/// The small borderless window that shows which port the start-up scan is trying.
class TfrmPortScanner : public QWidget, public PortScanObserver {
    Q_OBJECT
public:
    explicit TfrmPortScanner(QWidget* parent = nullptr);

    void scanStarted(int portCount) override;
    void setText(const QString& text) override;
    void advance() override;

    QLabel* lblText = nullptr;
    TBlockProgressBar* ProgressBar1 = nullptr;
};
