// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls.h"

#include "platform/look.h"
#include "ui/placement.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <utility>

namespace quorlin {

// A text laid out once for text boxes of one size and font: every window instance that shows
// the text views this one document. A document's layout belongs to its first view and is
// laid out again whenever that view's width changes; the keeper is that first view, never
// shown, so that the boxes that come and go with their windows only draw the lines.
struct SharedText
{
    std::unique_ptr<QPlainTextEdit> keeper; // owns the document, its first view
    bool scrolls = false; // whether the text is taller than the box
    QSize area;           // the text area it is laid out for, scroll bar taken off
};

namespace {

using SharedTexts = QHash<QString, std::shared_ptr<SharedText>>;

SharedTexts &sharedTexts()
{
    static SharedTexts texts;
    return texts;
}

// The keepers are widgets: they go while the application object still stands.
void forgetSharedTexts()
{
    sharedTexts().clear();
}

// Whether the box's scroll bar is needed, by the editor's own reckoning: some lines do not fit
// in the height left after the margin.
bool overflows(const QTextDocument &document, int viewportHeight)
{
    auto *layout = document.documentLayout();
    const qreal visible = viewportHeight - document.documentMargin() - 1;
    qreal y = 0;
    int fromBottom = 0;
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        y += layout->blockBoundingRect(block).height();
        const QTextLayout *lines = block.layout();
        if (y > visible) {
            int line = 0;
            while (line < lines->lineCount() &&
                   lines->lineAt(line).naturalTextRect().top() < y - visible)
                ++line;
            fromBottom += lines->lineCount() - line;
            break;
        }
        fromBottom += lines->lineCount();
    }
    return document.lineCount() > fromBottom;
}

// Lays the keeper's document out for a box whose text area is `area`: the keeper has neither
// frame nor scroll bars, so its text area is its whole size. It is never shown, so it and its
// text area are told of their new size directly; the editor lays its text out again when its
// text area's width changes.
void fitKeeper(QPlainTextEdit &keeper, QSize area)
{
    QWidget *textArea = keeper.viewport();
    const QSize old = keeper.size();
    const QSize oldArea = textArea->size();
    keeper.resize(area);
    QResizeEvent resized(area, old);
    QCoreApplication::sendEvent(&keeper, &resized);
    QResizeEvent areaResized(textArea->size(), oldArea);
    QCoreApplication::sendEvent(textArea, &areaResized);
}

} // namespace

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

// Shows the text through the document shared by every box of this size and font, laying it
// out for the first of them. The box must stand at its final size with an empty document, as
// it does when it is being shown; its scroll bar is then fixed to what the text needs, since
// the text never changes.
bool Memo::showShared(const QString &text)
{
    const QSize box = viewport()->size();
    if (!isVisible() || verticalScrollBar()->isVisible() || box.isEmpty())
        return false;
    const QString key = font().key() + QLatin1Char('|') + QString::number(box.width()) +
                        QLatin1Char('x') + QString::number(box.height()) + QLatin1Char('|') +
                        QString::number(int(wordWrapMode())) + QLatin1Char('|') + text;
    std::shared_ptr<SharedText> &shared = sharedTexts()[key];
    if (!shared) {
        if (sharedTexts().size() == 1)
            qAddPostRoutine(forgetSharedTexts);
        auto made = std::make_shared<SharedText>();
        made->keeper = std::make_unique<QPlainTextEdit>();
        made->keeper->setFrameStyle(QFrame::NoFrame);
        made->keeper->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        made->keeper->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        made->keeper->setFont(font());
        made->keeper->setWordWrapMode(wordWrapMode());
        auto *document = new QTextDocument(made->keeper.get());
        document->setDocumentLayout(new QPlainTextDocumentLayout(document));
        document->setDefaultFont(font());
        document->setUndoRedoEnabled(false);
        made->keeper->setDocument(document);
        fitKeeper(*made->keeper, box);
        document->setPlainText(text);
        // Keep each line's shaped glyphs: without this they are shaped again at every drawing.
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            block.layout()->setCacheEnabled(true);
        made->scrolls = overflows(*document, box.height());
        setVerticalScrollBarPolicy(made->scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        made->area = viewport()->size();
        if (made->area != box)
            fitKeeper(*made->keeper, made->area);
        shared = std::move(made);
    } else {
        setVerticalScrollBarPolicy(shared->scrolls ? Qt::ScrollBarAlwaysOn
                                                   : Qt::ScrollBarAlwaysOff);
    }
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
