#include "MessageBox.h"

#include "PlatformScript.h"

#include <QMessageBox>

namespace Platform {

namespace {
QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Answer ShowMessage(QWidget* owner, const QString& text, MessageIcon icon, Buttons buttons) {
    if (PlatformScript* script = PlatformScript::Current())
        return script->AnswerMessage(text, icon, buttons);

    // Messages keep their CR LF line ends; the box wants plain line feeds.
    QString shown = text;
    shown.replace("\r\n", "\n");
    QMessageBox box(ToQtIcon(icon), AppTitle, shown, QMessageBox::NoButton, owner);
    if (buttons == Buttons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

} // namespace Platform
