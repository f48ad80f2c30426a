#pragma once
// The main window: owns the engine and its graph, runs the document commands, the canvas with
// its editing tools, and the control of runs.

#include "CanvasWidget.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "clsLA.h"

#include <QFont>
#include <QMainWindow>
#include <QPointF>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QStatusBar;
class QToolBar;

namespace Tool {
constexpr int32_t Pointer = 0;
constexpr int32_t DragNode = 1; // the pointer while a node is being dragged
constexpr int32_t AddNode = 2;
constexpr int32_t Link = 3;
} // namespace Tool

class RunController;

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The document has changes that are not saved. The property, options and ranges dialogs set
    // it through the window.
    bool Modified = false;

    // Opens a document named on the command line, as Open does after its dialog. A file that
    // cannot be loaded is reported and leaves an empty untitled document.
    void OpenStartupDocument(const QString& path);

    // The title part of the caption: the file name without folder and extension, "Untitled"
    // for an empty path, "" for a path without any folder separator.
    static QString DocumentTitle(const QString& path);

    // State, for whoever needs to look (the tests above all).
    clsLA& Engine() { return LA; }
    int32_t GetCurrentTool() const { return CurrentTool; }
    int32_t GetNewLinkType() const { return NewLinkType; }
    int32_t GetSelectedNode() const { return SelectedNode; }
    int32_t GetSelectedLink() const { return SelectedLink; }
    bool IsWorking() const { return Working; }
    const QString& GetDocumentPath() const { return DocumentPath; }
    CanvasWidget* Canvas() const { return picCanvas; }

    void DrawObjects();
    RunController& Run() const { return *run_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbars();
    void BuildClientArea();

    // Document lifecycle.
    void CreateNewDocument();
    bool CloseDocument();
    bool SaveDocument(bool newFile); // false when cancelled or failed
    void OpenDocument();
    bool LoadDocument(const QString& path); // false after a failure, already reported
    QString GetDocumentTitle() const;
    void UpdateCaption();
    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuExit_Click();
    void mnuAbout_Click();

    // Layout and scrolling.
    void Form_Resize();
    void picPan_Resize();
    QPoint ScrollOffset() const;
    QPoint GetCursorPoint() const;

    // Tools and mouse.
    void StdToolbar_ButtonClick(QAction* button);
    void SetTool(int32_t tool);
    void picCanvas_MouseDown(QMouseEvent* event);
    void picCanvas_MouseMove(QMouseEvent* event);
    void picCanvas_MouseUp(QMouseEvent* event);
    void picCanvas_DblClick();
    void Form_KeyDown(int keyCode);
    void ShowSelectionProperties();
    void DeleteSelection();
    QPoint RubberBandStart() const;

    // Run control.
    void SetWorkingState(bool working);
    void StartRun();
    void RunEnded(const QString& failure, bool notFound);
    void EndRun();
    void ShowMessage(const std::string& text, MessageIcon icon);
    void ResetRun();
    void ControlToolbar_ButtonClick(QAction* button);

    // Runs a handler of a user action; an error it lets through is shown, never passed on to the
    // event loop.
    void Guarded(const std::function<void()>& handler);

    clsLA LA;
    clsGraph& Graph; // LA's graph, the same object for the window's whole life

    QString DocumentPath;
    int32_t SelectedNode = -1;
    int32_t SelectedLink = -1;
    int32_t CurrentTool = Tool::Pointer;
    int32_t NewLinkType = LinkKind::Simple;
    bool choosingTool_ = false; // SetTool presses and releases buttons itself
    bool Working = false;
    bool FirstMove = false;
    int32_t LastX = 0;
    int32_t LastY = 0;
    QPointF eventPosition_; // of the mouse event being handled, for GetCursorPoint

    QFont NodeFont;
    QFont LinkFont;
    Platform::FileDialog ComDlg;

    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuDelete = nullptr;
    QAction* mnuProperties = nullptr;
    QAction* mnuAbout = nullptr;

    QWidget* client = nullptr; // the window's client area below the menu bar
    QToolBar* StdToolbar = nullptr;
    QToolBar* ControlToolbar = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* statusPanel = nullptr;
    QLabel* pathsPanel = nullptr;
    QWidget* picPan = nullptr;
    CanvasWidget* picCanvas = nullptr;
    QScrollBar* HScroll = nullptr;
    QScrollBar* VScroll = nullptr;

    bool busy_ = false; // a run without step delay shows the busy pointer over the canvas

    // The reused dialog objects.
    struct Dialogs;
    std::unique_ptr<Dialogs> dialogs_;
    RunController* run_; // a child of the window
};
