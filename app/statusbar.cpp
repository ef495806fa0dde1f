#include "app/statusbar.h"

#include <QLabel>

namespace {
constexpr int kPanelWidths[TStatusBar::kPanelCount] = {150, 150, 400, 70, 50};
constexpr int kHeight = 22;
}  // namespace

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    int left = 0;
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setIndent(3);
        label->setGeometry(left, 1, kPanelWidths[i] - 2, kHeight - 2);
        m_panels << label;
        left += kPanelWidths[i];
    }
}

QString TStatusBar::panelText(int panel) const {
    return m_panels.value(panel) ? m_panels[panel]->text() : QString();
}

void TStatusBar::setPanelText(int panel, const QString& text) {
    if (panel >= 0 && panel < kPanelCount) m_panels[panel]->setText(text);
}

int TStatusBar::panelWidth(int panel) const { return kPanelWidths[panel]; }
