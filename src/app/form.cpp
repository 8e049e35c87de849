// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form.h"

#include "app/application.h"
#include "app/builtinpictures.h"
#include "app/formreader.h"
#include "base/background.h"
#include "platform/look.h"
#include "ui/pictureview.h"
#include "ui/tabcontrol.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMutex>
#include <QPainter>
#include <QShortcut>

#include <exception>
#include <future>

namespace quorlin {

namespace {

// Stretched to the client area, aspect not kept; scaled once with area averaging, which keeps
// fine lines that a per-paint bilinear stretch would break up.
QImage stretch(const QImage &picture, QSize size)
{
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

using StretchKey = QPair<QString, QSize>;

// Built-in fill pictures stretched to a window size, each made once on a worker thread. The
// result windows' pictures are large: decoded and stretched on the GUI thread they held up the
// creation of the window, and with it the bell it plays as it is created.
class StretchedFills
{
public:
    std::shared_future<QImage> findOrStart(const QString &path, QSize size)
    {
        const QMutexLocker lock(&m_mutex);
        const StretchKey key(path, size);
        if (const auto it = m_made.constFind(key); it != m_made.constEnd())
            return *it;
        std::shared_future<QImage> made = runInBackground([path, size] {
                                              // In the form a pixmap keeps it: premultiplied
                                              // where it has alpha.
                                              QImage picture = builtInPicture(path);
                                              if (picture.hasAlphaChannel())
                                                  picture.convertTo(
                                                      QImage::Format_ARGB32_Premultiplied);
                                              return stretch(picture, size);
                                          }).share();
        m_made.insert(key, made);
        return made;
    }

private:
    QMutex m_mutex;
    QHash<StretchKey, std::shared_future<QImage>> m_made;
};

StretchedFills &stretchedFills()
{
    static StretchedFills fills;
    return fills;
}

} // namespace

FillPicture FillPicture::builtIn(const QString &path)
{
    builtInPictureSize(path); // throws when there is no such picture
    prefetchBuiltInPicture(path);
    FillPicture picture;
    picture.m_path = path;
    return picture;
}

QSize FillPicture::size() const
{
    return m_path.isEmpty() ? m_picture.size() : builtInPictureSize(m_path);
}

void FillPicture::prepare(QSize size) const
{
    if (!m_path.isEmpty() && !size.isEmpty())
        stretchedFills().findOrStart(m_path, size);
}

QPixmap FillPicture::stretched(QSize size) const
{
    if (m_path.isEmpty()) {
        static QHash<QPair<qint64, QSize>, QPixmap> given;
        const QPair<qint64, QSize> key(m_picture.cacheKey(), size);
        if (const auto it = given.constFind(key); it != given.constEnd())
            return *it;
        const QPixmap result = QPixmap::fromImage(stretch(m_picture.toImage(), size));
        given.insert(key, result);
        return result;
    }
    static QHash<StretchKey, QPixmap> builtIns;
    const StretchKey key(m_path, size);
    if (const auto it = builtIns.constFind(key); it != builtIns.constEnd())
        return *it;
    QPixmap result;
    try {
        result = QPixmap::fromImage(stretchedFills().findOrStart(m_path, size).get());
    } catch (const std::exception &) {
        return {}; // a built-in picture that cannot be decoded is not drawn
    }
    builtIns.insert(key, result);
    return result;
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
    if (m_fill.kind == Fill::Kind::Picture)
        m_fill.picture.prepare(size());
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
        if (m_stretched.size() != size() && !m_fill.picture.isNull())
            m_stretched = m_fill.picture.stretched(size());
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
