#pragma once
// The window's own documents: File > New, Open..., Save and Save As..., the question before
// unsaved changes are left behind, and the caption that names the document and marks it while
// it has unsaved changes.

#include "FileDialog.h"

#include <QString>
#include <functional>

class GraphDocument;
class QWidget;

class DocumentFiles {
  public:
    // `shown` shows a document just made or opened from the start (selection, view, tool);
    // `remember` hears of every file opened or saved.
    DocumentFiles(GraphDocument& document, QWidget* window, std::function<void()> shown,
                  std::function<void(const QString&)> remember);

    void CreateNewDocument();
    // Asks whether to save unsaved changes; false when the user cancelled, or chose to save and
    // the save was cancelled or failed: then nothing may be discarded.
    bool CloseDocument();
    // A new document is offered as "Untitled.plm" in the folder of the last file chosen, a
    // titled one under its own name.
    bool SaveDocument(bool newFile); // false when cancelled or failed
    // The file the user chose to open, if any.
    std::optional<QString> ChooseOpen();
    // A file that cannot be loaded is reported and leaves a new untitled document, so that no
    // later save can go to it.
    void LoadDocument(const QString& path);
    // Open offers this file next.
    void OfferFileName(const QString& path) { ComDlg.SetFileName(path); }
    void UpdateCaption();

    // The title part of the caption: the file name without folder and extension, "Untitled"
    // for an empty path, "" for a path without any folder separator.
    static QString GetDocumentTitle(const QString& path);

  private:
    GraphDocument& document_;
    QWidget* window_;
    std::function<void()> shown_;
    std::function<void(const QString&)> remember_;
    Platform::FileDialog ComDlg;
};
