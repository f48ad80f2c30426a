#include "DocumentFiles.h"

#include "GraphDocument.h"
#include "Latin1Text.h"
#include "MessageBox.h"
#include "PathloomError.h"

#include <QWidget>

DocumentFiles::DocumentFiles(GraphDocument& document, QWidget* window, std::function<void()> shown)
    : document_(document), window_(window), shown_(std::move(shown)),
      ComDlg("Pathloom Files (*.plm);;All Files (*)", "plm") {}

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
            const std::optional<QString> chosen = ComDlg.ShowSave(window_);
            if (!chosen)
                return false; // cancelled: silently, nothing changes
            document_.SetPath(*chosen);
            UpdateCaption();
        }
        document_.Save();
        return true;
    } catch (const PathloomError& e) {
        Platform::ShowMessage(window_, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
        return false;
    }
}

void DocumentFiles::OpenDocument() {
    if (const std::optional<QString> chosen = ComDlg.ShowOpen(window_))
        LoadDocument(*chosen);
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
    shown_();
}

void DocumentFiles::UpdateCaption() {
    window_->setWindowTitle(GetDocumentTitle(document_.Path()) + " - " + Platform::AppTitle);
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
