#pragma once

#include <QList>
#include <QString>
#include <QTabBar>
#include <QWidget>

namespace quorlin {

class TabItem;

// Tab strip whose headers share its width equally and that changes tabs only by a press on a
// header or the Left and Right keys (no wrap-around, no wheel).
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);
    int stripHeight = 49;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
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
};

// Tab control: a strip of headers at the top or bottom and one page shown at a time; pages
// clip what they hold.
class TabControl : public QWidget
{
    Q_OBJECT

public:
    enum class StripPosition { Top, Bottom };

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
