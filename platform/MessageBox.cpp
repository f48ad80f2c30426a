#include "MessageBox.h"

#include "PlatformScript.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QStringList>

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

QString ShownText(const QString& text) {
    QString shown = text;
    shown.replace("\r\n", "\n");
    QStringList lines = shown.split('\n');
    for (QString& line : lines) {
        if (line.size() > MaxShownLine) {
            const qsizetype dropped = line.size() - MaxShownLine;
            line = line.left(MaxShownLine) +
                   QString::fromUtf8("\u2026 (%1 more characters)").arg(dropped);
        }
    }
    return lines.join('\n');
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text, MessageIcon icon,
                                            Buttons buttons) {
    auto box = std::make_unique<QMessageBox>(ToQtIcon(icon), AppTitle, ShownText(text),
                                             QMessageBox::NoButton, owner);
    if (buttons == Buttons::YesNoCancel) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    // A box sized to a short text ("Overflow") would cut its own title; the title bar also holds
    // the window's icon and buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        const int width = box->fontMetrics().horizontalAdvance(AppTitle) + MinTitleBarExtra;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

Answer ShowMessage(QWidget* owner, const QString& text, MessageIcon icon, Buttons buttons) {
    if (PlatformScript* script = PlatformScript::Current())
        return script->AnswerMessage(text, icon, buttons);

    const std::unique_ptr<QMessageBox> box = MakeMessageBox(owner, text, icon, buttons);
    switch (box->exec()) {
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
