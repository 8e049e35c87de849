// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

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

// The layout of `text` shared by every box with `box`'s font, word wrapping and text area size,
// made for the first of them and kept for the run. When it is made, `fitBox` is told whether
// the text needs a scroll bar, sets the box's to match, and gives the text area that leaves.
// GUI thread only.
std::shared_ptr<SharedText> sharedText(const QPlainTextEdit &box, const QString &text,
                                       const std::function<QSize(bool scrolls)> &fitBox);

} // namespace quorlin
