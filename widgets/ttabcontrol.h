#pragma once

#include <QStringList>
#include <QWidget>

/// A tab strip of flat button-like tabs over a client area; single tabs can be disabled.
/// A disabled tab is drawn greyed and cannot be chosen with the mouse.
class TTabControl : public QWidget {
    Q_OBJECT
public:
    explicit TTabControl(QWidget* parent = nullptr);

    int addTab(const QString& caption);
    int count() const { return int(m_captions.size()); }
    QString tabText(int index) const { return m_captions.value(index); }
    void setTabEnabled(int index, bool enabled);
    bool isTabEnabled(int index) const;
    int currentIndex() const { return m_current; }
    /// Selects a tab without emitting currentChanged (as a program-made change).
    void setCurrentIndex(int index);
    /// The area under the tabs where the page content goes.
    QWidget* page() const { return m_page; }
    /// Height of the tab strip in pixels.
    int stripHeight() const { return 26; }
    /// Where tab `index` is drawn; empty for an index out of range.
    QRect tabRect(int index) const;
    /// The tab at a point of the strip, or -1.
    int tabAt(const QPoint& pos) const;

Q_SIGNALS:
    /// The user picked another tab.
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QStringList m_captions;
    QList<bool> m_enabled;
    int m_current = -1;
    QWidget* m_page;
};
