#include "FileDialog.h"

#include "PlatformScript.h"

#include <QFileDialog>
#include <utility>

namespace Platform {

FileDialog::FileDialog(QString filter, QString defaultSuffix)
    : filter_(std::move(filter)), defaultSuffix_(std::move(defaultSuffix)) {}

std::optional<QString> FileDialog::ShowOpen(QWidget* owner) {
    return Show(owner, false);
}

std::optional<QString> FileDialog::ShowSave(QWidget* owner) {
    return Show(owner, true);
}

std::optional<QString> FileDialog::Show(QWidget* owner, bool save) {
    std::optional<QString> chosen;
    if (PlatformScript* script = PlatformScript::Current()) {
        chosen = script->AnswerFileDialog(save, *this);
    } else {
        QFileDialog dialog(owner, QString(), QString(), filter_);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(defaultSuffix_);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !save);
        if (!fileName_.isEmpty())
            dialog.selectFile(fileName_);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (chosen)
        fileName_ = *chosen;
    return chosen;
}

} // namespace Platform
