// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/application.h"
#include "app/form.h"
#include "bell/bellplayer.h"
#include "ui/controls.h"

#include <QString>

#include <functional>

namespace quorlin {

// Creates the window named `name` and gives it: `createdWindow<Form1>` as a result window's
// guidance window.
template <auto &name> Form *createdWindow()
{
    Application::instance().createForm(name);
    return name;
}

// A result window: rings its bell from the start as it opens, shows a fresh draw in its label,
// and leads on to its guidance window.
class ResultWindow : public Form
{
    Q_OBJECT
    // What the label says once the window is closed, when not the text it was declared with.
    Q_PROPERTY(QString ClosedText MEMBER m_closedText)

public slots:
    void FormCreate(QObject *sender);
    // Silences the bell and closes.
    void Button1Click(QObject *sender);
    // The guidance window, in this one's place. It is made first: if it cannot be, this window
    // stays open and ringing.
    void Button4Click(QObject *sender);
    // Closes without touching the bell, which sounds on to its end.
    void FormClose(QObject *sender, quorlin::CloseAction &action);

protected:
    // `draw` draws and gives the label's text; `createGuidance` creates the guidance window
    // under its name and gives it.
    ResultWindow(QString className, std::function<QString()> draw,
                 std::function<Form *()> createGuidance);

    // What the label shows once the window is closed: its declared closed text, or else the
    // text it was declared with.
    QString closedText() const { return m_closedText.isEmpty() ? m_declaredText : m_closedText; }
    // What the Copy key takes along of the drawn text the label shows: the draw itself.
    virtual QString copiedText(const QString &shown) const { return shown; }

    void controlsBound() override { m_declaredText = m_label->text(); }

    // Bound by the window's properties of the bell's and the label's declared names.
    BellPlayer *m_bell = nullptr;
    TextLabel *m_label = nullptr;

private:
    std::function<QString()> m_draw;
    std::function<Form *()> m_createGuidance;
    QString m_closedText;
    QString m_declaredText;
};

} // namespace quorlin
