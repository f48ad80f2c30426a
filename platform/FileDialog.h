#pragma once
// The open and save file dialogs. Each caller keeps its own dialog settings, so that the name
// chosen last is offered again the next time that dialog opens.

#include <QString>
#include <optional>

class QFileIconProvider;
class QWidget;

namespace Platform {

// True for a path in /proc, /sys or /dev (or one of them), where reading a file may block.
bool IsSystemFolder(const QString& path);

// Icons and type names from file names only: no dialog reads a file to guess its type.
QFileIconProvider* NameOnlyIcons();

class FileDialog {
  public:
    // filter in Qt form, e.g. "Pathloom Files (*.plm);;All Files (*)"; suffix without the dot;
    // without a title the dialog is called what it does ("Open", "Save As").
    FileDialog(QString filter, QString defaultSuffix, QString title = QString());

    // The chosen full path, or nothing when the user cancelled. Open needs an existing file.
    std::optional<QString> ShowOpen(QWidget* owner);
    // Asks before overwriting an existing file; adds the default suffix to a bare name. Offers
    // `name` when given, else the name chosen last.
    std::optional<QString> ShowSave(QWidget* owner, const QString& name = QString());

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) {
        if (!IsSystemFolder(fileName))
            fileName_ = fileName;
    }
    const QString& Filter() const { return filter_; }
    const QString& DefaultSuffix() const { return defaultSuffix_; }
    const QString& Title() const { return title_; }

  private:
    std::optional<QString> Show(QWidget* owner, bool save, const QString& offered);

    QString filter_;
    QString defaultSuffix_;
    QString title_;
    QString fileName_;
};

} // namespace Platform
