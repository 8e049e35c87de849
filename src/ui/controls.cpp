#include "ui/controls.h"

#include "platform/look.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorlin {

ToolBar::ToolBar(QWidget *parent) : QWidget(parent) {}

void ToolBar::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), platformLook().toolBar);
}

TextLabel::TextLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
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
}

void Memo::setLines(const QStringList &lines) { setPlainText(lines.join(QLatin1Char('\n'))); }

QStringList Memo::lines() const { return toPlainText().split(QLatin1Char('\n')); }

} // namespace quorlin
