#pragma once
// File > Import..., File > Export... and Edit > Layout...: graphs made elsewhere come in as new
// documents, the graph goes out as GraphML, DOT or CSV or as a PNG, SVG or PDF picture, and
// Graphviz places the nodes as one undo step.

#include "FileDialog.h"
#include "frmLayout.h"

#include <string>

class BackgroundWork;
class GraphDocument;
class QWidget;

class GraphFiles {
  public:
    // Imports and layouts work apart through `work`.
    GraphFiles(GraphDocument& document, QWidget* owner, BackgroundWork& work);

    enum class Imported { Cancelled, Failed, Done };

    // The file the user chose to import, if any.
    std::optional<QString> ChooseImport();
    // Imports the file, listing what was left out: Done when the document now holds it, Failed
    // when it reported why it could not and holds a new untitled document, Cancelled when the
    // user gave up waiting and nothing changed.
    Imported ImportFile(const QString& path);
    // Asks for a file and writes the graph in the format of its extension; a PNG at `scale`.
    void Export(double scale);
    // Asks for a kind of layout and applies it.
    void Layout();

  private:
    // A new untitled document, and the message why the import failed.
    Imported Failed(const std::string& message);

    GraphDocument& document_;
    QWidget* owner_;
    BackgroundWork& work_;
    Platform::FileDialog importDialog_, exportDialog_;
    frmLayout layoutDialog_;
};
