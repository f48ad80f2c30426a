#include "DocumentFiles.h"

#include "GraphDocument.h"
#include "Latin1Text.h"
#include "MessageBox.h"
#include "PathloomError.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

DocumentFiles::DocumentFiles(GraphDocument& document, QWidget* window, std::function<void()> shown,
                             std::function<void(const QString&)> remember)
    : document_(document), window_(window), shown_(std::move(shown)),
      remember_(std::move(remember)), ComDlg("Pathloom Files (*.plm);;All Files (*)", "plm") {}

void DocumentFiles::CreateNewDocument() {
    document_.Clear();
    shown_();
}

bool DocumentFiles::CloseDocument() {
    if (!document_.Modified())
        return true;
    const QString text = "The graph in the file " + GetDocumentTitle(document_.Path()) +
                         " has changed.\r\n\r\nDo you want to save the changes?";
    switch (Platform::ShowMessage(window_, text, MessageIcon::Exclamation,
                                  Platform::Buttons::YesNoCancel)) {
    case Platform::Answer::Cancel:
        return false;
    case Platform::Answer::Yes:
        return SaveDocument(false);
    default:
        return true;
    }
}

bool DocumentFiles::SaveDocument(bool newFile) {
    try {
        if (document_.Path().isEmpty() || newFile) {
            QString offered = document_.Path();
            if (offered.isEmpty()) {
                const QString last = ComDlg.FileName();
                offered = last.isEmpty() ? "Untitled.plm"
                                         : QFileInfo(last).dir().filePath("Untitled.plm");
            }
            const std::optional<QString> chosen = ComDlg.ShowSave(window_, offered);
            if (!chosen)
                return false; // cancelled: silently, nothing changes
            document_.SetPath(*chosen);
            UpdateCaption();
        }
        document_.Save();
        remember_(document_.Path());
        return true;
    } catch (const PathloomError& e) {
        Platform::ShowMessage(window_, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
        return false;
    }
}

std::optional<QString> DocumentFiles::ChooseOpen() {
    return ComDlg.ShowOpen(window_);
}

void DocumentFiles::LoadDocument(const QString& path) {
    document_.SetPath(path);
    UpdateCaption();
    try {
        document_.Load(path);
    } catch (const PathloomError& e) {
        CreateNewDocument();
        Platform::ShowMessage(window_, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
        return;
    }
    remember_(path);
    shown_();
}

void DocumentFiles::UpdateCaption() {
    // "[*]" is where the window shows its unsaved-changes mark, and nothing while there are none;
    // a name's own "[*]" is written twice to stay one.
    QString title = GetDocumentTitle(document_.Path());
    title.replace("[*]", "[*][*]");
    window_->setWindowTitle(title + "[*] - " + Platform::AppTitle);
}

QString DocumentFiles::GetDocumentTitle(const QString& path) {
    if (path.isEmpty())
        return "Untitled";
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QString();
    const qsizetype dot = path.lastIndexOf('.');
    if (dot > slash)
        return path.mid(slash + 1, dot - slash - 1);
    return path.mid(slash + 1);
}
