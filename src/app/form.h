// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "app/formdata.h"

#include <functional>
#include <initializer_list>
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

// Base of the program's windows: a borderless fixed-size top-level window built from its
// declared data, with its handlers bound by name.
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

    // A member declared in the window's data, by name; null if there is none of that type.
    template <typename T> T *member(const QString &name) const
    {
        return qobject_cast<T *>(m_members.value(name).data());
    }
    void addMember(const QString &name, QObject *member);

    // Binding of declared handler names to this window's code.
    virtual NotifyHandler notifyHandler(const QString &name);
    virtual CloseHandler closeHandler(const QString &name);
    void setCreateHandler(NotifyHandler handler) { m_onCreate = std::move(handler); }
    void setCloseHandler(CloseHandler handler) { m_onClose = std::move(handler); }
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
        QPixmap picture;
    };
    void setFill(Fill fill);
    const Fill &fill() const { return m_fill; }

    // Gives back the native window and its drawing surface of a window that will never be
    // shown again; the window object itself lives on.
    void releaseNativeWindow() { destroy(); }

    // Lifecycle flags kept by the window model.
    bool neverShown = true;
    bool closing = false;
    bool showing = false;

protected:
    // Typed handler tables for the window classes: {"Button4Click", &TForm3::Button4Click}.
    template <typename F>
    NotifyHandler
    bindNotify(std::initializer_list<std::pair<const char *, void (F::*)(QObject *)>> table,
               const QString &name)
    {
        for (const auto &[handlerName, method] : table)
            if (name == QLatin1String(handlerName))
                return [self = static_cast<F *>(this), method](QObject *s) { (self->*method)(s); };
        return {};
    }

    // The close handler table, the same way: {"FormClose", &TForm3::FormClose}.
    template <typename F>
    CloseHandler bindClose(
        std::initializer_list<std::pair<const char *, void (F::*)(QObject *, CloseAction &)>> table,
        const QString &name)
    {
        for (const auto &[handlerName, method] : table)
            if (name == QLatin1String(handlerName))
                return [self = static_cast<F *>(this), method](QObject *s, CloseAction &a) {
                    (self->*method)(s, a);
                };
        return {};
    }

    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString m_className;
    // Guarded: a hidden window gives back its controls, and a name must then find nothing.
    QHash<QString, QPointer<QObject>> m_members;
    NotifyHandler m_onCreate;
    CloseHandler m_onClose;
    Fill m_fill;
    QPixmap m_stretched; // the fill picture at the window's size
};

} // namespace quorlin
