// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "bell/bellplayer.h"
#include "platform/desktop.h"
#include "platform/look.h"
#include "platform/messageboxes.h"
#include "platform/services.h"

#include <QApplication>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace quorlin {

namespace {
Application *s_instance = nullptr;

// Clears a flag when the scope ends, however it ends.
class FlagGuard
{
public:
    explicit FlagGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard &) = delete;
    FlagGuard &operator=(const FlagGuard &) = delete;

private:
    bool &m_flag;
};

// Rounds to the nearest integer, halves to even.
int roundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }
} // namespace

Application::Application()
{
    Q_ASSERT(!s_instance);
    s_instance = this;
}

Application::~Application()
{
    finish();
    for (const auto &clear : m_names)
        clear();
    s_instance = nullptr;
}

Application &Application::instance()
{
    Q_ASSERT(s_instance);
    return *s_instance;
}

void Application::initialize()
{
    applyPlatformLook();
}

void Application::adopt(Form *form)
{
    m_owned.append(form);
    m_windows.append(form);
}

void Application::discard(Form *form)
{
    m_owned.removeOne(form);
    m_windows.removeOne(form);
    if (m_active == form)
        m_active = nullptr;
    delete form;
}

void Application::show(Form *form)
{
    if (!form || form->showing)
        return;
    FlagGuard showing(form->showing);
    if (!form->isVisible()) {
        if (form->neverShown) {
            const QRect desktop = services().desktop->virtualRect();
            const int left = roundHalfEven((desktop.width() - form->width()) / 2.0) + desktop.left();
            const int top = roundHalfEven((desktop.height() - form->height()) / 2.0) + desktop.top();
            form->move(left, top);
        }
        form->setVisible(true);
        form->neverShown = false;
    }
    activate(form);
}

void Application::activate(Form *form)
{
    form->raise();
    form->activateWindow();
    windowActivated(form);
}

void Application::windowActivated(Form *form)
{
    if (!m_owned.contains(form) || !form->isVisible())
        return;
    m_active = form;
    m_windows.removeOne(form);
    m_windows.append(form);
}

void Application::close(Form *form)
{
    if (!form || form->closing)
        return;
    FlagGuard closing(form->closing);

    CloseAction action = CloseAction::Hide;
    form->runCloseHandler(action);

    if (m_active == form) {
        // The last visible window after this one in activation order, else the first visible
        // one before it.
        const qsizetype at = m_windows.indexOf(form);
        Form *next = nullptr;
        for (qsizetype i = m_windows.size() - 1; i > at && !next; --i)
            if (m_windows.at(i)->isVisible())
                next = m_windows.at(i);
        for (qsizetype i = 0; i < at && !next; ++i)
            if (m_windows.at(i)->isVisible())
                next = m_windows.at(i);
        m_active = nullptr;
        if (next && form != m_mainForm)
            activate(next);
    }

    if (form == m_mainForm) {
        terminate();
        return;
    }
    hide(form);
}

void Application::hide(Form *form)
{
    form->setVisible(false);
    if (form != m_mainForm)
        release(form);
}

void Application::named(const void *name, Form *form)
{
    const Form *previous = m_named.value(name);
    m_named.insert(name, form);
    // An older instance is now out of its name's reach; if it is hidden, it can go.
    if (previous && previous != form && m_released.contains(previous))
        sweepReleased();
}

// A hidden window is never shown again, and its handlers run only from its own controls. What
// still points at it is its name (if it is the newest of its class) and our lists. So it gives
// back its controls, pictures and drawing surface at once, and its bell player once the bell
// has ended; an older instance that its name no longer reaches goes altogether once it is
// silent. Without this every opening would keep megabytes of pictures and decoded sound until
// the program ends, and nothing of it could ever be seen or heard again.
void Application::release(Form *form)
{
    // Later, not now: we may be inside a click handler of one of these controls. A bell that
    // sounds keeps its player until the sweep finds it silent.
    for (QObject *child : form->children()) {
        auto *player = qobject_cast<BellPlayer *>(child);
        if (child->isWidgetType() || (player && player->state() != BellPlayer::State::Playing))
            child->deleteLater();
    }
    form->setFill({});
    // The native window is still delivering the event that led here.
    QMetaObject::invokeMethod(
        form,
        [form] {
            if (!form->isVisible())
                form->releaseNativeWindow();
        },
        Qt::QueuedConnection);
    // The sweep looks at the windows hidden before this one; this one goes at the next.
    sweepReleased();
    if (!m_released.contains(form))
        m_released.append(form);
}

void Application::sweepReleased()
{
    for (qsizetype i = m_released.size() - 1; i >= 0; --i) {
        Form *form = m_released.at(i);
        bool ringing = false;
        for (BellPlayer *player : form->findChildren<BellPlayer *>(Qt::FindDirectChildrenOnly)) {
            if (player->state() == BellPlayer::State::Playing)
                ringing = true;
            else
                delete player;
        }
        if (ringing || std::find(m_named.cbegin(), m_named.cend(), form) != m_named.cend())
            continue;
        m_released.removeAt(i);
        m_owned.removeOne(form);
        m_windows.removeOne(form);
        if (m_active == form)
            m_active = nullptr;
        form->deleteLater();
    }
}

void Application::startUp()
{
    m_running = true;
    auto requests = std::move(m_requests);
    m_requests.clear();
    bool first = true;
    for (const auto &request : requests) {
        const qsizetype before = m_owned.size();
        request();
        if (first && m_owned.size() > before)
            m_mainForm = m_owned.at(before);
        first = false;
    }
    if (m_mainForm)
        show(m_mainForm);
}

int Application::run()
{
    try {
        startUp();
    } catch (const Exception &error) {
        showApplicationError(error);
        return 1;
    } catch (const std::exception &error) {
        showApplicationError(Exception(QString::fromUtf8(error.what())));
        return 1;
    }
    if (!m_terminate)
        QApplication::exec();
    m_running = false;
    finish();
    return 0;
}

void Application::terminate()
{
    m_terminate = true;
    // exit(), not quit(): quit() first asks every window to close, and the main window, which is
    // closing already, would ignore that and so cancel the ending.
    QCoreApplication::exit(0);
}

void Application::finish()
{
    m_active = nullptr;
    m_released.clear();
    m_named.clear();
    // Newest first, the main window last. No handler of ours runs here.
    while (!m_owned.isEmpty()) {
        Form *form = m_owned.constLast();
        if (form == m_mainForm && m_owned.size() > 1)
            form = m_owned.at(m_owned.size() - 2);
        m_owned.removeOne(form);
        m_windows.removeOne(form);
        if (form == m_mainForm)
            m_mainForm = nullptr;
        delete form;
    }
}

void Application::dispatch(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const Exception &error) {
        reportError(error.message());
    } catch (const std::exception &error) {
        reportError(QString::fromUtf8(error.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
}

QString Application::errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void Application::reportError(const QString &message)
{
    services().boxes->showError(m_active, QStringLiteral("Error"), errorBoxText(message));
}

QString Application::applicationErrorText(const QString &kind, const QString &module,
                                          quintptr address, const QString &message)
{
    const QString hex = QStringLiteral("%1").arg(static_cast<qulonglong>(address & 0xFFFFFFFFu),
                                                 8, 16, QLatin1Char('0')).toUpper();
    const QString period = message.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
    return QStringLiteral("Exception %1 in module %2 at %3.\n%4%5\n")
        .arg(kind, module, hex, message, period);
}

void Application::showApplicationError(const Exception &error)
{
    const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    services().boxes->showError(nullptr, QStringLiteral("Application Error"),
                                applicationErrorText(error.kind(), module, error.address(),
                                                     error.message()));
}

} // namespace quorlin
