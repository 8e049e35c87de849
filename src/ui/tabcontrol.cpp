// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tabcontrol.h"

#include "platform/look.h"
#include "ui/placement.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace quorlin {

TabStrip::TabStrip(QWidget *parent) : QTabBar(parent)
{
    // A Tab stop that a click focuses too; a strip declared as no Tab stop takes the click alone.
    setFocusPolicy(Qt::StrongFocus);
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
    m_keyboardCues = true;
    update();
    const int next = currentIndex() + step;
    if (next >= 0 && next < count())
        setCurrentIndex(next);
    event->accept();
}

void TabStrip::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}

void TabStrip::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    m_keyboardCues = m_keyboardCues || reason == Qt::TabFocusReason ||
                     reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    QTabBar::focusInEvent(event);
}

void TabStrip::mousePressEvent(QMouseEvent *event)
{
    m_keyboardCues = false;
    QTabBar::mousePressEvent(event);
}

QRect TabStrip::panelRect(int index) const
{
    const QRect header = tabRect(index);
    if (!header.isValid())
        return {};
    // Neighbouring panels share their dividing line; the last one ends on the strip's edge.
    const int right = std::min(header.right() + 1, width() - 1);
    const int h = height();
    if (index == currentIndex())
        return QRect(QPoint(header.left(), 0), QPoint(right, h - 1));
    return QRect(QPoint(header.left(), PanelInset), QPoint(right, h - 1 - PanelInset));
}

int TabStrip::pageBorderRow() const
{
    return atBottom() ? PanelInset - 1 : height() - PanelInset;
}

void TabStrip::paintEvent(QPaintEvent *)
{
    const PlatformLook &look = platformLook();
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const bool bottom = atBottom();
    const int borderRow = pageBorderRow();
    const int pageRow = bottom ? 0 : h - 1; // the white row that joins the page below (above)
    const int farRow = bottom ? h - 1 : 0;  // the edge away from the pages

    // The page area begins inside the strip: its border line, then a white row.
    painter.fillRect(0, borderRow, w, 1, look.tabPageBorder);
    painter.fillRect(0, pageRow, w, 1, Qt::white);

    const auto drawPanel = [&](int index) {
        const QRect r = panelRect(index);
        const bool selected = index == currentIndex();
        const QRect inner = r.adjusted(1, bottom ? 0 : 1, -1, bottom ? -1 : 0);
        if (selected) {
            painter.fillRect(inner, look.tabSelected);
        } else {
            // Shaded from the edge away from the pages towards them: upside down at the bottom.
            const qreal away = bottom ? r.bottom() : r.top();
            const qreal near = bottom ? r.top() : r.bottom();
            QLinearGradient shade(0, away, 0, near);
            shade.setColorAt(0, look.tabTop);
            shade.setColorAt(1, look.tabBottom);
            painter.fillRect(inner, shade);
        }
        // Outline on the far edge and both sides; the selected panel's sides run on over the
        // page border, which it covers.
        const int farEdge = bottom ? r.bottom() : r.top();
        const int sideFrom = selected ? (bottom ? borderRow : farRow) : r.top();
        const int sideTo = selected ? (bottom ? farRow : borderRow) : r.bottom();
        painter.fillRect(r.left(), farEdge, r.width(), 1, look.tabPageBorder);
        painter.fillRect(r.left(), sideFrom, 1, sideTo - sideFrom + 1, look.tabPageBorder);
        painter.fillRect(r.right(), sideFrom, 1, sideTo - sideFrom + 1, look.tabPageBorder);
    };
    for (int i = 0; i < count(); ++i)
        if (i != currentIndex())
            drawPanel(i);
    if (currentIndex() >= 0)
        drawPanel(currentIndex());

    // The page area's sides run through the white row.
    painter.fillRect(0, pageRow, 1, 1, look.tabPageBorder);
    painter.fillRect(w - 1, pageRow, 1, 1, look.tabPageBorder);

    painter.setFont(font());
    painter.setPen(Qt::black);
    for (int i = 0; i < count(); ++i) {
        const QRect r = panelRect(i);
        const QRect caption =
            r.adjusted(CaptionSideMargin, CaptionEndMargin, -CaptionSideMargin, -CaptionEndMargin);
        painter.save();
        painter.setClipRect(r.adjusted(1, 1, -1, -1));
        // One line, centred; a caption wider than its margins may use them rather than be cut.
        QRect drawn;
        painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip,
                         tabText(i), &drawn);
        if (i == currentIndex() && hasFocus() && m_keyboardCues) {
            QPen dotted(Qt::black, 1, Qt::DotLine);
            painter.setPen(dotted);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(drawn.adjusted(-3, -1, 2, 0) & r.adjusted(2, 2, -3, -3));
        }
        painter.restore();
    }
}

TabItem::TabItem(QWidget *parent) : QWidget(parent) {}

void TabItem::paintEvent(QPaintEvent *)
{
    const QColor border = platformLook().tabPageBorder;
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(0, 0, 1, h, border);
    painter.fillRect(w - 1, 0, 1, h, border);
    // The edge that meets the strip is drawn by the strip.
    const auto *tabs = qobject_cast<const TabControl *>(parentWidget());
    const bool stripAtBottom = tabs && tabs->stripPosition() == TabControl::StripPosition::Bottom;
    if (!tabs || stripAtBottom)
        painter.fillRect(0, 0, w, 1, border);
    if (!tabs || !stripAtBottom)
        painter.fillRect(0, h - 1, w, 1, border);
}

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

int TabControl::currentIndex() const
{
    return m_strip->currentIndex();
}

void TabControl::setCurrentIndex(int index)
{
    if (index >= 0 && index < m_tabs.size())
        m_strip->setCurrentIndex(index);
}

void TabControl::setActiveTab(TabItem *item)
{
    setCurrentIndex(m_tabs.indexOf(item));
}

int TabControl::pageStep(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Tab:
        return mods == Qt::ControlModifier                         ? 1
               : mods == (Qt::ControlModifier | Qt::ShiftModifier) ? -1
                                                                   : 0;
    case Qt::Key_Backtab:
        return mods == (Qt::ControlModifier | Qt::ShiftModifier) ? -1 : 0;
    case Qt::Key_PageDown:
        return mods == Qt::ControlModifier ? 1 : 0;
    case Qt::Key_PageUp:
        return mods == Qt::ControlModifier ? -1 : 0;
    default:
        return 0;
    }
}

TabControl *TabControl::forPageKeys(QWidget *window)
{
    for (QWidget *w = window->focusWidget(); w && w != window; w = w->parentWidget())
        if (qobject_cast<TabItem *>(w) && qobject_cast<TabControl *>(w->parentWidget()))
            return static_cast<TabControl *>(w->parentWidget());
    if (auto *outer = window->findChild<TabControl *>(QString(), Qt::FindDirectChildrenOnly))
        return outer;
    return window->findChild<TabControl *>();
}

void TabControl::stepPage(int step)
{
    const int from = currentIndex();
    const int to = from + step;
    if (step == 0 || from < 0 || to < 0 || to >= m_tabs.size())
        return;
    QWidget *focus = window()->focusWidget();
    const bool focusLeftBehind = focus && m_tabs.at(from)->isAncestorOf(focus);
    setCurrentIndex(to);
    focus = window()->focusWidget();
    if (!focusLeftBehind && focus && focus->isVisible())
        return;
    TabItem *page = m_tabs.at(to);
    for (QWidget *w = m_strip->nextInFocusChain(); w && w != m_strip; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    m_strip->setFocus(Qt::TabFocusReason);
}

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

void TabControl::resizeEvent(QResizeEvent *)
{
    arrange();
}

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
