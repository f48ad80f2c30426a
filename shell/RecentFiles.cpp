#include "RecentFiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {
const char* const Key = "RecentFiles";
}

namespace {
// Only the program itself, which names its organisation, keeps settings: a benchmark or a tool
// that opens documents in a window leaves the user's list alone.
bool Persistent() {
    return !QCoreApplication::organizationName().isEmpty();
}
} // namespace

RecentFiles::RecentFiles(QMenu* menu, QObject* parent) : QObject(parent), menu_(menu) {
    if (Persistent())
        files_ = QSettings().value(Key).toStringList().mid(0, Kept);
    Fill();
}

QStringList RecentFiles::Files() const {
    return files_;
}

void RecentFiles::Add(const QString& path) {
    QStringList files = Files();
    const QString full = QFileInfo(path).absoluteFilePath();
    files.removeAll(full);
    files.prepend(full);
    Store(files.mid(0, Kept));
}

void RecentFiles::Remove(const QString& path) {
    QStringList files = Files();
    files.removeAll(path);
    Store(files);
}

void RecentFiles::Store(const QStringList& files) {
    files_ = files;
    if (Persistent())
        QSettings().setValue(Key, files);
    Fill();
}

void RecentFiles::Fill() {
    menu_->clear();
    menu_->setToolTipsVisible(true); // the full path
    const QStringList files = Files();
    for (int i = 0; i < files.size(); ++i) {
        // "&&" shows one "&" of a name instead of making an access key of it.
        QString name = QFileInfo(files[i]).fileName();
        name.replace("&", "&&");
        QAction* item = menu_->addAction(QString("&%1 %2").arg(i + 1).arg(name));
        item->setObjectName(QString("mnuRecent%1").arg(i + 1));
        item->setToolTip(files[i]);
        connect(item, &QAction::triggered, this, [this, path = files[i]] { emit Chosen(path); });
    }
    if (files.isEmpty())
        menu_->addAction("No Recent Files")->setEnabled(false);
}
