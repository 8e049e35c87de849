// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit5.h"

#include "app/application.h"
#include "forms/Unit7.h"
#include "ui/controls.h"

namespace quorlin {

std::int32_t AngelRitualStage = 0;
TForm5 *Form5 = nullptr;

namespace {
const QString kInstruction =
    QStringLiteral("หายใจเข้า ผ่อนคลาย  หายใจออกผ่อนคลาย เปิดหัวใจออกกว้าง ใช้ปัญญาภายในจิตใจ  "
                   "ต้อนรับข่าวสารจากธรรมชาติ  หลับตาลง...อยู่กับตัวเอง  "
                   "ปรับคลื่นใจเข้ากับไพ่นางฟ้าสักครู่หนึ่ง...  ก่อนกดปุ่มเดิมอีกครั้ง");
// Left in the label of a closed ritual window; it names both kinds of card.
const QString kCloseText = QStringLiteral("ภาวนากลับมาอยู่กับตัวเอง ขอให้ได้รับข้อความหรือสัญญาณชี้แนะเรา "
                                          "น้อมนำคุณสมบัติ /อุปสรรคนี้เข้ามาในหัวใจอย่างใคร่ครวญ ");
} // namespace

TForm5::TForm5() : Form(QStringLiteral("TForm5")) {}

Form::NotifyHandler TForm5::notifyHandler(const QString &name)
{
    return bindNotify<TForm5>(
        {{"Button4Click", &TForm5::Button4Click}, {"Button1Click", &TForm5::Button1Click}}, name);
}

Form::CloseHandler TForm5::closeHandler(const QString &name)
{
    return bindClose<TForm5>({{"FormClose", &TForm5::FormClose}}, name);
}

void TForm5::Button4Click(QObject *)
{
    // A card drawn and not yet handed over to its result window blocks the button.
    if (AngelDrawMark != 0)
        return;
    if (AngelRitualStage == 0) {
        member<TextLabel>(QStringLiteral("AngelTell1"))->setText(kInstruction);
        AngelRitualStage = 1;
    } else if (AngelRitualStage == 1) {
        // A failed creation stops here: this window stays open on the instruction, stage 1.
        Application::instance().createForm(Form7);
        Application::instance().show(Form7);
        AngelRitualStage = 0;
        AngelDrawMark = 0;
        Application::instance().close(this);
    }
}

void TForm5::Button1Click(QObject *)
{
    Application::instance().close(this);
}

void TForm5::FormClose(QObject *, CloseAction &)
{
    AngelRitualStage = 0;
    AngelDrawMark = 0;
    member<TextLabel>(QStringLiteral("AngelTell1"))->setText(kCloseText);
}

} // namespace quorlin
