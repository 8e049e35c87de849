// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls.h"

#include "platform/look.h"
#include "ui/placement.h"
#include "ui/sharedtexts.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace quorlin {

ToolBar::ToolBar(QWidget *parent) : QWidget(parent) {}

void ToolBar::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), platformLook().toolBar);
}

void ToolBar::resizeEvent(QResizeEvent *)
{
    arrangeChildren(this);
}

TextLabel::TextLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    // A full-width wrapped text keeps clear of the window's edges.
    setContentsMargins(SideMargin, 0, SideMargin, 0);
}

void TextLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TextLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

Memo::Memo(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhNone);
    // A white field with a thin grey border, whatever the style would draw.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, platformLook().textBoxBorder);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
}

Memo::~Memo()
{
    // The last box of a forgotten text lets its document go, after leaving it.
    if (m_shared && m_shared.use_count() == 1)
        dropShared();
}

void Memo::setLines(const QStringList &lines)
{
    m_pendingText = lines.join(QLatin1Char('\n'));
    if (isVisible() || QAccessible::isActive())
        showText();
}

QStringList Memo::lines() const
{
    return m_pendingText.value_or(toPlainText()).split(QLatin1Char('\n'));
}

// Shows the text through the document shared by every box of this size and font (see
// sharedText). The box must stand at its final size with an empty document, as
// it does when it is being shown; its scroll bar is then fixed to what the text needs, since
// the text never changes.
bool Memo::showShared(const QString &text)
{
    const QSize box = viewport()->size();
    if (!isVisible() || verticalScrollBar()->isVisible() || box.isEmpty())
        return false;
    const std::shared_ptr<SharedText> shared =
        sharedText(*this, text, [this](bool scrolls) {
            setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            return viewport()->size();
        });
    setVerticalScrollBarPolicy(shared->scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (viewport()->size() != shared->area) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        return false;
    }
    m_shared = shared;
    // The document takes over from the box's own; the box's cursor starts at the top.
    setDocument(shared->keeper->document());
    return true;
}

// Gives the box an empty document of its own again, its scroll bar shown as the text needs.
// The shared document is let go last: the editor leaves it first.
void Memo::dropShared()
{
    setDocument(nullptr);
    document()->setDefaultFont(font());
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_shared.reset();
}

// Takes the shown text into a document of the box's own, before anything that would lay the
// shared one out anew for this box alone: another size or font.
void Memo::leaveShared()
{
    if (!m_shared)
        return;
    const QString text = toPlainText();
    dropShared();
    document()->setPlainText(text);
    setTextCursor(QTextCursor(document()));
}

void Memo::showText()
{
    if (!m_pendingText)
        return;
    if (m_shared)
        dropShared();
    if (showShared(*m_pendingText)) {
        m_pendingText.reset();
        return;
    }
    // Straight into the document: the editor's own setPlainText lays a long paragraph out
    // two or three times over (selecting it all to set its format, then again as the edit
    // ends). The insertion leaves the editor's cursor at the end; reading starts at the top.
    document()->setPlainText(*std::exchange(m_pendingText, std::nullopt));
    setTextCursor(QTextCursor(document()));
}

void Memo::showEvent(QShowEvent *event)
{
    showText();
    QPlainTextEdit::showEvent(event);
}

void Memo::resizeEvent(QResizeEvent *event)
{
    if (m_shared && viewport()->size() != m_shared->area)
        leaveShared();
    QPlainTextEdit::resizeEvent(event);
}

void Memo::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        leaveShared();
    QPlainTextEdit::changeEvent(event);
}

} // namespace quorlin
