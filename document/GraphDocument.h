#pragma once
// The open document: the engine with its graph, ranges and run settings, the file it came from,
// its run and the history of its edits. It is their only writer: others read them through const
// views and change them by commands, and one signal tells whoever shows them that they changed.

#include "clsLA.h"

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DocumentCommand;

class GraphDocument : public QObject {
    Q_OBJECT
  public:
    explicit GraphDocument(QObject* parent = nullptr);
    ~GraphDocument() override;

    const clsGraph& Graph() const { return engine_.Graph(); }
    const RunSettings& Settings() const { return engine_.Settings; }
    const clsRanges& Ranges() const { return engine_.Ranges(); }
    // The names and the state of Undo and Redo; Undo() and Redo() take the steps.
    const QUndoStack& History() const { return history_; }

    // The file's full path; empty while untitled.
    const QString& Path() const { return path_; }
    void SetPath(const QString& path) { path_ = path; }

    // Some change a save would keep lies between the saved state and now. A run and Reset can be
    // undone like edits, but as before they leave a document unmodified.
    bool Modified() const;

    // Applies the command and keeps it for undo. It was checked when made, so it cannot fail.
    void Do(DocumentCommand* command);
    void Undo() { history_.undo(); }
    void Redo() { history_.redo(); }
    // A number for one gesture of the user (a drag), whose moves make one step.
    int NewGesture() { return ++lastGesture_; }

    // A new, untitled, unmodified document without history.
    void Clear();
    // Reads the file as a new document with the path; raises "'...' could not be loaded." and then
    // holds a new untitled document, so that no later save can go to that file.
    void Load(const QString& path);
    // Makes a graph imported from another program's file (GraphFormats::Import, which may take
    // long and so works apart) a new untitled document, modified until it is saved, with the
    // learning settings of GraphDefaults. `graph` is left empty.
    void AdoptImported(clsGraph& graph);
    // Writes the document to the path (or to Path() when empty); raises "Error saving graph.".
    // Afterwards the document is unmodified and titled with the path.
    void Save(const QString& path = QString());

    // A run of these settings, one at a time, works apart on the copy of the engine made here
    // (graph, ranges and the settings). The graph must stay as it is until the run ends:
    // ShowRun writes into it what the run has learned and the path it shows, and EndRun records
    // what it learned as the one undo step "Run".
    std::unique_ptr<clsLA> BeginRun(const RunSettings& settings);
    // By 0-based link position: each link's probability and whether it is on the path shown.
    void ShowRun(const std::vector<float>& probabilities, const std::vector<bool>& flags);
    void EndRun();

  signals:
    // The graph, the settings or the ranges changed: whatever shows them draws them again.
    void Changed();
    // Modified() has a new answer: the window's title shows it.
    void ModifiedChanged(bool modified);

  private:
    friend class DocumentCommand;
    // The newest applied command that changes the document, 0 for none: equal contents have
    // equal states, whatever runs or Resets lie between them or were undone and replaced.
    int64_t ContentState() const;
    // Tells ModifiedChanged when Modified() gives another answer than it last told.
    void AnnounceModified();

    clsLA engine_;
    QString path_;
    QUndoStack history_;
    std::vector<float> beforeRun_;
    int64_t nextSerial_ = 0;
    int lastGesture_ = 0;
    int64_t savedState_ = 0; // the ContentState of the file; -1 when nothing is saved yet
    bool announcedModified_ = false;
};

// An edit that undo and redo restore exactly. Commands that only learn (a run, Reset) say so.
// Commands alone write into the document.
class DocumentCommand : public QUndoCommand {
  public:
    DocumentCommand(GraphDocument& document, const QString& name);
    virtual bool ChangesDocument() const { return true; }
    int64_t Serial() const { return serial_; }
    void redo() final;
    void undo() final;

  protected:
    virtual void Apply(bool forward) = 0;
    const GraphDocument& Document() const { return document_; }
    clsLA& Engine() { return document_.engine_; }
    clsGraph& Graph() { return document_.engine_.Graph(); }

  private:
    GraphDocument& document_;
    int64_t serial_;
};
