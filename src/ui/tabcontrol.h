// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QTabBar>
#include <QWidget>

class QKeyEvent;

namespace quorlin {

class TabItem;

// Tab strip whose headers share its width equally and that changes tabs only by a press on a
// header or the Left and Right keys (no wrap-around, no wheel). A press on a header gives it the
// keyboard focus, so that the arrow keys then move along this strip. Headers are drawn in the
// look's colours, caption only; on a strip at the bottom they are drawn upside down, captions
// upright.
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);
    int stripHeight = 49;

    // Where a header's panel is drawn: an unselected panel leaves 2 rows free on the side away
    // from the pages and 2 rows on the pages' side, where the page border runs; the selected
    // panel takes them all.
    QRect panelRect(int index) const;
    // The row of the strip that carries the top (or, at the bottom, the bottom) border of the
    // page area.
    int pageBorderRow() const;

    static constexpr int PanelInset = 2;
    static constexpr int CaptionSideMargin = 8;
    static constexpr int CaptionEndMargin = 4;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool atBottom() const { return shape() == QTabBar::RoundedSouth; }
    // The focus mark shows once the keyboard is in use, as on the desktop it imitates.
    bool m_keyboardCues = false;
};

// A page of a tab control, with its header's caption.
class TabItem : public QWidget
{
    Q_OBJECT

public:
    explicit TabItem(QWidget *parent = nullptr);
    QString caption;
    QString styleName;
    double declaredWidth = 0; // kept as declared; headers share the strip equally anyway
    bool declaredSelected = false;

protected:
    // The page area: white with a 1-unit border in the look's colour, its edge on the strip's
    // side drawn by the strip.
    void paintEvent(QPaintEvent *event) override;
};

// Tab control: a strip of headers at the top or bottom and one page shown at a time; pages
// clip what they hold.
class TabControl : public QWidget
{
    Q_OBJECT

public:
    enum class StripPosition
    {
        Top,
        Bottom
    };

    explicit TabControl(QWidget *parent = nullptr);

    // The keyboard's page keys, as on every desktop: +1 for Ctrl+Tab and Ctrl+PageDown, -1 for
    // Ctrl+Shift+Tab and Ctrl+PageUp, 0 for any other key.
    static int pageStep(const QKeyEvent *event);
    // The tab control the page keys move in a window: the one whose page holds the focus, so
    // the innermost around it; else the window's outermost one; null if it has none. A strip's
    // own focus counts for the control around its control, so that the page keys still move
    // the window's pages while a nested strip (moved by its arrow keys) has the focus.
    static TabControl *forPageKeys(QWidget *window);
    // Moves `step` pages along, stopping at the ends like the arrow keys. When the focus was
    // on the page left behind, it goes to the first control of the new page that the Tab key
    // stops at, or else to the strip.
    void stepPage(int step);

    void addTab(TabItem *item);
    const QList<TabItem *> &tabs() const { return m_tabs; }
    TabStrip *strip() const { return m_strip; }

    int currentIndex() const;
    void setCurrentIndex(int index);
    void setActiveTab(TabItem *item);
    TabItem *activeTab() const;

    void setStripPosition(StripPosition position);
    StripPosition stripPosition() const { return m_position; }
    void setTabHeight(int height);
    // Declared selection, settled when loading completes.
    void setDeclaredIndex(int index) { m_declaredIndex = index; }
    // Selects the declared tab: the declared index, or else the tab marked selected.
    void loaded();

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void arrange();
    void showPage(int index);

    TabStrip *m_strip;
    QList<TabItem *> m_tabs;
    StripPosition m_position = StripPosition::Top;
    int m_declaredIndex = -1;
};

} // namespace quorlin
