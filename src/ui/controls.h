#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

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
    void setLines(const QStringList &lines);
    QStringList lines() const;
};

} // namespace quorlin
