// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit3.h"

#include "app/application.h"
#include "forms/Unit6.h"
#include "ui/controls.h"

namespace quorlin {

std::int32_t TopicRitualStage = 0;
TForm3 *Form3 = nullptr;

namespace {
const QString kPrompt = QStringLiteral("หัวข้อแนะนำสำหรับการบันทึกดูแลและใคร่ครวญชีวิตสำหรับช่วงนี้");
const QString kInstruction = QStringLiteral("อยู่กับตัวเองสักครู่หนึ่ง ก่อนกดปุ่มเดิมอีกครั้ง");
} // namespace

TForm3::TForm3() : Form(QStringLiteral("TForm3")) {}

Form::NotifyHandler TForm3::notifyHandler(const QString &name)
{
    return bindNotify<TForm3>(
        {{"Button4Click", &TForm3::Button4Click}, {"Button1Click", &TForm3::Button1Click}}, name);
}

Form::CloseHandler TForm3::closeHandler(const QString &name)
{
    return bindClose<TForm3>({{"FormClose", &TForm3::FormClose}}, name);
}

void TForm3::Button4Click(QObject *)
{
    if (TopicRitualStage == 1) {
        // A failed creation stops here: this window stays open on the instruction.
        Application::instance().createForm(Form6);
        Application::instance().show(Form6);
        Application::instance().close(this);
    } else if (TopicRitualStage == 0) {
        member<TextLabel>(QStringLiteral("toppic1"))->setText(kInstruction);
        TopicRitualStage = 1;
    }
}

void TForm3::Button1Click(QObject *)
{
    Application::instance().close(this);
}

void TForm3::FormClose(QObject *, CloseAction &)
{
    // The next ritual window, always a fresh one, starts again at the prompt.
    TopicRitualStage = 0;
    member<TextLabel>(QStringLiteral("toppic1"))->setText(kPrompt);
}

} // namespace quorlin
