// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/ritualwindow.h"

namespace quorlin {

RitualWindow::RitualWindow(QString className, std::int32_t &stage)
    : Form(std::move(className)), m_stage(stage)
{
}

void RitualWindow::Button4Click(QObject *)
{
    if (!drawAllowed())
        return;
    if (m_stage == 0) {
        showInstruction();
        m_stage = 1;
    } else if (m_stage == 1) {
        openResult();
    }
}

void RitualWindow::showInstruction() { m_label->setText(m_instruction); }

void RitualWindow::Button1Click(QObject *) { Application::instance().close(this); }

void RitualWindow::FormClose(QObject *, CloseAction &)
{
    m_stage = 0;
    m_label->setText(closedText());
}

} // namespace quorlin
