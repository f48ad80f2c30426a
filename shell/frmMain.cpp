#include "frmMain.h"

#include "DocumentFile.h"
#include "DrawObjects.h"
#include "Latin1Text.h"
#include "MessageBox.h"
#include "PathloomError.h"
#include "Resources.h"
#include "RunController.h"
#include "Scrolling.h"
#include "frmAbout.h"
#include "frmLinkProperties.h"
#include "frmNodeProperties.h"
#include "frmOptions.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <cstdint>

namespace {

const QString AppTitle = Platform::AppTitle;
const QString WorkingRefusal =
    "Program already is working. Please stop current operation and then try to close.";

constexpr int StdToolbarHeight = 36;
constexpr int ControlToolbarHeight = 28;
constexpr int StatusBarHeight = 21;
constexpr QSize StartClientSize(604, 476);

} // namespace

struct frmMain::Dialogs {
    frmOptions Options;
    frmNodeProperties NodeProperties;
    frmLinkProperties LinkProperties;
    frmAbout About;
};

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), Graph(LA.Graph()),
      ComDlg("Pathloom Files (*.plm);;All Files (*)", "plm"), dialogs_(std::make_unique<Dialogs>()),
      run_(new RunController(LA, this)) {
    setObjectName("frmMain");
    setWindowIcon(Resources::AppIcon());
    BuildMenus();
    BuildClientArea();
    connect(run_, &RunController::Redraw, this, [this] { DrawObjects(); });
    connect(run_, &RunController::PathsFound, this,
            [this](int paths) { pathsPanel->setText(QString("Paths found: %1").arg(paths)); });
    connect(run_, &RunController::Ended, this, &frmMain::RunEnded);

    // Start-up, in this order: the engine exists (a member), then the idle state, the scroll
    // ranges, the fonts, the disabled run control, and a new document.
    SetWorkingState(false);
    Canvas::SetUpScrollBar(*HScroll);
    Canvas::SetUpScrollBar(*VScroll);
    NodeFont = Canvas::MakeNodeFont();
    LinkFont = Canvas::MakeLinkFont();
    for (QAction* button : ControlToolbar->actions())
        button->setEnabled(false);
    CreateNewDocument();

    // The client area starts at 604 x 476, below the menu bar.
    resize(StartClientSize.width(), StartClientSize.height() + menuBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

void frmMain::BuildMenus() {
    const auto item = [this](QMenu* menu, const char* name, const QString& caption,
                             std::function<void()> handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        if (handler)
            connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
        return action;
    };

    mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuNew = item(mnuFile, "mnuNew", "&New", [this] { mnuNew_Click(); });
    mnuOpen = item(mnuFile, "mnuOpen", "&Open...", [this] { mnuOpen_Click(); });
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFile->addSeparator();
    mnuSave = item(mnuFile, "mnuSave", "&Save", [this] { SaveDocument(false); });
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAs = item(mnuFile, "mnuSaveAs", "Save &As...", [this] { SaveDocument(true); });
    mnuFile->addSeparator();
    mnuExit = item(mnuFile, "mnuExit", "E&xit", [this] { mnuExit_Click(); });

    mnuEdit = menuBar()->addMenu("&Edit");
    mnuEdit->setObjectName("mnuEdit");
    mnuDelete = item(mnuEdit, "mnuDelete", "&Delete", [this] { DeleteSelection(); });
    mnuEdit->addSeparator();
    mnuProperties =
        item(mnuEdit, "mnuProperties", "&Properties", [this] { ShowSelectionProperties(); });

    mnuHelp = menuBar()->addMenu("&Help");
    mnuHelp->setObjectName("mnuHelp");
    mnuAbout = item(mnuHelp, "mnuAbout", "&About...", [this] { mnuAbout_Click(); });
}

void frmMain::BuildToolbars() {
    StdToolbar = new QToolBar("StdToolbar", client);
    StdToolbar->setObjectName("StdToolbar");
    StdToolbar->setIconSize(QSize(24, 24));
    StdToolbar->setMovable(false);
    StdToolbar->setFloatable(false);
    struct Button {
        const char* key;
        const char* tip;
        bool tool; // shown pressed while its tool is chosen
        bool separatorBefore;
    };
    const Button buttons[] = {
        {"Pointer", "Pointer", true, false},
        {"AddNode", "Add Node", true, true},
        {"Delete", "Delete", false, false},
        {"SimpleLink", "Simple Link", true, true},
        {"UnidirectionalLink", "Unidirectional Link", true, false},
        {"BidirectionalLink", "BidirectionalLink", true, false},
        {"Start", "Start", false, true},
        {"Reset", "Reset", false, false},
    };
    for (const Button& b : buttons) {
        if (b.separatorBefore)
            StdToolbar->addSeparator();
        QAction* action = StdToolbar->addAction(Resources::StdToolbarIcon(b.key), b.tip);
        action->setObjectName(b.key);
        action->setToolTip(b.tip);
        action->setCheckable(b.tool);
        // A tool follows its button's pressed state, however the button was pressed: by the
        // mouse, by a key, or by a screen reader's toggle action.
        if (b.tool) {
            connect(action, &QAction::toggled, this, [this, action](bool) {
                if (!choosingTool_)
                    Guarded([=] { StdToolbar_ButtonClick(action); });
            });
        }
    }

    connect(StdToolbar, &QToolBar::actionTriggered, this, [this](QAction* button) {
        if (!button->isCheckable())
            Guarded([=] { StdToolbar_ButtonClick(button); });
    });

    ControlToolbar = new QToolBar("ControlToolbar", client);
    ControlToolbar->setObjectName("ControlToolbar");
    ControlToolbar->setIconSize(QSize(16, 16));
    ControlToolbar->setMovable(false);
    ControlToolbar->setFloatable(false);
    for (const auto& [key, tip] :
         {std::pair{"Forward", "Forward/Next"}, std::pair{"Stop", "Stop/Cancel"}}) {
        QAction* action = ControlToolbar->addAction(Resources::ControlToolbarIcon(key), tip);
        action->setObjectName(key);
        action->setToolTip(tip);
    }
    connect(ControlToolbar, &QToolBar::actionTriggered, this,
            [this](QAction* button) { ControlToolbar_ButtonClick(button); });
}

void frmMain::BuildClientArea() {
    client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    client->installEventFilter(this);

    BuildToolbars();

    picPan = new QWidget(client);
    picPan->setObjectName("picPan");
    picPan->installEventFilter(this);
    picCanvas = new CanvasWidget(picPan);
    HScroll = new QScrollBar(Qt::Horizontal, picPan);
    HScroll->setObjectName("HScroll");
    HScroll->setAccessibleName("Horizontal scroll bar");
    VScroll = new QScrollBar(Qt::Vertical, picPan);
    VScroll->setObjectName("VScroll");
    VScroll->setAccessibleName("Vertical scroll bar");
    // With tracking on, the value changes, and the canvas follows, while the thumb is dragged.
    connect(HScroll, &QScrollBar::valueChanged, this, [this] { DrawObjects(); });
    connect(VScroll, &QScrollBar::valueChanged, this, [this] { DrawObjects(); });

    StatusBar = new QStatusBar(client);
    StatusBar->setObjectName("StatusBar");
    statusPanel = new QLabel(StatusBar);
    statusPanel->setObjectName("StatusPanel1");
    StatusBar->addWidget(statusPanel, 1);
    pathsPanel = new QLabel(StatusBar);
    pathsPanel->setObjectName("PathsPanel");
    StatusBar->addWidget(pathsPanel);

    connect(picCanvas, &CanvasWidget::Resized, this, [this] { DrawObjects(); });
    connect(picCanvas, &CanvasWidget::MouseDown, this,
            [this](QMouseEvent* e) { Guarded([=] { picCanvas_MouseDown(e); }); });
    connect(picCanvas, &CanvasWidget::MouseMove, this,
            [this](QMouseEvent* e) { Guarded([=] { picCanvas_MouseMove(e); }); });
    connect(picCanvas, &CanvasWidget::MouseUp, this,
            [this](QMouseEvent* e) { Guarded([=] { picCanvas_MouseUp(e); }); });
    connect(picCanvas, &CanvasWidget::DblClick, this,
            [this] { Guarded([this] { picCanvas_DblClick(); }); });

    // The window sees Escape before any of its controls.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this,
            [this] { Guarded([this] { Form_KeyDown(Qt::Key_Escape); }); });

    client->resize(StartClientSize);
    Form_Resize();
}

void frmMain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const PathloomError& e) {
        ShowMessage(e.Description(), MessageIcon::Critical);
    } catch (const std::exception& e) {
        ShowMessage(e.what(), MessageIcon::Critical);
    }
}

// ---- Document lifecycle ----

void frmMain::CreateNewDocument() {
    LA.Clear();
    SelectedNode = -1;
    SelectedLink = -1;
    HScroll->setValue(0);
    VScroll->setValue(0);
    Modified = false;
    DocumentPath.clear();
    DrawObjects();
    UpdateCaption();
    SetTool(Tool::Pointer);
}

QString frmMain::DocumentTitle(const QString& path) {
    if (path.isEmpty())
        return "Untitled";
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QString();
    const qsizetype dot = path.lastIndexOf('.');
    if (dot > slash)
        return path.mid(slash + 1, dot - slash - 1);
    return path.mid(slash + 1);
}

QString frmMain::GetDocumentTitle() const {
    return DocumentTitle(DocumentPath);
}

void frmMain::UpdateCaption() {
    setWindowTitle(GetDocumentTitle() + " - " + AppTitle);
}

bool frmMain::CloseDocument() {
    if (!Modified)
        return true;
    const QString text = "The graph in the file " + GetDocumentTitle() +
                         " has changed.\r\n\r\nDo you want to save the changes?";
    switch (Platform::ShowMessage(this, text, MessageIcon::Exclamation,
                                  Platform::Buttons::YesNoCancel)) {
    case Platform::Answer::Cancel:
        return false;
    case Platform::Answer::Yes:
        // A save that was cancelled or failed must not let the caller discard the work.
        return SaveDocument(false);
    default:
        return true;
    }
}

bool frmMain::SaveDocument(bool newFile) {
    try {
        if (DocumentPath.isEmpty() || newFile) {
            const std::optional<QString> chosen = ComDlg.ShowSave(this);
            if (!chosen)
                return false; // cancelled: silently, nothing changes
            DocumentPath = *chosen;
            UpdateCaption();
        }
        if (!DocumentPath.isEmpty()) {
            SaveGraph(LA, Platform::ToFileName(DocumentPath));
            Modified = false;
            return true;
        }
    } catch (const PathloomError& e) {
        ShowMessage(e.Description(), MessageIcon::Critical);
    }
    return false;
}

void frmMain::OpenDocument() {
    const std::optional<QString> chosen = ComDlg.ShowOpen(this);
    if (!chosen)
        return;
    DocumentPath = *chosen;
    UpdateCaption();
    if (!DocumentPath.isEmpty())
        LoadDocument(DocumentPath);
}

bool frmMain::LoadDocument(const QString& path) {
    try {
        LA.Clear();
        LoadGraph(LA, Platform::ToFileName(path));
        SelectedNode = -1;
        SelectedLink = -1;
        HScroll->setValue(0);
        VScroll->setValue(0);
        Modified = false;
        DrawObjects();
        SetTool(Tool::Pointer);
        return true;
    } catch (const PathloomError& e) {
        // A new untitled document, so that no later save can go to the file that failed.
        CreateNewDocument();
        ShowMessage(e.Description(), MessageIcon::Critical);
        return false;
    }
}

void frmMain::OpenStartupDocument(const QString& path) {
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    ComDlg.SetFileName(fullPath); // Open offers it again
    DocumentPath = fullPath;
    UpdateCaption();
    LoadDocument(fullPath);
}

void frmMain::mnuNew_Click() {
    if (Working)
        return; // the run needs the graph it started with
    if (CloseDocument())
        CreateNewDocument();
}

void frmMain::mnuOpen_Click() {
    if (Working)
        return;
    if (CloseDocument())
        OpenDocument();
}

void frmMain::mnuExit_Click() {
    close();
}

void frmMain::mnuAbout_Click() {
    dialogs_->About.ShowDialog(this);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (Working) {
        Platform::ShowMessage(this, WorkingRefusal, MessageIcon::Exclamation);
        event->ignore();
        return;
    }
    if (!CloseDocument()) {
        event->ignore();
        return;
    }
    event->accept();
}

// ---- Layout and scrolling ----

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == client)
            Form_Resize();
        else if (watched == picPan)
            picPan_Resize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::Form_Resize() {
    const QSize size = client->size();
    StdToolbar->setGeometry(0, 0, size.width(), StdToolbarHeight);
    ControlToolbar->setGeometry(0, size.height() - StatusBarHeight - ControlToolbarHeight,
                                size.width(), ControlToolbarHeight);
    StatusBar->setGeometry(0, size.height() - StatusBarHeight, size.width(), StatusBarHeight);
    if (const auto panel =
            Canvas::PanelGeometry(size, StdToolbarHeight, StatusBarHeight, ControlToolbarHeight))
        picPan->setGeometry(*panel);
}

void frmMain::picPan_Resize() {
    const Canvas::PanGeometry g =
        Canvas::LayOutPan(picPan->size(), Canvas::ScrollBarThickness, Canvas::ScrollBarThickness);
    if (g.Canvas)
        picCanvas->setGeometry(*g.Canvas);
    if (g.HScroll)
        HScroll->setGeometry(*g.HScroll);
    if (g.VScroll)
        VScroll->setGeometry(*g.VScroll);
}

QPoint frmMain::ScrollOffset() const {
    return QPoint(HScroll->isEnabled() ? HScroll->value() : 0,
                  VScroll->isEnabled() ? VScroll->value() : 0);
}

QPoint frmMain::GetCursorPoint() const {
    return Canvas::GetCursorPoint(eventPosition_, ScrollOffset());
}

void frmMain::DrawObjects() {
    Canvas::View view;
    view.SelectedNode = SelectedNode;
    view.SelectedLink = SelectedLink;
    view.Working = Working;
    view.Scroll = ScrollOffset();
    picCanvas->SetImage(Canvas::DrawObjects(Graph, view, picCanvas->size(), NodeFont, LinkFont));
}

// ---- Tools and mouse ----

void frmMain::StdToolbar_ButtonClick(QAction* button) {
    const QString key = button->objectName();
    if (key == "Pointer") {
        SetTool(Tool::Pointer);
    } else if (key == "AddNode") {
        SetTool(Tool::AddNode);
    } else if (key == "Delete") {
        DeleteSelection();
    } else if (key == "SimpleLink") {
        NewLinkType = LinkKind::Simple;
        SetTool(Tool::Link);
    } else if (key == "UnidirectionalLink") {
        NewLinkType = LinkKind::Unidirectional;
        SetTool(Tool::Link);
    } else if (key == "BidirectionalLink") {
        NewLinkType = LinkKind::Bidirectional;
        SetTool(Tool::Link);
    } else if (key == "Start") {
        StartRun();
    } else if (key == "Reset") {
        ResetRun();
    }
}

void frmMain::SetTool(int32_t tool) {
    choosingTool_ = true;
    const auto done = qScopeGuard([this] { choosingTool_ = false; });
    for (QAction* button : StdToolbar->actions())
        button->setChecked(false);
    int cursor = 0;
    switch (tool) {
    case Tool::Pointer:
    case Tool::DragNode:
        CurrentTool = tool;
        StdToolbar->findChild<QAction*>("Pointer")->setChecked(true);
        cursor = Resources::PointerCursor;
        break;
    case Tool::AddNode:
        CurrentTool = tool;
        StdToolbar->findChild<QAction*>("AddNode")->setChecked(true);
        cursor = Resources::AddNodeCursor;
        break;
    case Tool::Link: {
        CurrentTool = tool;
        static const char* const linkButtons[] = {"SimpleLink", "UnidirectionalLink",
                                                  "BidirectionalLink"};
        if (NewLinkType >= 0 && NewLinkType <= 2)
            StdToolbar->findChild<QAction*>(linkButtons[NewLinkType])->setChecked(true);
        cursor = Resources::LinkCursor;
        break;
    }
    default:
        return;
    }
    if (!busy_) // a run's busy pointer stays until the run ends
        picCanvas->setCursor(Resources::ToolCursor(cursor));
}

void frmMain::picCanvas_MouseDown(QMouseEvent* event) {
    if (Working || event->button() != Qt::LeftButton)
        return;
    eventPosition_ = event->position();
    const QPoint pt = GetCursorPoint();
    switch (CurrentTool) {
    case Tool::Pointer: {
        const QPoint at = Canvas::EventPoint(event->position());
        LastX = at.x();
        LastY = at.y();
        SelectedNode = Graph.GetNodeIndexFromPoint(pt.x(), pt.y());
        if (SelectedNode < 0) {
            SelectedLink = Graph.GetLinkIndexFromPoint(pt.x(), pt.y());
        } else {
            SelectedLink = -1;
            SetTool(Tool::DragNode);
        }
        DrawObjects();
        break;
    }
    case Tool::AddNode:
        // Centred on the pointer; the selection stays as it was.
        Graph.AddNode(pt.x() - Canvas::CentreOffset, pt.y() - Canvas::CentreOffset);
        Modified = true;
        DrawObjects();
        break;
    case Tool::Link:
        LastX = pt.x();
        LastY = pt.y();
        FirstMove = true;
        SelectedNode = Graph.GetNodeIndexFromPoint(pt.x(), pt.y());
        if (SelectedNode == -1)
            // "mush" is kept on purpose: the message has always read so.
            Platform::ShowMessage(this, "You mush select a node and drag pointer to another node.",
                                  MessageIcon::Exclamation);
        break;
    default:
        break;
    }
}

QPoint frmMain::RubberBandStart() const {
    const clsPosition& position = Graph.Node(SelectedNode).Position;
    const modHelper::Point c = Canvas::ToViewPoint({position.x, position.y}, ScrollOffset());
    // The band starts at a node under the pointer, so it always fits the canvas.
    const auto fit = [](int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(v, -(int64_t{1} << 22), int64_t{1} << 22));
    };
    return QPoint(fit(c.x + Canvas::CentreOffset), fit(c.y + Canvas::CentreOffset));
}

void frmMain::picCanvas_MouseMove(QMouseEvent* event) {
    if (Working || event->buttons() != Qt::LeftButton)
        return;
    const QPoint at = Canvas::EventPoint(event->position());
    if (CurrentTool == Tool::DragNode && SelectedNode >= 0) {
        // The node keeps the offset to the pointer that it had at the press, until it meets an
        // edge of the document area: past the left or top one it could never be reached again.
        clsPosition& position = Graph.Node(SelectedNode).Position;
        const QPoint kept = Canvas::KeepInDocumentArea(
            {int64_t{position.x} + at.x() - LastX, int64_t{position.y} + at.y() - LastY},
            picCanvas->size());
        position.Move(kept.x() - position.x, kept.y() - position.y);
        LastX = at.x();
        LastY = at.y();
        Modified = true;
        DrawObjects();
    } else if (CurrentTool == Tool::Link && SelectedNode != -1) {
        const QPoint c = RubberBandStart();
        if (!FirstMove)
            picCanvas->InvertLine(c, QPoint(LastX, LastY)); // erase the last band
        else
            FirstMove = false;
        picCanvas->InvertLine(c, at);
        LastX = at.x();
        LastY = at.y();
    }
}

void frmMain::picCanvas_MouseUp(QMouseEvent* event) {
    if (Working)
        return;
    eventPosition_ = event->position();
    if (event->button() == Qt::LeftButton) {
        if (CurrentTool == Tool::DragNode) {
            SetTool(Tool::Pointer);
            DrawObjects();
        } else if (CurrentTool == Tool::Link && SelectedNode != -1) {
            if (!FirstMove)
                picCanvas->InvertLine(RubberBandStart(), QPoint(LastX, LastY));
            try {
                const QPoint pt = GetCursorPoint();
                const int32_t target = Graph.GetNodeIndexFromPoint(pt.x(), pt.y());
                if (target >= 0 && target != SelectedNode) {
                    Graph.AddLink(SelectedNode, target, NewLinkType);
                    SelectedNode = target; // the next link may start where this one ended
                    Modified = true;
                    DrawObjects();
                }
            } catch (const PathloomError& e) {
                ShowMessage(e.Description(), MessageIcon::Critical);
            }
        }
    } else if (event->button() == Qt::RightButton && CurrentTool == Tool::Pointer) {
        const QPoint pt = GetCursorPoint();
        SelectedNode = Graph.GetNodeIndexFromPoint(pt.x(), pt.y());
        SelectedLink = SelectedNode < 0 ? Graph.GetLinkIndexFromPoint(pt.x(), pt.y()) : -1;
        DrawObjects();
        if (SelectedNode < 1 && SelectedLink < 1)
            return;
        mnuEdit->popup(picCanvas->mapToGlobal(Canvas::EventPoint(event->position())));
    }
}

void frmMain::picCanvas_DblClick() {
    ShowSelectionProperties();
}

void frmMain::Form_KeyDown(int keyCode) {
    // A link drag in progress keeps its tool.
    if (keyCode == Qt::Key_Escape && CurrentTool != Tool::Link)
        SetTool(Tool::Pointer);
}

void frmMain::ShowSelectionProperties() {
    if (Working || CurrentTool != Tool::Pointer)
        return;
    int result = 0;
    if (SelectedNode >= 1) {
        dialogs_->NodeProperties.NodeToEdit = &Graph.Node(SelectedNode);
        result = dialogs_->NodeProperties.ShowDialog(this);
    } else if (SelectedLink >= 1) {
        dialogs_->LinkProperties.LinkToEdit = &Graph.Link(SelectedLink);
        result = dialogs_->LinkProperties.ShowDialog(this);
    } else {
        return;
    }
    if (result == 1) {
        Modified = true;
        DrawObjects();
    }
}

void frmMain::DeleteSelection() {
    if (Working)
        return;
    // The link first: after a link drag both may be selected.
    if (SelectedLink >= 1) {
        Graph.DeleteLink(SelectedLink);
        SelectedLink = -1;
        Modified = true;
        DrawObjects();
    } else if (SelectedNode >= 1) {
        LA.DeleteNode(SelectedNode);
        SelectedNode = -1;
        SelectedLink = -1;
        Modified = true;
        DrawObjects();
    }
}

// ---- Run control ----

void frmMain::StartRun() {
    SetWorkingState(true);
    Working = true;
    for (QAction* button : ControlToolbar->actions())
        button->setEnabled(true);
    const frmOptions::Result options =
        dialogs_->Options.ShowDialog(this, LA.Settings, Graph, LA.Ranges());
    if (options.ranges) {
        LA.Ranges() = *options.ranges;
        Modified = true;
    }
    if (!options.settings) {
        EndRun();
        return;
    }
    LA.Settings = *options.settings;
    Modified = true;
    // Over the canvas only: the run-control buttons stay usable during a run.
    if (!LA.Settings.EnableDelay) {
        busy_ = true;
        picCanvas->setCursor(Qt::WaitCursor);
    }
    run_->Start();
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
    EndRun();
}

void frmMain::EndRun() {
    busy_ = false;
    SetTool(CurrentTool);
    for (QAction* button : ControlToolbar->actions())
        button->setEnabled(false);
    Working = false;
    SetWorkingState(false);
    DrawObjects();
}

void frmMain::ResetRun() {
    Graph.RestoreProbabilities();
    Graph.ResetFlags();
    DrawObjects();
}

void frmMain::SetWorkingState(bool working) {
    for (QAction* button : StdToolbar->actions())
        button->setEnabled(!working);
    statusPanel->setText(working ? "Working..." : "Ready");
    // The run needs the graph unchanged until it ends.
    mnuNew->setEnabled(!working);
    mnuOpen->setEnabled(!working);
    mnuDelete->setEnabled(!working);
    mnuProperties->setEnabled(!working);
    if (!working)
        pathsPanel->clear();
}

void frmMain::ControlToolbar_ButtonClick(QAction* button) {
    if (button->objectName() == "Forward")
        run_->Forward();
    else if (button->objectName() == "Stop")
        run_->Stop();
}

void frmMain::ShowMessage(const std::string& text, MessageIcon icon) {
    Platform::ShowMessage(this, Platform::FromMessageText(text), icon);
}
