#pragma once
// The main window: the open document and its commands, the canvas with its editing tools and
// view, and the start and end of runs. The bars are built by WindowBars, documents are opened and
// saved by DocumentFiles, the tools are EditingTools, a run is stepped by RunController.

#include "CanvasPanel.h"
#include "DocumentFiles.h"
#include "EditingTools.h"
#include "GraphDocument.h"
#include "GraphFiles.h"
#include "WindowBars.h"

#include <QFont>
#include <QMainWindow>
#include <functional>
#include <memory>

class LearningCurvePanel;
class RunController;

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Opens a document named on the command line, as Open does after its dialog (a graph file of
    // another program is imported). A file that cannot be loaded is reported and leaves an empty
    // untitled document.
    void OpenStartupDocument(const QString& path);

    // The canvas again: the graph, the selection and the run's path as they are now.
    void DrawObjects();

    // State, for whoever needs to look (the tests above all).
    GraphDocument& Document() { return document_; }
    clsLA& Engine() { return document_.Engine(); }
    bool Modified() const { return document_.Modified(); }
    int32_t GetCurrentTool() const { return CurrentTool; }
    int32_t GetNewLinkType() const { return context_.linkKind; }
    int32_t GetSelectedNode() const { return selection_.Node; }
    int32_t GetSelectedLink() const { return selection_.Link; }
    bool IsWorking() const { return Working; }
    const QString& GetDocumentPath() const { return document_.Path(); }
    CanvasPanel& Panel() const { return *panel_; }
    CanvasWidget* Canvas() const { return panel_->Canvas(); }
    RunController& Run() const { return *run_; }
    LearningCurvePanel& Curve() const { return *curve_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ConnectBars();
    void ConnectCanvas();

    // The document just made, opened or imported, shown from the start: no selection, no curves,
    // the view at 100% from the top left.
    void ShowFreshDocument();
    // The same for an imported graph, fitted into the view.
    void ShowImportedDocument();
    void UpdateHistoryActions();

    // Tools, mouse and selection.
    void StdToolbar_ButtonClick(QAction* button);
    void SetTool(int32_t tool);
    EditingTool* CurrentEditingTool();
    void picCanvas_MouseUp(QMouseEvent* event);
    void ShowSelectionProperties();
    void DeleteSelection();
    void KeepSelectionInGraph();

    // Run control.
    void SetWorkingState(bool working);
    void StartRun();
    void StartSampling();
    void RunWith(const RunSettings& settings);
    void ShowRunProgress();
    void RunEnded(const QString& failure, bool notFound);
    void EndRun();
    void ResetRun();

    // Runs a handler of a user action; an error it lets through is shown, never passed on to the
    // event loop.
    void Guarded(const std::function<void()>& handler);

    GraphDocument document_;
    Selection selection_;
    int32_t CurrentTool = Tool::Pointer;
    bool Working = false;
    bool busy_ = false;         // a run without step delay shows the busy pointer over the canvas
    bool choosingTool_ = false; // SetTool presses and releases buttons itself
    std::vector<float> beforeRun_;

    QFont NodeFont;
    QFont LinkFont;
    WindowBars bars_;
    CanvasPanel* panel_;
    ToolContext context_;
    PointerTool pointer_;
    AddNodeTool addNode_;
    LinkTool link_;
    RunController* run_;
    LearningCurvePanel* curve_;
    DocumentFiles documents_;
    GraphFiles files_;

    // The reused dialog objects.
    struct Dialogs;
    std::unique_ptr<Dialogs> dialogs_;
};
