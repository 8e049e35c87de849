// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/application.h"
#include "app/form.h"
#include "ui/controls.h"

#include <QString>

#include <cstdint>

namespace quorlin {

// A ritual window: two presses of its draw button lead, through an instruction shown in its
// label, to a result window that takes its place. The stage (0 at the prompt, 1 at the
// instruction) is shared by every window of the kind.
class RitualWindow : public Form
{
    Q_OBJECT
    // What the label says after the first press.
    Q_PROPERTY(QString Instruction MEMBER m_instruction REQUIRED)
    // What the label says once the window is closed, when not the text it was declared with.
    Q_PROPERTY(QString ClosedText MEMBER m_closedText)

public slots:
    // The draw button: the first press shows the instruction, the second opens the result
    // window in this one's place. A result window that cannot be created leaves this one open
    // on the instruction.
    void Button4Click(QObject *sender);
    void Button1Click(QObject *sender);
    // The next ritual window, always a fresh one, starts again at the prompt.
    void FormClose(QObject *sender, quorlin::CloseAction &action);

protected:
    RitualWindow(QString className, std::int32_t &stage);

    // Whether the draw button does anything now.
    virtual bool drawAllowed() const { return true; }
    // The first press: the instruction in the label.
    virtual void showInstruction();
    // The second press: the result window in this one's place (see replaceWith).
    virtual void openResult() = 0;
    // What the label shows once the window is closed: its declared closed text, or else the
    // text it was declared with.
    virtual QString closedText() const
    {
        return m_closedText.isEmpty() ? m_declaredText : m_closedText;
    }

    // Opens `next` and closes this window, which `next` replaces.
    template <typename T> void replaceWith(T *&next)
    {
        Application::instance().createForm(next);
        Application::instance().show(next);
        Application::instance().close(this);
    }

    void controlsBound() override { m_declaredText = m_label->text(); }

    // The label that shows the prompt, then the instruction; bound by the window's property of
    // the label's declared name.
    TextLabel *m_label = nullptr;
    std::int32_t &m_stage;

private:
    QString m_instruction;
    QString m_closedText;
    QString m_declaredText;
};

} // namespace quorlin
