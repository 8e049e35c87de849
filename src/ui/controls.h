#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

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

// Read-only, word-wrapping multi-line text box whose text is a list of lines.
class Memo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit Memo(QWidget *parent = nullptr);
    // Wrapping a long Thai text is the dearest part of creating a window, and most boxes sit
    // on pages that may never be opened: the text goes into the box when it is first shown.
    // While assistive technology is listening it goes in at once, so that a screen reader
    // finds every page's text wherever it looks.
    void setLines(const QStringList &lines);
    QStringList lines() const;
    void showText();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::optional<QString> m_pendingText; // the text while it waits to be shown
};

} // namespace quorlin
