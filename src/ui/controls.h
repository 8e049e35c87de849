// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include <memory>
#include <optional>

namespace quorlin {

// Tool bar: a flat strip in the look's tool-bar colour; what it holds follows its size.
class ToolBar : public QWidget
{
    Q_OBJECT

public:
    explicit ToolBar(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

// Text label that can report clicks.
class TextLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TextLabel(QWidget *parent = nullptr);
    static constexpr int SideMargin = 8;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

struct SharedText;

// Read-only, word-wrapping multi-line text box whose text is a list of lines.
class Memo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit Memo(QWidget *parent = nullptr);
    ~Memo() override;
    // Wrapping a long Thai text is the dearest part of creating a window, and most boxes sit
    // on pages that may never be opened: the text goes into the box when it is first shown,
    // into a document laid out once for every box of that text, size and font (each window
    // instance shows the same texts). While assistive technology is listening the text goes
    // in at once, so that a screen reader finds every page's text wherever it looks.
    void setLines(const QStringList &lines);
    QStringList lines() const;
    void showText();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool showShared(const QString &text);
    void dropShared();
    void leaveShared();

    std::optional<QString> m_pendingText; // the text while it waits to be shown
    std::shared_ptr<SharedText> m_shared; // the document shown, when shared with other boxes
};

} // namespace quorlin
