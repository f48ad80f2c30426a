#include "frmMain.h"

#include "DrawObjects.h"
#include "EditCommands.h"
#include "GraphFormats.h"
#include "GraphPicture.h"
#include "Latin1Text.h"
#include "LearningCurvePanel.h"
#include "MessageBox.h"
#include "PathloomError.h"
#include "Resources.h"
#include "RunController.h"
#include "frmAbout.h"
#include "frmLinkProperties.h"
#include "frmNodeProperties.h"
#include "frmOptions.h"
#include "frmSamplePaths.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QShortcut>
#include <QStatusBar>

namespace {

const QString WorkingRefusal =
    "Program already is working. Please stop current operation and then try to close.";
constexpr QSize StartClientSize(604, 476);

} // namespace

struct frmMain::Dialogs {
    frmOptions Options;
    frmSamplePaths SamplePaths;
    frmNodeProperties NodeProperties;
    frmLinkProperties LinkProperties;
    frmAbout About;
};

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), bars_(WindowBars::Build(*this)),
      panel_(new CanvasPanel(this)), context_{document_,
                                              *panel_,
                                              selection_,
                                              this,
                                              [this] { DrawObjects(); },
                                              [this](int32_t tool) { SetTool(tool); }},
      pointer_(context_), addNode_(context_), link_(context_),
      run_(new RunController(Engine(), this)), curve_(new LearningCurvePanel(this)),
      documents_(document_, this, [this] { ShowFreshDocument(); }), files_(document_, this),
      dialogs_(std::make_unique<Dialogs>()) {
    setObjectName("frmMain");
    setWindowIcon(Resources::AppIcon());
    setCentralWidget(panel_);
    // Hidden until asked for, so that the window opens as it always has.
    addDockWidget(Qt::RightDockWidgetArea, curve_);
    curve_->hide();
    bars_.mnuView->addSeparator();
    bars_.mnuView->addAction(curve_->toggleViewAction());
    ConnectBars();
    ConnectCanvas();

    // Start-up: the idle state with the run control disabled, the fonts, and a new document.
    SetWorkingState(false);
    NodeFont = Canvas::MakeNodeFont();
    LinkFont = Canvas::MakeLinkFont();
    documents_.CreateNewDocument();

    // The client area starts at 604 x 476 below the menu bar; smaller than its toolbars' width
    // or with no room left for the canvas, nothing would fit.
    resize(StartClientSize.width(), StartClientSize.height() + menuBar()->sizeHint().height());
    setMinimumSize(bars_.StdToolbar->sizeHint().width(),
                   menuBar()->sizeHint().height() + 36 + 28 + 21 + 80);
}

frmMain::~frmMain() = default;

void frmMain::ConnectBars() {
    const auto on = [this](QAction* action, std::function<void()> handler) {
        connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
    };
    on(bars_.mnuNew, [this] {
        if (!Working && documents_.CloseDocument()) // the run needs the graph it started with
            documents_.CreateNewDocument();
    });
    on(bars_.mnuOpen, [this] {
        if (!Working && documents_.CloseDocument())
            documents_.OpenDocument();
    });
    on(bars_.mnuSave, [this] { documents_.SaveDocument(false); });
    on(bars_.mnuSaveAs, [this] { documents_.SaveDocument(true); });
    on(bars_.mnuImport, [this] {
        if (!Working && documents_.CloseDocument() && files_.Import())
            ShowImportedDocument();
    });
    on(bars_.mnuExport, [this] { files_.Export(panel_->Zoom()); });
    on(bars_.mnuLayout, [this] {
        if (!Working)
            files_.Layout();
    });
    on(bars_.mnuExit, [this] { close(); });
    on(bars_.mnuUndo, [this] {
        if (!Working)
            document_.History().undo();
    });
    on(bars_.mnuRedo, [this] {
        if (!Working)
            document_.History().redo();
    });
    on(bars_.mnuDelete, [this] { DeleteSelection(); });
    on(bars_.mnuProperties, [this] { ShowSelectionProperties(); });
    on(bars_.mnuZoomIn, [this] { panel_->ZoomIn(); });
    on(bars_.mnuZoomOut, [this] { panel_->ZoomOut(); });
    on(bars_.mnuActualSize, [this] { panel_->ActualSize(); });
    on(bars_.mnuFitGraph, [this] { panel_->Fit(Canvas::GraphBounds(document_.Graph())); });
    on(bars_.mnuSamplePaths, [this] { StartSampling(); });
    on(bars_.mnuAbout, [this] { dialogs_->About.ShowDialog(this); });
    QUndoStack& history = document_.History();
    for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&history, signal, this, [this] { UpdateHistoryActions(); });
    connect(&history, &QUndoStack::undoTextChanged, this, [this] { UpdateHistoryActions(); });
    connect(&history, &QUndoStack::redoTextChanged, this, [this] { UpdateHistoryActions(); });

    for (QAction* action : bars_.StdToolbar->actions()) {
        if (!action->isCheckable())
            continue;
        // A tool follows its button's pressed state, however the button was pressed: by the
        // mouse, by a key, or by a screen reader's toggle action.
        connect(action, &QAction::toggled, this, [this, action](bool) {
            if (!choosingTool_)
                Guarded([=] { StdToolbar_ButtonClick(action); });
        });
    }
    // The buttons' own signal, so that the Run menu's items press them too.
    for (QAction* button : bars_.StdToolbar->actions()) {
        if (!button->isCheckable())
            on(button, [=] { StdToolbar_ButtonClick(button); });
    }
    for (QAction* button : bars_.ControlToolbar->actions()) {
        connect(button, &QAction::triggered, this, [this, button] {
            if (button->objectName() == "Forward")
                run_->Forward();
            else
                run_->Stop();
        });
    }
    connect(run_, &RunController::Redraw, this, [this] { DrawObjects(); });
    connect(run_, &RunController::Progress, this, [this] { ShowRunProgress(); });
    connect(run_, &RunController::Ended, this, &frmMain::RunEnded);
}

void frmMain::ConnectCanvas() {
    CanvasWidget* canvas = panel_->Canvas();
    connect(&document_, &GraphDocument::Changed, this, [this] {
        KeepSelectionInGraph();
        DrawObjects();
    });
    connect(panel_, &CanvasPanel::ViewChanged, this, [this] { DrawObjects(); });
    connect(canvas, &CanvasWidget::Resized, this, [this] { DrawObjects(); });
    // The canvas ignores the mouse while a run works.
    connect(canvas, &CanvasWidget::MouseDown, this, [this](QMouseEvent* e) {
        if (!Working && e->button() == Qt::LeftButton)
            Guarded([=] { CurrentEditingTool()->Press(e->position()); });
    });
    connect(canvas, &CanvasWidget::MouseMove, this, [this](QMouseEvent* e) {
        if (!Working && e->buttons() == Qt::LeftButton)
            Guarded([=] { CurrentEditingTool()->Move(e->position()); });
    });
    connect(canvas, &CanvasWidget::MouseUp, this,
            [this](QMouseEvent* e) { Guarded([=] { picCanvas_MouseUp(e); }); });
    connect(canvas, &CanvasWidget::DblClick, this,
            [this] { Guarded([this] { ShowSelectionProperties(); }); });

    // The window sees Escape before any of its controls; a link drag keeps its tool.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (CurrentTool != Tool::Link)
            Guarded([this] { SetTool(Tool::Pointer); });
    });
    // The Delete key does what Edit > Delete does (the menu item keeps no key of its own).
    auto* deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), this);
    connect(deleteKey, &QShortcut::activated, this,
            [this] { Guarded([this] { DeleteSelection(); }); });
}

void frmMain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const PathloomError& e) {
        Platform::ShowMessage(this, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
    } catch (const std::exception& e) {
        Platform::ShowMessage(this, Platform::FromMessageText(e.what()), MessageIcon::Critical);
    }
}

// ---- Document lifecycle ----

void frmMain::ShowFreshDocument() {
    curve_->Clear();
    selection_ = Selection();
    panel_->Reset();
    documents_.UpdateCaption();
    SetTool(Tool::Pointer);
    DrawObjects();
}

void frmMain::UpdateHistoryActions() {
    const QUndoStack& history = document_.History();
    bars_.mnuUndo->setText(history.canUndo() ? "&Undo " + history.undoText() : "&Undo");
    bars_.mnuRedo->setText(history.canRedo() ? "&Redo " + history.redoText() : "&Redo");
    // Undo is refused while a run works, like the other edits.
    bars_.mnuUndo->setEnabled(history.canUndo() && !Working);
    bars_.mnuRedo->setEnabled(history.canRedo() && !Working);
}

void frmMain::ShowImportedDocument() {
    ShowFreshDocument();
    panel_->Fit(Canvas::GraphBounds(document_.Graph()));
}

void frmMain::OpenStartupDocument(const QString& path) {
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    if (GraphFormats::FormatOfFileName(Platform::ToFileName(fullPath))) {
        if (files_.ImportFile(fullPath))
            ShowImportedDocument();
        return;
    }
    documents_.OfferFileName(fullPath);
    documents_.LoadDocument(fullPath);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (Working) {
        Platform::ShowMessage(this, WorkingRefusal, MessageIcon::Exclamation);
        event->ignore();
        return;
    }
    if (documents_.CloseDocument())
        event->accept();
    else
        event->ignore();
}

void frmMain::DrawObjects() {
    Canvas::View view;
    view.SelectedNode = selection_.Node;
    view.SelectedLink = selection_.Link;
    view.Working = Working;
    view.Scroll = panel_->Scroll();
    view.Zoom = panel_->Zoom();
    view.DevicePixelRatio = devicePixelRatioF();
    CanvasWidget* canvas = panel_->Canvas();
    canvas->SetImage(
        Canvas::DrawObjects(document_.Graph(), view, canvas->size(), NodeFont, LinkFont));
}

// ---- Tools, mouse and selection ----

void frmMain::StdToolbar_ButtonClick(QAction* button) {
    const QString key = button->objectName();
    const QStringList linkKeys = {"SimpleLink", "UnidirectionalLink", "BidirectionalLink"};
    if (key == "Pointer") {
        SetTool(Tool::Pointer);
    } else if (key == "AddNode") {
        SetTool(Tool::AddNode);
    } else if (key == "Delete") {
        DeleteSelection();
    } else if (linkKeys.contains(key)) {
        context_.linkKind = static_cast<int32_t>(linkKeys.indexOf(key));
        SetTool(Tool::Link);
    } else if (key == "Start") {
        StartRun();
    } else if (key == "Reset") {
        ResetRun();
    }
}

void frmMain::SetTool(int32_t tool) {
    if (CurrentTool == Tool::DragNode && tool != Tool::DragNode)
        pointer_.FinishDrag();
    choosingTool_ = true;
    const auto done = qScopeGuard([this] { choosingTool_ = false; });
    for (QAction* button : bars_.StdToolbar->actions())
        button->setChecked(false);
    static const char* const linkButtons[] = {"SimpleLink", "UnidirectionalLink",
                                              "BidirectionalLink"};
    const char* pressed = tool == Tool::AddNode ? "AddNode"
                          : tool == Tool::Link  ? linkButtons[std::clamp(context_.linkKind, 0, 2)]
                                                : "Pointer";
    if (tool < Tool::Pointer || tool > Tool::Link)
        return;
    CurrentTool = tool;
    bars_.StdToolbar->findChild<QAction*>(pressed)->setChecked(true);
    const int cursor = tool == Tool::AddNode ? Resources::AddNodeCursor
                       : tool == Tool::Link  ? Resources::LinkCursor
                                             : Resources::PointerCursor;
    if (!busy_) // a run's busy pointer stays until the run ends
        panel_->Canvas()->setCursor(Resources::ToolCursor(cursor));
}

EditingTool* frmMain::CurrentEditingTool() {
    switch (CurrentTool) {
    case Tool::AddNode:
        return &addNode_;
    case Tool::Link:
        return &link_;
    default:
        return &pointer_;
    }
}

void frmMain::picCanvas_MouseUp(QMouseEvent* event) {
    if (Working)
        return;
    if (event->button() == Qt::LeftButton) {
        CurrentEditingTool()->Release(event->position());
    } else if (event->button() == Qt::RightButton && CurrentTool == Tool::Pointer) {
        const QPoint pt = panel_->ToDocument(event->position());
        const clsGraph& graph = document_.Graph();
        selection_.Node = graph.GetNodeIndexFromPoint(pt.x(), pt.y());
        selection_.Link = selection_.Node < 0 ? graph.GetLinkIndexFromPoint(pt.x(), pt.y()) : -1;
        DrawObjects();
        if (selection_.Node >= 1 || selection_.Link >= 1)
            bars_.contextMenu->popup(panel_->Canvas()->mapToGlobal(event->position().toPoint()));
    }
}

void frmMain::ShowSelectionProperties() {
    if (Working || CurrentTool != Tool::Pointer)
        return;
    clsGraph& graph = document_.Graph();
    if (selection_.Node >= 1) {
        const clsNode& node = graph.Node(selection_.Node);
        if (const auto label = dialogs_->NodeProperties.ShowDialog(this, node.Label(),
                                                                   node.InDegree, node.OutDegree))
            document_.Do(new RenameNodeCommand(document_, selection_.Node, *label));
    } else if (selection_.Link >= 1) {
        const clsLink& link = graph.Link(selection_.Link);
        if (const auto values = dialogs_->LinkProperties.ShowDialog(
                this, link.Weight, link.Probability, link.LinkType))
            document_.Do(new LinkValuesCommand(document_, selection_.Link, values->weight,
                                               values->probability));
    }
}

void frmMain::DeleteSelection() {
    if (Working)
        return;
    // The link first: after a link drag both may be selected.
    if (selection_.Link >= 1) {
        const int32_t link = std::exchange(selection_.Link, -1);
        document_.Do(DeleteCommand::Link(document_, link));
    } else if (selection_.Node >= 1) {
        const int32_t node = std::exchange(selection_.Node, -1);
        document_.Do(DeleteCommand::Node(document_, node));
    }
}

void frmMain::KeepSelectionInGraph() {
    if (selection_.Node > document_.Graph().NodeCount())
        selection_.Node = -1;
    if (selection_.Link > document_.Graph().LinkCount())
        selection_.Link = -1;
}

// ---- Run control ----

void frmMain::StartRun() {
    SetWorkingState(true);
    const frmOptions::Result options =
        dialogs_->Options.ShowDialog(this, Engine().Settings, document_.Graph(), Engine().Ranges());
    if (options.settings || options.ranges)
        document_.Do(new SettingsCommand(document_, options.settings, options.ranges));
    if (!options.settings) {
        EndRun();
        return;
    }
    RunWith(Engine().Settings);
}

void frmMain::StartSampling() {
    if (Working)
        return;
    const std::optional<RunSettings> settings =
        dialogs_->SamplePaths.ShowDialog(this, Engine().Settings, document_.Graph());
    if (!settings)
        return;
    SetWorkingState(true);
    RunWith(*settings);
}

void frmMain::RunWith(const RunSettings& settings) {
    // Over the canvas only: the run-control buttons stay usable during a run.
    if (!settings.EnableDelay) {
        busy_ = true;
        panel_->Canvas()->setCursor(Qt::WaitCursor);
    }
    beforeRun_ = ProbabilitiesCommand::Of(document_.Graph());
    run_->Start(settings);
    // The curve follows the selected node, else the run's source.
    const int32_t watched = selection_.Node >= 1 ? selection_.Node : settings.sourceNode;
    run_->Session()->AddObserver(curve_->BeginRun(
        document_.Graph(), watched, settings.GraphSearchMethod == SearchMethod::Sample));
}

void frmMain::ShowRunProgress() {
    const RunSession& session = *run_->Session();
    if (session.Settings().GraphSearchMethod != SearchMethod::Sample) {
        bars_.pathsPanel->setText(QString("Paths found: %1").arg(session.PathCount()));
        return;
    }
    const bool found = !session.BestPath().empty();
    bars_.pathsPanel->setText(
        QString("Samples: %1   Dead ends: %2   Best cost: %3   P(best path): %4")
            .arg(session.Samples())
            .arg(session.DeadEnds())
            .arg(found ? QLocale().toString(session.BestCost()) : "-")
            .arg(found ? QLocale().toString(session.BestProbability(), 'g', 6) : "-"));
}

void frmMain::RunEnded(const QString& failure, bool notFound) {
    if (!failure.isEmpty()) {
        DrawObjects(); // the path the run failed on stays flagged
        Platform::ShowMessage(this, failure, MessageIcon::Critical);
    }
    if (notFound) {
        DrawObjects();
        Platform::ShowMessage(this, "Not found any path.", MessageIcon::Information);
    }
    curve_->EndRun();
    // What the run learned, as one step that undo takes back.
    document_.Do(new ProbabilitiesCommand(document_, "Run", std::move(beforeRun_)));
    EndRun();
}

void frmMain::EndRun() {
    busy_ = false;
    SetTool(CurrentTool);
    SetWorkingState(false);
    DrawObjects();
}

void frmMain::ResetRun() {
    curve_->Clear();
    std::vector<float> before = ProbabilitiesCommand::Of(document_.Graph());
    document_.Graph().RestoreProbabilities();
    document_.Graph().ResetFlags();
    document_.Do(new ProbabilitiesCommand(document_, "Reset", std::move(before)));
}

void frmMain::SetWorkingState(bool working) {
    for (QAction* button : bars_.StdToolbar->actions())
        button->setEnabled(!working);
    for (QAction* button : bars_.ControlToolbar->actions())
        button->setEnabled(working);
    bars_.statusPanel->setText(working ? "Working..." : "Ready");
    // The run needs the graph unchanged until it ends.
    for (QAction* action :
         {bars_.mnuNew, bars_.mnuOpen, bars_.mnuDelete, bars_.mnuProperties, bars_.mnuSamplePaths})
        action->setEnabled(!working);
    Working = working;
    UpdateHistoryActions();
    if (!working)
        bars_.pathsPanel->clear();
}
