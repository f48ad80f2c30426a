#include "frmMain.h"

#include "Choices.h"
#include "DrawObjects.h"
#include "EditCommands.h"
#include "ExperimentPanel.h"
#include "GraphFormats.h"
#include "GraphPicture.h"
#include "Latin1Text.h"
#include "LearningCurvePanel.h"
#include "MessageBox.h"
#include "Overview.h"
#include "PathloomError.h"
#include "PropertiesPanel.h"
#include "RecentFiles.h"
#include "Resources.h"
#include "RunController.h"
#include "SettingRegistry.h"
#include "ThreadPriority.h"
#include "WindowPlacement.h"
#include "frmAbout.h"
#include "frmFind.h"
#include "frmLinkProperties.h"
#include "frmNodeProperties.h"
#include "frmOptions.h"
#include "frmSamplePaths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDockWidget>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QUrl>
#include <cmath>
#include <set>

namespace {

const QString WorkingRefusal =
    "Program already is working. Please stop current operation and then try to close.";
constexpr QSize StartClientSize(604, 476);
// View > Source and Destination, as the user left it.
const char* const RunEndsKey = "View/SourceAndDestination";

} // namespace

struct frmMain::Dialogs {
    frmOptions Options;
    frmSamplePaths SamplePaths;
    frmNodeProperties NodeProperties;
    frmLinkProperties LinkProperties;
    frmAbout About;
    frmFind Find;
};

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), bars_(WindowBars::Build(*this)),
      recent_(new RecentFiles(bars_.mnuOpenRecent, this)),
      panel_(new CanvasPanel(this)), context_{document_,
                                              *panel_,
                                              selection_,
                                              this,
                                              [this] { DrawObjects(); },
                                              [this](int32_t tool) { SetTool(tool); }},
      work_(this), edits_(context_, work_), pointer_(context_), addNode_(context_), link_(context_),
      nodes_(context_), run_(new RunController(document_, this)),
      curve_(new LearningCurvePanel(this)), overview_(new QDockWidget("Overview", this)),
      overviewView_(new OverviewWidget(document_.Graph(), *panel_, overview_)),
      properties_(new PropertiesPanel(document_, this)),
      experiment_(new ExperimentPanel(document_, this)),
      documents_(
          document_, this, [this] { ShowFreshDocument(); },
          [this](const QString& path) { recent_->Add(path); }),
      files_(document_, this, work_), animation_(this), dialogs_(std::make_unique<Dialogs>()) {
    setObjectName("frmMain");
    Platform::AnswerPromptly(); // beside the run's thread and other programs
    setWindowIcon(Resources::AppIcon());
    setCentralWidget(panel_);
    setAcceptDrops(true);
    RegisterDocks();
    RegisterCommands();
    RegisterTools();
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

// The run's thread ends before the history it writes goes with the curve's panel.
frmMain::~frmMain() {
    delete run_;
}

void frmMain::RegisterDocks() {
    struct Dock {
        QDockWidget* dock;
        Qt::DockWidgetArea area;
        int width; // when shown, as far as half the window's width allows
    };
    overview_->setObjectName("Overview");
    overview_->setWidget(overviewView_);
    overview_->toggleViewAction()->setObjectName("mnuOverview");
    overview_->toggleViewAction()->setText("O&verview");
    bars_.mnuView->addSeparator();
    for (const Dock& d : {Dock{experiment_, Qt::LeftDockWidgetArea, 250},
                          Dock{properties_, Qt::RightDockWidgetArea, 250},
                          Dock{curve_, Qt::RightDockWidgetArea, 340},
                          Dock{overview_, Qt::RightDockWidgetArea, 220}}) {
        addDockWidget(d.area, d.dock);
        d.dock->hide(); // until asked for, so that the window opens as it always has
        docks_.push_back(d.dock);
        bars_.mnuView->addAction(d.dock->toggleViewAction());
        connect(d.dock->toggleViewAction(), &QAction::triggered, this, [this, d](bool shown) {
            if (!shown || d.dock->isFloating())
                return;
            resizeDocks({d.dock}, {d.width}, Qt::Horizontal);
            KeepDockYielding(d.dock);
        });
        // What is typed into a dock's field is the field's: the window's arrow and Delete keys
        // act on the canvas only.
        d.dock->installEventFilter(this);
    }
    experiment_->Connect(bars_.Start, bars_.Forward, bars_.Stop);
    connect(experiment_, &ExperimentPanel::RunRequested, this, [this](const RunSettings& settings) {
        SetWorkingState(true);
        RunWith(settings);
    });
}

void frmMain::RestorePlacement() {
    WindowPlacement::Restore(*this, {experiment_, properties_});
    remembersPlacement_ = true;
}

void frmMain::RegisterCommands() {
    using W = WhileRunning;
    const WindowBars& b = bars_;
    commands_ = {
        {b.mnuNew, W::Greyed,
         [this] {
             if (documents_.CloseDocument())
                 documents_.CreateNewDocument();
         }},
        {b.mnuOpen, W::Greyed,
         [this] {
             if (!documents_.CloseDocument())
                 return;
             if (const std::optional<QString> path = documents_.ChooseOpen())
                 OpenStartupDocument(*path);
         }},
        {b.mnuOpenRecent->menuAction(), W::Greyed, [] {}}, // its items call OpenRecent
        {b.mnuSave, W::Works, [this] { documents_.SaveDocument(false); }},
        {b.mnuSaveAs, W::Works, [this] { documents_.SaveDocument(true); }},
        {b.mnuImport, W::Greyed,
         [this] {
             if (!documents_.CloseDocument())
                 return;
             if (const std::optional<QString> path = files_.ChooseImport())
                 ImportGraph(*path);
         }},
        {b.mnuExport, W::Works, [this] { files_.Export(panel_->Zoom()); }},
        {b.mnuExportAnimation, W::Greyed,
         [this] { animation_.Export(document_, lastRun_.value_or(document_.Settings())); }},
        {b.mnuExit, W::Works, [this] { close(); }},
        {b.mnuUndo, W::Greyed, [this] { document_.Undo(); }},
        {b.mnuRedo, W::Greyed, [this] { document_.Redo(); }},
        {b.mnuCut, W::Greyed, [this] { edits_.Cut(); }},
        {b.mnuCopy, W::Works, [this] { edits_.Copy(); }},
        {b.mnuPaste, W::Greyed, [this] { edits_.Paste(PasteAt()); }},
        {b.mnuDelete, W::Greyed, [this] { edits_.Delete(); }},
        {b.mnuSelectAll, W::Greyed, [this] { edits_.SelectAll(); }},
        // Finding only selects, as Tab does, also while a run works.
        {b.mnuFind, W::Works,
         [this] {
             if (const auto node =
                     dialogs_->Find.ShowDialog(this, document_.Graph(), selection_.Node))
                 nodes_.Show(*node);
         }},
        {b.mnuProperties, W::Greyed, [this] { ShowSelectionProperties(); }},
        // What was set is shown.
        {b.mnuSetSource, W::Greyed,
         [this] {
             bars_.mnuRunEnds->setChecked(true);
             edits_.SetRunEnd(true);
         }},
        {b.mnuSetDest, W::Greyed,
         [this] {
             bars_.mnuRunEnds->setChecked(true);
             edits_.SetRunEnd(false);
         }},
        {b.mnuAddNodeHere, W::Greyed, [this] { addNode_.Press(contextPoint_, {}); }},
        {b.mnuPasteHere, W::Greyed, [this] { edits_.Paste(QPointF(contextPoint_)); }},
        {b.mnuLayout, W::Greyed, [this] { files_.Layout(); }},
        {b.mnuZoomIn, W::Works, [this] { panel_->ZoomIn(); }},
        {b.mnuZoomOut, W::Works, [this] { panel_->ZoomOut(); }},
        {b.mnuActualSize, W::Works, [this] { panel_->ActualSize(); }},
        {b.mnuFitGraph, W::Works, [this] { panel_->Fit(Canvas::GraphBounds(document_.Graph())); }},
        {b.mnuPreferredPath, W::Works, [this] { DrawObjects(); }},
        {b.mnuRunEnds, W::Works, [this] { DrawObjects(); }},
        {b.mnuOptions, W::Greyed, [this] { AskOptions(); }},
        {b.mnuSamplePaths, W::Greyed, [this] { StartSampling(); }},
        {b.mnuAbout, W::Works, [this] { dialogs_->About.ShowDialog(this); }},
        // The Run menu's Start, Forward, Stop and Reset press these buttons.
        {b.Delete, W::Greyed, [this] { edits_.Delete(); }},
        {b.Start, W::Greyed, [this] { StartRun(); }},
        {b.Reset, W::Greyed, [this] { ResetRun(); }},
        {b.Forward, W::Only, [this] { run_->Forward(); }},
        {b.Stop, W::Only, [this] { run_->Stop(); }},
    };
    for (const Command& command : commands_) {
        connect(command.action, &QAction::triggered, this,
                [this, whileRunning = command.whileRunning, handler = command.handler] {
                    const bool allowed = IsWorking() ? whileRunning == WhileRunning::Works ||
                                                           whileRunning == WhileRunning::Only
                                                     : whileRunning != WhileRunning::Only;
                    if (allowed)
                        Guarded(handler);
                });
    }

    const QUndoStack& history = document_.History();
    for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&history, signal, this, [this] { UpdateHistoryActions(); });
    connect(&history, &QUndoStack::undoTextChanged, this, [this] { UpdateHistoryActions(); });
    connect(&history, &QUndoStack::redoTextChanged, this, [this] { UpdateHistoryActions(); });
    connect(run_, &RunController::Progress, this, [this] { ShowRunProgress(); });
    connect(run_, &RunController::Ended, this, &frmMain::RunEnded);
    connect(recent_, &RecentFiles::Chosen, this, [this](const QString& path) {
        if (!IsWorking()) // as Open, whose menu holds them
            Guarded([&] { OpenRecent(path); });
    });
    // Whether Paste was asked for by its key is seen before the action triggers.
    b.mnuPaste->installEventFilter(this);
    b.mnuRunEnds->setChecked(QSettings().value(RunEndsKey, false).toBool());
    connect(b.mnuRunEnds, &QAction::toggled, this,
            [](bool shown) { QSettings().setValue(RunEndsKey, shown); });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == bars_.mnuPaste && event->type() == QEvent::Shortcut)
        pasteByKey_ = true;
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QDockWidget*>(watched)) {
        // The keys a dock's field edits with, sent on by a field that had no use for them.
        const auto* key = static_cast<QKeyEvent*>(event);
        static const std::set<int> editing = {Qt::Key_Left, Qt::Key_Right,     Qt::Key_Up,
                                              Qt::Key_Down, Qt::Key_Delete,    Qt::Key_Home,
                                              Qt::Key_End,  Qt::Key_Backspace, Qt::Key_Space};
        const bool plain = !(key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
        const QWidget* focus = QApplication::focusWidget();
        if (plain && (editing.count(key->key()) || !key->text().trimmed().isEmpty()) &&
            (qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QComboBox*>(focus))) {
            event->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

std::optional<QPointF> frmMain::PasteAt() {
    const bool byKey = std::exchange(pasteByKey_, false);
    const QPointF pointer = Canvas()->mapFromGlobal(QCursor::pos());
    if (byKey && Canvas()->rect().contains(pointer.toPoint()))
        return pointer;
    return std::nullopt;
}

void frmMain::RegisterTools() {
    const char* const linkHint = "Drag from one node to another to link them.";
    tools_ = {
        {bars_.Pointer, Tool::Pointer, 0, &pointer_, Resources::PointerCursor,
         "Click to select, drag to move; a band or Ctrl+click selects more."},
        {bars_.AddNode, Tool::AddNode, 0, &addNode_, Resources::AddNodeCursor,
         "Click to place a node; Esc goes back to the pointer."},
        {bars_.SimpleLink, Tool::Link, LinkKind::Simple, &link_, Resources::LinkCursor, linkHint},
        {bars_.UnidirectionalLink, Tool::Link, LinkKind::Unidirectional, &link_,
         Resources::LinkCursor, linkHint},
        {bars_.BidirectionalLink, Tool::Link, LinkKind::Bidirectional, &link_,
         Resources::LinkCursor, linkHint},
    };
    for (const ToolEntry& entry : tools_) {
        // A tool follows its button's pressed state, however the button was pressed: by the
        // mouse, by a key, or by a screen reader's toggle action.
        connect(entry.button, &QAction::toggled, this,
                [this, tool = entry.tool, kind = entry.linkKind](bool) {
                    if (choosingTool_)
                        return;
                    Guarded([=] {
                        if (tool == Tool::Link)
                            context_.linkKind = kind;
                        SetTool(tool);
                    });
                });
    }
}

void frmMain::ConnectCanvas() {
    CanvasWidget* canvas = panel_->Canvas();
    connect(&document_, &GraphDocument::Changed, this, [this] {
        selection_.KeepIn(document_.Graph());
        overviewView_->GraphChanged();
        if (!IsWorking()) // what a run records as it ends is no edit
            ClearRunFigures();
        DrawObjects();
    });
    connect(&document_, &GraphDocument::ModifiedChanged, this, &QWidget::setWindowModified);
    connect(panel_, &CanvasPanel::ViewChanged, this, [this] {
        bars_.zoomPanel->setText(QString("%1%").arg(std::lround(panel_->Zoom() * 100)));
        DrawObjects();
    });
    connect(canvas, &CanvasWidget::Resized, this, [this] { DrawObjects(); });
    // The canvas ignores the mouse while a run works.
    connect(canvas, &CanvasWidget::MouseDown, this, [this](QMouseEvent* e) {
        if (!IsWorking() && e->button() == Qt::LeftButton)
            Guarded([=] { EntryOf(CurrentTool).editor->Press(e->position(), e->modifiers()); });
    });
    connect(canvas, &CanvasWidget::MouseMove, this, [this](QMouseEvent* e) {
        if (!IsWorking() && e->buttons() == Qt::LeftButton)
            Guarded([=] { EntryOf(CurrentTool).editor->Move(e->position()); });
    });
    connect(canvas, &CanvasWidget::MouseUp, this,
            [this](QMouseEvent* e) { Guarded([=] { picCanvas_MouseUp(e); }); });
    connect(canvas, &CanvasWidget::DblClick, bars_.mnuProperties, &QAction::trigger);

    // The keyboard: Tab through the nodes (which only selects, so also during a run), Enter for
    // Properties, the Menu key for the context menu; what the nodes tell screen readers.
    canvas->SetNodeReader(nodes_.Reader());
    canvas->SetTabHandler([this](bool forward) {
        bool went = false;
        Guarded([&] { went = nodes_.Tab(forward); });
        return went;
    });
    canvas->SetToolTipSource([this](QPoint at) { return nodes_.ToolTipAt(at, NodeFont); });
    connect(canvas, &CanvasWidget::EnterKey, bars_.mnuProperties, &QAction::trigger);
    connect(canvas, &CanvasWidget::MenuKey, this, [this] {
        if (!IsWorking()) // as the right button
            Guarded([this] { ShowContextMenu(SelectionPoint()); });
    });

    // The window sees Escape before any of its controls; a link drag keeps its tool.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (CurrentTool != Tool::Link)
            Guarded([this] { SetTool(Tool::Pointer); });
    });
    // The Delete key does what Edit > Delete does (the menu item keeps no key of its own).
    auto* deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), this);
    connect(deleteKey, &QShortcut::activated, bars_.mnuDelete, &QAction::trigger);
    // The arrow keys move the selection a pixel, with Shift ten.
    const std::pair<Qt::Key, QPoint> arrows[] = {{Qt::Key_Left, {-1, 0}},
                                                 {Qt::Key_Right, {1, 0}},
                                                 {Qt::Key_Up, {0, -1}},
                                                 {Qt::Key_Down, {0, 1}}};
    for (const auto& [key, step] : arrows) {
        for (const int far : {1, 10}) {
            auto* arrow =
                new QShortcut(far == 1 ? QKeySequence(key) : QKeySequence(Qt::SHIFT | key), this);
            connect(arrow, &QShortcut::activated, this, [this, by = step * far] {
                if (!IsWorking())
                    Guarded([&] { edits_.Nudge(by.x(), by.y()); });
            });
        }
    }
}

void frmMain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const PathloomError& e) {
        Platform::ShowMessage(this, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
    } catch (const std::bad_alloc&) {
        Platform::ShowMessage(this, "Out of memory", MessageIcon::Critical);
    } catch (const std::exception& e) {
        Platform::ShowMessage(this, Platform::FromMessageText(e.what()), MessageIcon::Critical);
    }
}

// ---- Document lifecycle ----

void frmMain::ShowFreshDocument() {
    curve_->Clear();
    dialogs_->SamplePaths.Forget();
    lastRun_.reset();
    selection_ = Selection();
    panel_->Reset();
    FitIfTooLarge();
    documents_.UpdateCaption();
    SetTool(Tool::Pointer);
    DrawObjects();
}

void frmMain::UpdateHistoryActions() {
    const QUndoStack& history = document_.History();
    bars_.mnuUndo->setText(history.canUndo() ? "&Undo " + history.undoText() : "&Undo");
    bars_.mnuRedo->setText(history.canRedo() ? "&Redo " + history.redoText() : "&Redo");
    // Greyed out while a run works, like the other edits.
    bars_.mnuUndo->setEnabled(history.canUndo() && !IsWorking());
    bars_.mnuRedo->setEnabled(history.canRedo() && !IsWorking());
}

void frmMain::ImportGraph(const QString& path) {
    const GraphFiles::Imported imported = files_.ImportFile(path);
    if (imported == GraphFiles::Imported::Cancelled)
        return;
    if (imported == GraphFiles::Imported::Done)
        recent_->Add(path);
    ShowFreshDocument();
    panel_->Fit(Canvas::GraphBounds(document_.Graph()));
}

void frmMain::OpenStartupDocument(const QString& path) {
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    if (GraphFormats::FormatOfFileName(Platform::ToFileName(fullPath))) {
        ImportGraph(fullPath);
        return;
    }
    documents_.OfferFileName(fullPath);
    documents_.LoadDocument(fullPath);
}

void frmMain::OpenRecent(const QString& path) {
    // Only a file that is gone is taken off; one that is there but no document (a FIFO, a
    // folder) is refused by the open, as a file chosen in Open is.
    if (!QFileInfo::exists(path)) {
        recent_->Remove(path);
        Platform::ShowMessage(
            this, "'" + path + "' is no longer there; it is taken off the recent files.",
            MessageIcon::Exclamation);
        return;
    }
    if (documents_.CloseDocument())
        OpenStartupDocument(path);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!IsWorking() && !urls.isEmpty() && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (IsWorking() || urls.isEmpty() || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    Guarded([&] {
        if (documents_.CloseDocument())
            OpenStartupDocument(urls.front().toLocalFile());
    });
}

void frmMain::FitIfTooLarge() {
    const QRectF bounds = Canvas::GraphBounds(document_.Graph());
    if (document_.Graph().NodeCount() == 0)
        return;
    // The nodes themselves, without the room GraphBounds leaves around them.
    const QRectF nodes =
        bounds.adjusted(Canvas::NodeSize, Canvas::NodeSize, -Canvas::NodeSize, -Canvas::NodeSize);
    if (!QRectF(QPointF(), QSizeF(panel_->DocumentExtent())).contains(nodes))
        panel_->Fit(bounds);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    for (QDockWidget* dock : docks_)
        KeepDockYielding(dock);
}

void frmMain::KeepDockYielding(QDockWidget* dock) {
    // The canvas keeps at least half of the room it shares with a dock beside it.
    const int room = panel_->width() + dock->width();
    if (dock->isVisible() && !dock->isFloating() && dock->width() > room / 2)
        resizeDocks({dock}, {room / 2}, Qt::Horizontal);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (IsWorking()) {
        Platform::ShowMessage(this, WorkingRefusal, MessageIcon::Exclamation);
        event->ignore();
        return;
    }
    if (!documents_.CloseDocument()) {
        event->ignore();
        return;
    }
    if (remembersPlacement_)
        WindowPlacement::Remember(*this);
    event->accept();
}

void frmMain::DrawObjects() {
    Canvas::View view;
    view.SelectedNode = selection_.Node;
    view.SelectedLink = selection_.Link;
    view.SelectedNodes = selection_.Nodes;
    view.SelectedLinks = selection_.Links;
    view.Working = IsWorking();
    view.Scroll = panel_->Scroll();
    view.Zoom = panel_->Zoom();
    view.DevicePixelRatio = devicePixelRatioF();
    if (bars_.mnuPreferredPath->isChecked())
        view.PreferredLinks = preferredLinks_;
    if (bars_.mnuRunEnds->isChecked()) {
        view.SourceNode = document_.Settings().sourceNode;
        view.DestNode = document_.Settings().DestNode;
    }
    CanvasWidget* canvas = panel_->Canvas();
    canvas->SetImage(
        Canvas::DrawObjects(document_.Graph(), view, canvas->size(), NodeFont, LinkFont));
    pointer_.Redrawn();
    canvas->AnnounceFocusedNode();
    properties_->Show(selection_);
}

// ---- Tools, mouse and selection ----

const frmMain::ToolEntry& frmMain::EntryOf(int32_t tool) const {
    // The pointer stays chosen while it drags a node.
    const int32_t chosen = tool == Tool::DragNode ? Tool::Pointer : tool;
    const int32_t kind = std::clamp(context_.linkKind, 0, 2);
    for (const ToolEntry& entry : tools_) {
        if (entry.tool == chosen && (chosen != Tool::Link || entry.linkKind == kind))
            return entry;
    }
    return tools_.front();
}

void frmMain::SetTool(int32_t tool) {
    if ((CurrentTool == Tool::DragNode || CurrentTool == Tool::Pointer) && tool != Tool::DragNode)
        pointer_.FinishDrag();
    choosingTool_ = true;
    const auto done = qScopeGuard([this] { choosingTool_ = false; });
    const ToolEntry& chosen = EntryOf(tool);
    for (const ToolEntry& entry : tools_)
        entry.button->setChecked(&entry == &chosen);
    CurrentTool = tool;
    bars_.hintPanel->setText(IsWorking() ? QString() : chosen.hint);
    if (!busy_) // a run's busy pointer stays until the run ends
        panel_->Canvas()->setCursor(Resources::ToolCursor(chosen.cursor));
}

void frmMain::picCanvas_MouseUp(QMouseEvent* event) {
    if (IsWorking())
        return;
    if (event->button() == Qt::LeftButton) {
        EntryOf(CurrentTool).editor->Release(event->position());
    } else if (event->button() == Qt::RightButton && CurrentTool == Tool::Pointer) {
        const QPoint pt = panel_->ToDocument(event->position());
        const clsGraph& graph = document_.Graph();
        const int32_t node = graph.GetNodeIndexFromPoint(pt.x(), pt.y());
        const int32_t link = node < 0 ? graph.GetLinkIndexFromPoint(pt.x(), pt.y()) : -1;
        // The menu acts on what is chosen together when the click is on one of them.
        if (!selection_.HasNode(node) && !selection_.HasLink(link))
            selection_.Clear();
        selection_.Node = node;
        selection_.Link = link;
        DrawObjects();
        ShowContextMenu(event->position().toPoint());
    }
}

void frmMain::ShowContextMenu(QPoint at) {
    contextPoint_ = at;
    const bool node = selection_.Node >= 1;
    for (QAction* runEnd : {bars_.mnuSetSource, bars_.mnuSetDest, bars_.runEndsSeparator})
        runEnd->setVisible(node);
    QMenu* menu =
        node || selection_.Link >= 1 || selection_.Together() ? bars_.contextMenu : bars_.emptyMenu;
    menu->popup(panel_->Canvas()->mapToGlobal(at));
}

QPoint frmMain::SelectionPoint() const {
    const clsGraph& graph = document_.Graph();
    const auto centre = [&](const clsNode& node) {
        constexpr int c = NodeGeometry::CentreOffset;
        return panel_->ToCanvas(QPoint(node.Position.x + c, node.Position.y + c));
    };
    const std::vector<int32_t> nodes = selection_.ChosenNodes();
    if (!nodes.empty())
        return centre(graph.Node(nodes.front()));
    if (selection_.Link >= 1) {
        const clsLink& link = graph.Link(selection_.Link);
        return (centre(*link.FromNode) + centre(*link.ToNode)) / 2;
    }
    return panel_->Canvas()->rect().center();
}

void frmMain::ShowSelectionProperties() {
    if (CurrentTool != Tool::Pointer)
        return;
    const clsGraph& graph = document_.Graph();
    if (selection_.Node >= 1) {
        const clsNode& node = graph.Node(selection_.Node);
        if (const auto label = dialogs_->NodeProperties.ShowDialog(this, node.Label(),
                                                                   node.InDegree, node.OutDegree))
            document_.Do(new RenameNodeCommand(document_, selection_.Node, *label));
    } else if (selection_.Link >= 1) {
        const clsLink& link = graph.Link(selection_.Link);
        if (const auto values = dialogs_->LinkProperties.ShowDialog(
                this, link.Weight, link.Probability, link.LinkType, link.Length.get()))
            document_.Do(new LinkValuesCommand(document_, selection_.Link, values->weight,
                                               values->probability, values->length));
    }
}

// ---- Run control ----

bool frmMain::AskOptions() {
    // The nodes marked on the canvas are offered; otherwise they are picked again every time.
    const frmOptions::Result options =
        dialogs_->Options.ShowDialog(this, document_.Settings(), document_.Graph(),
                                     document_.Ranges(), bars_.mnuRunEnds->isChecked());
    if (options.settings || options.ranges)
        document_.Do(new SettingsCommand(document_, options.settings, options.ranges));
    return options.settings.has_value();
}

void frmMain::StartRun() {
    SetWorkingState(true);
    if (!AskOptions()) {
        EndRun();
        return;
    }
    RunWith(document_.Settings());
}

void frmMain::StartSampling() {
    const std::optional<RunSettings> settings = dialogs_->SamplePaths.ShowDialog(
        this, document_.Settings(), document_.Graph(), bars_.mnuRunEnds->isChecked());
    if (!settings)
        return;
    SetWorkingState(true);
    RunWith(*settings);
}

void frmMain::RunWith(const RunSettings& settings) {
    ClearRunFigures();
    lastRun_ = settings;
    // Over the canvas only: the run-control buttons stay usable during a run.
    if (!settings.EnableDelay) {
        busy_ = true;
        panel_->Canvas()->setCursor(Qt::WaitCursor);
    }
    // The curve follows the selected node, else the run's source.
    const int32_t watched = selection_.Node >= 1 ? selection_.Node : settings.sourceNode;
    run_->Start(settings, &curve_->BeginRun(document_.Graph(), watched,
                                            settings.GraphSearchMethod == SearchMethod::Sample,
                                            RunSession::Experiment(document_.Graph(), settings)));
    // A run whose settings cannot learn would otherwise look like one that learns slowly.
    if (const std::optional<std::string> note = settings.NothingLearned())
        bars_.hintPanel->setText(QString::fromStdString(*note));
}

void frmMain::ShowRunProgress() {
    const RunSnapshot& run = run_->Shown();
    curve_->ShowRun(run.history);
    QString text =
        run_->Settings().GraphSearchMethod != SearchMethod::Sample
            ? QString("Paths found: %1").arg(run.pathCount)
            : QString("Samples: %1   Dead ends: %2   Best cost: %3   P(best path): %4")
                  .arg(run.samples)
                  .arg(run.deadEnds)
                  .arg(run.found ? QLocale().toString(run.bestCost) : "-")
                  .arg(run.found ? QLocale().toString(run.bestProbability, 'g', 6) : "-");
    if (run.experiment)
        text += "   " + PreferredPathText(run);
    bars_.pathsPanel->setText(text);
    preferredLinks_ = run.experiment ? run.preferredLinks : std::vector<int32_t>();
}

QString frmMain::PreferredPathText(const RunSnapshot& run) {
    if (run.preferredPath.empty())
        return "Preferred path: none";
    return QString("Preferred path: %1 (P %2, %3)")
        .arg(Platform::FromLatin1(run.preferredPath))
        .arg(QLocale().toString(run.preferredProbability, 'g', 6))
        .arg(run.shortestUndefined     ? "no shortest in expectation: a cycle of negative cost"
             : run.preferredIsShortest ? "the shortest in expectation"
                                       : "not the shortest in expectation");
}

void frmMain::ClearRunFigures() {
    bars_.pathsPanel->clear();
    preferredLinks_.clear(); // an edit may have moved the links it named
    curve_->ClearSummary();
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
    QString experiment;
    if (const RunSnapshot& run = run_->Shown(); run.experiment) {
        // The choices the environment judged by, named as sweeps' columns name them.
        const RunSettings& s = run_->Settings();
        const Choices::Row* model = Choices::Models.Of(s.Model);
        for (const Setting& setting : SettingRegistry::All()) {
            const Choices::Row* chosen = setting.ChoiceOf(setting.Get(s));
            if (chosen && model && setting.ReadBy(*model))
                experiment += QString("%1: %2, ").arg(setting.ColumnName().c_str(), chosen->shown);
        }
        experiment += PreferredPathText(run).replace(0, 1, 'p');
    }
    curve_->EndRun(experiment);
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
    document_.Do(new ResetCommand(document_));
}

void frmMain::SetWorkingState(bool working) {
    working_ = working;
    // The run needs the graph unchanged until it ends.
    for (const Command& command : commands_) {
        if (command.whileRunning == WhileRunning::Greyed)
            command.action->setEnabled(!working);
        else if (command.whileRunning == WhileRunning::Only)
            command.action->setEnabled(working);
    }
    for (const ToolEntry& entry : tools_)
        entry.button->setEnabled(!working);
    properties_->widget()->setEnabled(!working);
    experiment_->SetWorking(working);
    bars_.statusPanel->setText(working ? "Working..." : "Ready");
    bars_.hintPanel->setText(working ? QString() : EntryOf(CurrentTool).hint);
    UpdateHistoryActions();
}
