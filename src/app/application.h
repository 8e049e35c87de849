// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/exception.h"
#include "app/form.h"

#include <QHash>
#include <QList>
#include <QPointer>

#include <functional>
#include <vector>

namespace quorlin {

// The application object: records window requests made before the event loop runs, owns
// every window, keeps the window list in activation order, and starts and ends the program.
class Application
{
public:
    Application();
    ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    static Application &instance();

    // Prepares the GUI thread (fonts and look).
    void initialize();

    // Create: before the loop runs, only records the request; once it runs, builds the window
    // at once under `name`. On failure `name` refers to no window and the error goes on.
    template <typename T> void createForm(T *&name)
    {
        // Once per name, not per opening: the list would otherwise grow with every window.
        if (!m_named.contains(&name))
            m_names.push_back([&name] { name = nullptr; });
        if (!m_running) {
            m_requests.push_back([this, &name] { createNow(name); });
            return;
        }
        createNow(name);
    }

    void show(Form *form);
    void close(Form *form);
    void hide(Form *form);

    // Start-up: builds the windows recorded before the loop ran, in order, and shows the first
    // of them, the main window.
    // Errors go on to the caller.
    void startUp();
    // The whole run: start-up, event loop, ending. Returns the exit status.
    int run();
    // Asks the event loop to stop.
    void terminate();
    bool terminateRequested() const { return m_terminate; }
    // Exit processing: destroys every window, newest first, the main window last.
    void finish();

    bool running() const { return m_running; }
    Form *mainForm() const { return m_mainForm; }
    Form *activeForm() const { return m_active; }
    // Windows in activation order (a new or activated window goes to the end).
    const QList<Form *> &windows() const { return m_windows; }
    // Every window ever created and not destroyed, in creation order.
    const QList<Form *> &owned() const { return m_owned; }

    // Runs a handler at our dispatch boundary: an error that escapes it is reported in the
    // "Error" box and goes no further.
    void dispatch(const std::function<void()> &handler);
    void reportError(const QString &message);
    // The "Error" box's text: the message, with "." added when it ends in a character
    // above "." in code order.
    static QString errorBoxText(const QString &message);
    // The start-up failure box's text.
    static QString applicationErrorText(const QString &kind, const QString &module,
                                        quintptr address, const QString &message);
    void showApplicationError(const Exception &error);

    // Called by a window when the system activates it.
    void windowActivated(Form *form);

private:
    template <typename T> void createNow(T *&name)
    {
        T *form = new T;
        name = form;
        adopt(form);
        try {
            form->load();
        } catch (...) {
            name = nullptr;
            discard(form);
            named(&name, nullptr);
            throw;
        }
        named(&name, form);
    }
    void adopt(Form *form);
    // Records what a window name now refers to.
    void named(const void *name, Form *form);
    void release(Form *form);
    void sweepReleased();
    void discard(Form *form);
    void activate(Form *form);

    bool m_running = false;
    bool m_terminate = false;
    std::vector<std::function<void()>> m_requests;
    std::vector<std::function<void()>> m_names;
    QList<Form *> m_windows;
    QList<Form *> m_owned;
    Form *m_mainForm = nullptr;
    Form *m_active = nullptr;
    // Hidden windows that have given back their controls, with what they still hold: the
    // newest of each class stays known by its name; a bell that sounds plays to its end.
    QList<Form *> m_released;
    // What each window name refers to, by the name's address.
    QHash<const void *, Form *> m_named;
};

} // namespace quorlin
