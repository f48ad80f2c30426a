#pragma once
// The main window: wiring. Its commands, tools and docks are tables that tie each action to what
// it does and to whether a run allows it; the bars are built by WindowBars, documents are opened
// and saved by DocumentFiles, the tools are EditingTools, a run is the document's and works on
// the thread of RunController.

#include "AnimationExport.h"
#include "BackgroundWork.h"
#include "CanvasNodes.h"
#include "CanvasPanel.h"
#include "DocumentFiles.h"
#include "EditActions.h"
#include "EditingTools.h"
#include "GraphDocument.h"
#include "GraphFiles.h"
#include "WindowBars.h"

#include <QFont>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

struct RunSnapshot;
class LearningCurvePanel;
class OverviewWidget;
class PropertiesPanel;
class ExperimentPanel;
class RecentFiles;
class RunController;

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Opens a document named on the command line, as Open, Open Recent and a drop on the window
    // do (a graph file of another program is imported, and shown fitted into the window). A file
    // that cannot be loaded is reported and leaves an empty untitled document.
    void OpenStartupDocument(const QString& path);

    // The program's window opens as the user left it (size, place, docks), else at first sight
    // larger, with its workbench docks shown, and remembers how it is left when it closes. A
    // window made without this keeps the size it has always had and remembers nothing.
    void RestorePlacement();

    // The canvas again: the graph, the selection and the run's path as they are now.
    void DrawObjects();

    // Whether a run works, from the press of Start until the run has ended: the one answer the
    // menus, the toolbars, the canvas and closing go by.
    bool IsWorking() const { return working_; }

    // State, for whoever needs to look (the tests above all).
    GraphDocument& Document() { return document_; }
    bool Modified() const { return document_.Modified(); }
    int32_t GetCurrentTool() const { return CurrentTool; }
    int32_t GetSelectedNode() const { return selection_.Node; }
    int32_t GetSelectedLink() const { return selection_.Link; }
    const Selection& GetSelection() const { return selection_; }
    CanvasPanel& Panel() const { return *panel_; }
    CanvasWidget* Canvas() const { return panel_->Canvas(); }
    RunController& Run() const { return *run_; }
    LearningCurvePanel& Curve() const { return *curve_; }
    PropertiesPanel& Properties() const { return *properties_; }
    ExperimentPanel& Experiment() const { return *experiment_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What an action does while a run works: no command looks available and does nothing.
    enum class WhileRunning {
        Works,  // as at any time
        Greyed, // nothing, and it is greyed out
        Only,   // greyed out when no run works
    };
    struct Command {
        QAction* action;
        WhileRunning whileRunning;
        std::function<void()> handler;
    };
    // A tool: its button, its editing tool, its pointer and its hint in the status bar. The link
    // tools differ in kind only.
    struct ToolEntry {
        QAction* button;
        int32_t tool;
        int32_t linkKind;
        EditingTool* editor;
        int cursor;
        const char* hint;
    };

    void RegisterCommands();
    void RegisterTools();
    void RegisterDocks();
    // A dock beside the canvas gives way when the window shrinks.
    void KeepDockYielding(QDockWidget* dock);
    // A document too large for the canvas at 100% opens fitted into it.
    void FitIfTooLarge();
    void ConnectCanvas();

    // The document just made, opened or imported, shown from the start: no selection, no curves,
    // the view at 100% from the top left.
    void ShowFreshDocument();
    // Imports the graph file and shows it fitted into the view.
    void ImportGraph(const QString& path);
    void OpenRecent(const QString& path);
    void UpdateHistoryActions();

    // Tools, mouse and selection.
    const ToolEntry& EntryOf(int32_t tool) const;
    void SetTool(int32_t tool);
    void picCanvas_MouseUp(QMouseEvent* event);
    // The menu of what is selected (a node also offers the run's ends), else of empty space, at
    // the canvas point.
    void ShowContextMenu(QPoint at);
    // Where the Menu key shows it: at the selected node or link, else mid-canvas.
    QPoint SelectionPoint() const;
    void ShowSelectionProperties();
    // Ctrl+V pastes at the pointer; Paste in the menu near what was copied.
    std::optional<QPointF> PasteAt();

    // Run control.
    void SetWorkingState(bool working);
    // Options on the document's settings; what OK gives is one undo step. False after Cancel.
    bool AskOptions();
    void StartRun();
    void StartSampling();
    void RunWith(const RunSettings& settings);
    void ShowRunProgress();
    // The last run's figures stay in the status bar and on its curve until the next edit or run.
    void ClearRunFigures();
    // A stochastic run's preferred path, its probability and whether it is the shortest in
    // expectation, as the status bar and the run's summary name it.
    static QString PreferredPathText(const RunSnapshot& run);
    void RunEnded(const QString& failure, bool notFound);
    void EndRun();
    void ResetRun();

    // Runs a handler of a user action; an error it lets through is shown, never passed on to the
    // event loop.
    void Guarded(const std::function<void()>& handler);

    GraphDocument document_;
    Selection selection_;
    int32_t CurrentTool = Tool::Pointer;
    bool working_ = false;
    bool busy_ = false; // a run without step delay shows the busy pointer over the canvas
    // The preferred path of the run shown last (one-based links), drawn when View > Preferred Path
    // is checked, until the next edit.
    std::vector<int32_t> preferredLinks_;
    // The settings of the run started last on this document, for File > Export Run Animation...
    std::optional<RunSettings> lastRun_;
    bool choosingTool_ = false; // SetTool presses and releases buttons itself
    bool pasteByKey_ = false;   // the paste going on was asked for by its key
    QPoint contextPoint_;       // where the last context menu opened, on the canvas

    QFont NodeFont;
    QFont LinkFont;
    WindowBars bars_;
    RecentFiles* recent_;
    CanvasPanel* panel_;
    ToolContext context_;
    BackgroundWork work_; // imports, layouts and pastes; outlives them, ending cancelled work
    EditActions edits_;
    PointerTool pointer_;
    AddNodeTool addNode_;
    LinkTool link_;
    CanvasNodes nodes_;
    RunController* run_;
    LearningCurvePanel* curve_;
    QDockWidget* overview_;
    OverviewWidget* overviewView_;
    PropertiesPanel* properties_;
    ExperimentPanel* experiment_;
    std::vector<QDockWidget*> docks_;
    bool remembersPlacement_ = false;
    DocumentFiles documents_;
    GraphFiles files_;
    AnimationExport animation_;
    std::vector<Command> commands_;
    std::vector<ToolEntry> tools_;

    // The reused dialog objects.
    struct Dialogs;
    std::unique_ptr<Dialogs> dialogs_;
};
