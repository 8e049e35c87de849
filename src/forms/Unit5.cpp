// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit5.h"

#include "forms/Unit7.h"

namespace quorlin {

std::int32_t AngelRitualStage = 0;
TForm5 *Form5 = nullptr;

TForm5::TForm5() : RitualWindow(QStringLiteral("TForm5"), AngelRitualStage) {}

// A card drawn and not yet handed over to its result window blocks the button.
bool TForm5::drawAllowed() const { return AngelDrawMark == 0; }

// The angel result window, then this one closed, with the stage and the draw mark put back
// first.
void TForm5::openResult()
{
    Application::instance().createForm(Form7);
    Application::instance().show(Form7);
    AngelRitualStage = 0;
    AngelDrawMark = 0;
    Application::instance().close(this);
}

void TForm5::FormClose(QObject *sender, CloseAction &action)
{
    AngelDrawMark = 0;
    RitualWindow::FormClose(sender, action);
}

} // namespace quorlin
