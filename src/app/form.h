// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "app/formdata.h"

#include <functional>
#include <utility>

namespace quorlin {

class BellPlayer;

// What a close handler may do with the window being closed; every window here hides.
enum class CloseAction
{
    None,
    Hide,
    Free,
    Minimize
};

// A window fill's picture: one given as it is, or a built-in one, shared with every window that
// shows it. A built-in one is decoded (and stretched to the window's size) on a worker from the
// moment the window's data names it, and taken by the first paint: the result windows'
// pictures are large, and decoding them while the window was created held up the bell the
// window rings as it is created.
class FillPicture
{
public:
    FillPicture() = default;
    FillPicture(QImage picture) : m_picture(std::move(picture)) {} // NOLINT: implicit by design
    // A built-in picture by resource path, to be drawn at `drawn`; throws as builtInPicture
    // does when there is no such picture.
    static FillPicture builtIn(const QString &path, QSize drawn);

    bool isNull() const { return m_picture.isNull() && m_path.isEmpty(); }
    // The picture's own size.
    QSize size() const;
    // The picture, once decoded; null when a built-in one cannot be decoded. Never throws.
    QImage image() const;

private:
    QImage m_picture;
    QString m_path;
};

// Base of the program's windows: a borderless fixed-size top-level window built from its
// declared data. The handlers the data names are the window's slots, with the signatures
// `void Name(QObject *sender)` and, for OnClose, `void Name(QObject *sender,
// quorlin::CloseAction &action)`; the controls the code uses are its properties of their own
// pointer type, named as the data names them (`Q_PROPERTY(quorlin::BellPlayer *MediaPlayer1
// MEMBER MediaPlayer1)`). The reader resolves both once, while it reads the window, and fails
// the window's creation on a name it cannot resolve.
class Form : public QWidget
{
    Q_OBJECT

public:
    using NotifyHandler = std::function<void(QObject *sender)>;
    using CloseHandler = std::function<void(QObject *sender, CloseAction &action)>;

    explicit Form(QString className);
    ~Form() override;

    const QString &className() const { return m_className; }

    // Builds the window from its declared data and runs its creation handler.
    void load();
    // The window's declared data: ":/forms/<class name>.form".
    virtual FormData declaredData() const;

    // The creation and close handlers the reader bound.
    void setCreateHandler(NotifyHandler handler) { m_onCreate = std::move(handler); }
    void setCloseHandler(CloseHandler handler) { m_onClose = std::move(handler); }
    const CloseHandler &closeHandler() const { return m_onClose; }
    // Runs the close handler, if any, with the close action.
    void runCloseHandler(CloseAction &action);

    // Window fill: the look's background (none), a solid colour, a vertical gradient or a
    // stretched picture.
    struct Fill
    {
        enum class Kind
        {
            None,
            Solid,
            Gradient,
            Picture
        } kind = Kind::None;
        QColor color;
        QGradientStops stops;
        FillPicture picture;
    };
    void setFill(Fill fill);
    const Fill &fill() const { return m_fill; }

    // What the platform's Copy key (Ctrl+C) puts on the clipboard, as plain text, wherever the
    // focus is in the window: a result window's drawn text, to take into a journal kept
    // elsewhere. Empty (the default): the key does nothing.
    void setCopyText(QString text) { m_copyText = std::move(text); }
    const QString &copyText() const { return m_copyText; }

    // Gives back the native window and its drawing surface of a window that will never be
    // shown again; the window object itself lives on.
    void releaseNativeWindow() { destroy(); }

    // Lifecycle flags kept by the window model.
    bool neverShown = true;
    bool closing = false;
    bool showing = false;

protected:
    // Runs once the window is read and its controls are bound, before its creation handler.
    virtual void controlsBound() {}

    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString m_className;
    NotifyHandler m_onCreate;
    CloseHandler m_onClose;
    Fill m_fill;
    QPixmap m_stretched; // the fill picture at the window's size
    QString m_copyText;
};

} // namespace quorlin
