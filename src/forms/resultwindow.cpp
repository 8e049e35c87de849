// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/resultwindow.h"

namespace quorlin {

ResultWindow::ResultWindow(QString className, std::function<QString()> draw,
                           std::function<Form *()> createGuidance)
    : Form(std::move(className)), m_draw(std::move(draw)), m_createGuidance(std::move(createGuidance))
{
}

void ResultWindow::FormCreate(QObject *)
{
    if (m_bell->hasMedia()) {
        m_bell->setCurrentTime(0);
        m_bell->play();
    }
    const QString drawn = m_draw();
    m_label->setText(drawn);
    setCopyText(copiedText(drawn));
}

void ResultWindow::Button1Click(QObject *)
{
    m_bell->stop();
    Application::instance().close(this);
}

void ResultWindow::Button4Click(QObject *)
{
    Form *guidance = m_createGuidance();
    m_bell->stop();
    Application::instance().show(guidance);
    Application::instance().close(this);
}

void ResultWindow::FormClose(QObject *, CloseAction &) { m_label->setText(closedText()); }

} // namespace quorlin
