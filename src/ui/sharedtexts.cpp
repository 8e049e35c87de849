// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sharedtexts.h"

#include <QCoreApplication>
#include <QHash>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace quorlin {

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

std::shared_ptr<SharedText> sharedText(const QPlainTextEdit &box, const QString &text,
                                       const std::function<QSize(bool scrolls)> &fitBox)
{
    const QSize area = box.viewport()->size();
    const QString key = box.font().key() + QLatin1Char('|') + QString::number(area.width()) +
                        QLatin1Char('x') + QString::number(area.height()) + QLatin1Char('|') +
                        QString::number(int(box.wordWrapMode())) + QLatin1Char('|') + text;
    std::shared_ptr<SharedText> &shared = sharedTexts()[key];
    if (shared)
        return shared;
    if (sharedTexts().size() == 1)
        qAddPostRoutine(forgetSharedTexts);
    auto made = std::make_shared<SharedText>();
    made->keeper = std::make_unique<QPlainTextEdit>();
    made->keeper->setFrameStyle(QFrame::NoFrame);
    made->keeper->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    made->keeper->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    made->keeper->setFont(box.font());
    made->keeper->setWordWrapMode(box.wordWrapMode());
    auto *document = new QTextDocument(made->keeper.get());
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    document->setDefaultFont(box.font());
    document->setUndoRedoEnabled(false);
    made->keeper->setDocument(document);
    fitKeeper(*made->keeper, area);
    document->setPlainText(text);
    // Keep each line's shaped glyphs: without this they are shaped again at every drawing.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
    made->scrolls = overflows(*document, area.height());
    made->area = fitBox(made->scrolls);
    if (made->area != area)
        fitKeeper(*made->keeper, made->area);
    shared = std::move(made);
    return shared;
}

} // namespace quorlin
