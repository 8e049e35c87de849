// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit4.h"

#include "app/application.h"
#include "forms/Unit8.h"
#include "ui/controls.h"

namespace quorlin {

std::int32_t ObstacleRitualStage = 0;
QString ObstacleSavedPrompt;
TForm4 *Form4 = nullptr;

namespace {
const QString kInstruction =
    QStringLiteral("หายใจเข้า ผ่อนคลาย  หายใจออกผ่อนคลาย เปิดหัวใจออกกว้าง "
                   "ให้ธรรมชาติสะท้อนตัวตนและอุปสรรคในเรา  หลับตาลง...อยู่กับตัวเอง  "
                   "ปรับคลื่นใจเข้ากับไพ่อุปสรรคสักครู่หนึ่ง...  ก่อนกดปุ่มเดิมอีกครั้ง");
} // namespace

TForm4::TForm4() : Form(QStringLiteral("TForm4")) {}

Form::NotifyHandler TForm4::notifyHandler(const QString &name)
{
    return bindNotify<TForm4>(
        {{"Button4Click", &TForm4::Button4Click}, {"Button1Click", &TForm4::Button1Click}}, name);
}

Form::CloseHandler TForm4::closeHandler(const QString &name)
{
    return bindClose<TForm4>({{"FormClose", &TForm4::FormClose}}, name);
}

void TForm4::Button4Click(QObject *)
{
    if (ObstacleRitualStage == 1) {
        // A failed creation stops here: this window stays open on the instruction, stage 1.
        // On success the close handler puts the stage back to 0.
        Application::instance().createForm(Form8);
        Application::instance().show(Form8);
        Application::instance().close(this);
    } else if (ObstacleRitualStage == 0) {
        auto *label = member<TextLabel>(QStringLiteral("AngelTell"));
        ObstacleSavedPrompt = label->text();
        label->setText(kInstruction);
        ObstacleRitualStage = 1;
    }
}

void TForm4::Button1Click(QObject *)
{
    Application::instance().close(this);
}

void TForm4::FormClose(QObject *, CloseAction &)
{
    ObstacleRitualStage = 0;
    member<TextLabel>(QStringLiteral("AngelTell"))->setText(ObstacleSavedPrompt);
}

} // namespace quorlin
