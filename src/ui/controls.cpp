#include "ui/controls.h"

#include "platform/look.h"
#include "ui/placement.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
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

void Memo::showText()
{
    if (!m_pendingText)
        return;
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

} // namespace quorlin
