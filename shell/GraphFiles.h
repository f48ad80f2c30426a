#pragma once
// File > Import..., File > Export... and Edit > Layout...: graphs made elsewhere come in as new
// documents, the graph goes out as GraphML, DOT or CSV or as a PNG, SVG or PDF picture, and
// Graphviz places the nodes as one undo step.

#include "FileDialog.h"
#include "frmLayout.h"

class GraphDocument;
class QWidget;

class GraphFiles {
  public:
    GraphFiles(GraphDocument& document, QWidget* owner);

    // The file the user chose to import, if any.
    std::optional<QString> ChooseImport();
    // Imports the file, listing what was left out, or reports why it could not and leaves a new
    // untitled document; true when the document now holds it.
    bool ImportFile(const QString& path);
    // Asks for a file and writes the graph in the format of its extension; a PNG at `scale`.
    void Export(double scale);
    // Asks for a kind of layout and applies it.
    void Layout();

  private:
    GraphDocument& document_;
    QWidget* owner_;
    Platform::FileDialog importDialog_, exportDialog_;
    frmLayout layoutDialog_;
};
