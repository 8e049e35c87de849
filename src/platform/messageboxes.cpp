// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messageboxes.h"

#include <QMessageBox>

namespace quorlin {

void QtMessageBoxes::showError(QWidget *owner, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    box.exec();
}

} // namespace quorlin
