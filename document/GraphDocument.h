#pragma once
// The open document: the engine with its graph, ranges and run settings, the file it came from,
// and the history of its edits. Every change goes through it as an undo command, and one signal
// tells whoever shows the document that it changed.

#include "clsLA.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

class DocumentCommand;

class GraphDocument : public QObject {
    Q_OBJECT
  public:
    explicit GraphDocument(QObject* parent = nullptr);

    clsLA& Engine() { return engine_; }
    const clsLA& Engine() const { return engine_; }
    clsGraph& Graph() { return engine_.Graph(); }
    const clsGraph& Graph() const { return engine_.Graph(); }
    QUndoStack& History() { return history_; }

    // The file's full path; empty while untitled.
    const QString& Path() const { return path_; }
    void SetPath(const QString& path) { path_ = path; }

    // Some change a save would keep lies between the saved state and now. A run and Reset can be
    // undone like edits, but as before they leave a document unmodified.
    bool Modified() const;

    // Applies the command and keeps it for undo. It was checked when made, so it cannot fail.
    void Do(DocumentCommand* command);

    // A new, untitled, unmodified document without history.
    void Clear();
    // Reads the file as a new document with the path; raises "'...' could not be loaded." and then
    // holds a new untitled document, so that no later save can go to that file.
    void Load(const QString& path);
    // Makes a graph imported from another program's file (GraphFormats::Import, which may take
    // long and so works apart) a new untitled document, modified until it is saved. `graph` is
    // left empty.
    void AdoptImported(clsGraph& graph);
    // Writes the document to the path (or to Path() when empty); raises "Error saving graph.".
    // Afterwards the document is unmodified and titled with the path.
    void Save(const QString& path = QString());

    // For the run, which changes probabilities and flags as it goes.
    void NotifyChanged() { emit Changed(); }

  signals:
    // The graph, the settings or the ranges changed: whatever shows them draws them again.
    void Changed();

  private:
    clsLA engine_;
    QString path_;
    QUndoStack history_;
};

// An edit that undo and redo restore exactly. Commands that only learn (a run, Reset) say so.
class DocumentCommand : public QUndoCommand {
  public:
    DocumentCommand(GraphDocument& document, const QString& name)
        : QUndoCommand(name), document_(document) {}
    virtual bool ChangesDocument() const { return true; }
    void redo() final;
    void undo() final;

  protected:
    virtual void Apply(bool forward) = 0;
    GraphDocument& document_;
};
