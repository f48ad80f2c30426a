#pragma once
// The window's own documents: File > New, Open..., Save and Save As..., the question before
// unsaved changes are left behind, and the caption that names the document.

#include "FileDialog.h"

#include <QString>
#include <functional>

class GraphDocument;
class QWidget;

class DocumentFiles {
  public:
    // `shown` shows a document just made or opened from the start (selection, view, tool).
    DocumentFiles(GraphDocument& document, QWidget* window, std::function<void()> shown);

    void CreateNewDocument();
    // Asks whether to save unsaved changes; false when the user cancelled, or chose to save and
    // the save was cancelled or failed: then nothing may be discarded.
    bool CloseDocument();
    bool SaveDocument(bool newFile); // false when cancelled or failed
    void OpenDocument();
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
    Platform::FileDialog ComDlg;
};
