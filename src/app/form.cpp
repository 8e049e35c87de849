// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form.h"

#include "app/application.h"
#include "app/formreader.h"
#include "platform/look.h"
#include "ui/pictures.h"
#include "ui/pictureview.h"
#include "ui/tabcontrol.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QShortcut>

namespace quorlin {

FillPicture FillPicture::builtIn(const QString &path, QSize drawn)
{
    builtInPictureSize(path); // throws when there is no such picture
    prefetchBuiltInPicture(path, drawn);
    FillPicture picture;
    picture.m_path = path;
    return picture;
}

QSize FillPicture::size() const
{
    return m_path.isEmpty() ? m_picture.size() : builtInPictureSize(m_path);
}

QImage FillPicture::image() const
{
    if (m_path.isEmpty())
        return m_picture;
    // Asked for while painting, where nothing may be thrown: a picture whose header was read
    // when the window was made but that cannot be decoded (or whose decoding ran out of
    // memory) is not drawn.
    try {
        return builtInPicture(m_path);
    } catch (...) {
        return {};
    }
}

Form::Form(QString className) : QWidget(nullptr), m_className(std::move(className))
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
#ifndef Q_OS_WIN
    // Alt+F4 is the system's close command. Most desktops turn it into a close request before
    // the window sees it; where none does (some Wayland compositors, an X server without a
    // window manager) the window takes the key itself, with the same effect. Windows always
    // does it itself, and a second close request from the key would run the close handler of
    // a window already hidden.
    auto *closeKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
#endif
}

Form::~Form() = default;

void Form::runCloseHandler(CloseAction &action)
{
    if (m_onClose)
        m_onClose(this, action);
}

void Form::setFill(Fill fill)
{
    m_fill = std::move(fill);
    m_stretched = QPixmap();
    update();
}

void Form::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    switch (m_fill.kind) {
    case Fill::Kind::None:
        painter.fillRect(rect(), platformLook().windowBackground);
        break;
    case Fill::Kind::Solid:
        painter.fillRect(rect(), m_fill.color);
        break;
    case Fill::Kind::Gradient: {
        // From the bottom centre (offset 0) to the top centre (offset 1); past the last stop
        // the last colour holds.
        QLinearGradient gradient(width() / 2.0, height(), width() / 2.0, 0);
        gradient.setStops(m_fill.stops);
        gradient.setSpread(QGradient::PadSpread);
        painter.fillRect(rect(), gradient);
        break;
    }
    case Fill::Kind::Picture:
        // Stretched to the client area, aspect not kept, once for every window that shows it.
        if (m_stretched.size() != size() && !m_fill.picture.isNull())
            m_stretched = sharedScaledPicture(m_fill.picture.image(), size());
        painter.drawPixmap(0, 0, m_stretched);
        break;
    }
}

void Form::closeEvent(QCloseEvent *event)
{
    // The system's close command (a window manager's close, Alt+F4) runs our Close; the
    // window model decides whether the window hides or the program ends.
    event->ignore();
    Application::instance().dispatch([this] { Application::instance().close(this); });
}

void Form::keyPressEvent(QKeyEvent *event)
{
    // The Copy key and the page keys (Ctrl+Tab, Ctrl+PageDown and their reverses), which no
    // control here takes, arrive here from whatever has the focus.
    if (event->matches(QKeySequence::Copy) && !m_copyText.isEmpty()) {
        QGuiApplication::clipboard()->setText(m_copyText);
        event->accept();
        return;
    }
    if (const int step = TabControl::pageStep(event)) {
        if (TabControl *tabs = TabControl::forPageKeys(this)) {
            tabs->stepPage(step);
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void Form::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Application::instance().windowActivated(this);
    QWidget::changeEvent(event);
}

void Form::load()
{
    readForm(*this, declaredData());
    controlsBound();
    if (m_onCreate)
        m_onCreate(this);
    // The pictures the window will show first start decoding beside the rest of its showing;
    // those on hidden pages wait until they are first drawn.
    for (PictureView *view : findChildren<PictureView *>())
        if (view->isVisibleTo(this))
            view->prefetch();
}

FormData Form::declaredData() const { return loadFormData(m_className); }

} // namespace quorlin
