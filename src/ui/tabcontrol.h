// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QTabBar>
#include <QWidget>

namespace quorlin {

class TabItem;

// Tab strip whose headers share its width equally and that changes tabs only by a press on a
// header or the Left and Right keys (no wrap-around, no wheel). Headers are drawn in the look's
// colours, caption only; on a strip at the bottom they are drawn upside down, captions upright.
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
