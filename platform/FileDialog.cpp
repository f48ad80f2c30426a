#include "FileDialog.h"

#include "PlatformScript.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMimeDatabase>
#include <utility>

namespace Platform {

namespace {

// Icons and type names from the file name alone: guessing a type from a file's contents means
// reading it, and some files (/proc/kmsg) block a reader for ever.
class NameOnlyIconProvider : public QFileIconProvider {
  public:
    NameOnlyIconProvider() { setOptions(DontUseCustomDirectoryIcons); }
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override {
        if (info.isDir())
            return QFileIconProvider::icon(Folder);
        return QIcon::fromTheme(TypeOf(info).iconName(), QFileIconProvider::icon(File));
    }
    QString type(const QFileInfo& info) const override {
        return info.isDir() ? QFileIconProvider::type(info) : TypeOf(info).comment();
    }

  private:
    QMimeType TypeOf(const QFileInfo& info) const {
        return database_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }
    QMimeDatabase database_;
};

} // namespace

bool IsSystemFolder(const QString& path) {
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    for (const QString folder : {"/proc", "/sys", "/dev"}) {
        if (clean == folder || clean.startsWith(folder + '/'))
            return true;
    }
    return false;
}

QFileIconProvider* NameOnlyIcons() {
    static NameOnlyIconProvider provider;
    return &provider;
}

FileDialog::FileDialog(QString filter, QString defaultSuffix, QString title)
    : filter_(std::move(filter)), defaultSuffix_(std::move(defaultSuffix)),
      title_(std::move(title)) {}

std::optional<QString> FileDialog::ShowOpen(QWidget* owner) {
    return Show(owner, false, fileName_);
}

std::optional<QString> FileDialog::ShowSave(QWidget* owner, const QString& name) {
    return Show(owner, true, name.isEmpty() ? fileName_ : name);
}

std::optional<QString> FileDialog::Show(QWidget* owner, bool save, const QString& offered) {
    std::optional<QString> chosen;
    if (PlatformScript* script = PlatformScript::Current()) {
        chosen = script->AnswerFileDialog(save, *this, offered);
    } else {
        QFileDialog dialog(owner, title_, QString(), filter_);
        // Qt's own dialog, whose icons we control; it starts at home rather than in a folder of
        // the system, whose files may block whoever reads them.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
        dialog.setIconProvider(NameOnlyIcons());
        if (IsSystemFolder(QDir::currentPath()))
            dialog.setDirectory(QDir::homePath());
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(defaultSuffix_);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !save);
        if (!offered.isEmpty())
            dialog.selectFile(offered);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    // A name in /proc, /sys or /dev is never offered again: it would start the next dialog there.
    if (chosen && !IsSystemFolder(*chosen))
        fileName_ = *chosen;
    return chosen;
}

} // namespace Platform
