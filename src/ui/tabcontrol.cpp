#include "ui/tabcontrol.h"

#include "ui/placement.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include <cmath>

namespace quorlin {

TabStrip::TabStrip(QWidget *parent) : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setDocumentMode(true);
}

QSize TabStrip::tabSizeHint(int index) const
{
    // Equal shares of the strip's width, the rounding spread so that they fill it exactly.
    const int n = count();
    const int w = width();
    if (n <= 0)
        return QSize(0, stripHeight);
    const auto edge = [&](int i) { return static_cast<int>(std::lround(double(i) * w / n)); };
    return QSize(edge(index + 1) - edge(index), stripHeight);
}

void TabStrip::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    if (event->key() == Qt::Key_Left)
        step = -1;
    else if (event->key() == Qt::Key_Right)
        step = 1;
    if (step == 0 || event->modifiers() != Qt::NoModifier) {
        event->ignore();
        return;
    }
    const int next = currentIndex() + step;
    if (next >= 0 && next < count())
        setCurrentIndex(next);
    event->accept();
}

void TabStrip::wheelEvent(QWheelEvent *event) { event->ignore(); }

TabItem::TabItem(QWidget *parent) : QWidget(parent) {}

TabControl::TabControl(QWidget *parent) : QWidget(parent), m_strip(new TabStrip(this))
{
    m_strip->setObjectName(QStringLiteral("strip"));
    connect(m_strip, &QTabBar::currentChanged, this, [this](int index) {
        showPage(index);
        emit currentChanged(index);
    });
}

void TabControl::addTab(TabItem *item)
{
    item->setParent(this);
    m_tabs.append(item);
    m_strip->addTab(item->caption);
    item->setVisible(m_strip->currentIndex() == m_tabs.size() - 1);
    arrange();
}

int TabControl::currentIndex() const { return m_strip->currentIndex(); }

void TabControl::setCurrentIndex(int index)
{
    if (index >= 0 && index < m_tabs.size())
        m_strip->setCurrentIndex(index);
}

void TabControl::setActiveTab(TabItem *item) { setCurrentIndex(m_tabs.indexOf(item)); }

TabItem *TabControl::activeTab() const
{
    const int i = currentIndex();
    return i >= 0 && i < m_tabs.size() ? m_tabs.at(i) : nullptr;
}

void TabControl::setStripPosition(StripPosition position)
{
    m_position = position;
    m_strip->setShape(position == StripPosition::Top ? QTabBar::RoundedNorth
                                                     : QTabBar::RoundedSouth);
    arrange();
}

void TabControl::setTabHeight(int height)
{
    m_strip->stripHeight = height;
    arrange();
}

void TabControl::loaded()
{
    for (int i = 0; i < m_tabs.size(); ++i)
        m_strip->setTabText(i, m_tabs.at(i)->caption);
    int index = m_declaredIndex;
    if (index < 0 || index >= m_tabs.size()) {
        index = -1;
        for (int i = 0; i < m_tabs.size() && index < 0; ++i)
            if (m_tabs.at(i)->declaredSelected)
                index = i;
    }
    if (index >= 0)
        setCurrentIndex(index);
    arrange();
    showPage(currentIndex());
}

void TabControl::resizeEvent(QResizeEvent *) { arrange(); }

void TabControl::arrange()
{
    const int h = m_strip->stripHeight;
    const int stripTop = m_position == StripPosition::Top ? 0 : height() - h;
    const int pageTop = m_position == StripPosition::Top ? h : 0;
    m_strip->setGeometry(0, stripTop, width(), h);
    for (TabItem *item : std::as_const(m_tabs)) {
        item->setGeometry(0, pageTop, width(), height() - h);
        arrangeChildren(item);
    }
}

void TabControl::showPage(int index)
{
    for (int i = 0; i < m_tabs.size(); ++i)
        m_tabs.at(i)->setVisible(i == index);
}

} // namespace quorlin
