#include "GraphDocument.h"

#include "DocumentFile.h"
#include "EditCommands.h"
#include "GraphDefaults.h"
#include "Latin1Text.h"

GraphDocument::GraphDocument(QObject* parent) : QObject(parent) {
    // Every step done or undone may cross the saved state.
    connect(&history_, &QUndoStack::indexChanged, this, [this] { AnnounceModified(); });
}

GraphDocument::~GraphDocument() = default;

int64_t GraphDocument::ContentState() const {
    for (int i = history_.index() - 1; i >= 0; --i) {
        const auto* command = static_cast<const DocumentCommand*>(history_.command(i));
        if (command->ChangesDocument())
            return command->Serial();
    }
    return 0;
}

bool GraphDocument::Modified() const {
    return ContentState() != savedState_;
}

void GraphDocument::AnnounceModified() {
    if (Modified() != announcedModified_) {
        announcedModified_ = !announcedModified_;
        emit ModifiedChanged(announcedModified_);
    }
}

void GraphDocument::Do(DocumentCommand* command) {
    history_.push(command);
}

void GraphDocument::Clear() {
    engine_.Clear();
    path_.clear();
    savedState_ = 0;
    history_.clear();
    AnnounceModified();
    emit Changed();
}

void GraphDocument::Load(const QString& path) {
    engine_.Clear();
    savedState_ = 0;
    history_.clear();
    try {
        LoadGraph(engine_, Platform::ToFileName(path));
    } catch (...) {
        Clear();
        throw;
    }
    path_ = path;
    AnnounceModified();
    emit Changed();
}

void GraphDocument::AdoptImported(clsGraph& graph) {
    Clear();
    engine_.Graph().Swap(graph);
    GraphDefaults::SetLearning(engine_.Settings);
    savedState_ = -1; // nothing of it is saved yet
    AnnounceModified();
    emit Changed();
}

void GraphDocument::Save(const QString& path) {
    const QString target = path.isEmpty() ? path_ : path;
    SaveGraph(engine_, Platform::ToFileName(target));
    path_ = target;
    savedState_ = ContentState();
    history_.setClean(); // a later move starts a step of its own, not one merged into the saved
    AnnounceModified();
}

std::unique_ptr<clsLA> GraphDocument::BeginRun(const RunSettings& settings) {
    beforeRun_ = ProbabilitiesCommand::Of(Graph());
    auto copy = std::make_unique<clsLA>();
    copy->Graph().CopyFrom(Graph());
    copy->Ranges() = Ranges();
    copy->Settings = settings;
    return copy;
}

void GraphDocument::ShowRun(const std::vector<float>& probabilities,
                            const std::vector<bool>& flags) {
    clsGraph& graph = engine_.Graph();
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const auto at = static_cast<std::size_t>(j - 1);
        graph.Link(j).Probability = probabilities[at];
        graph.Link(j).Flag = flags[at];
    }
    emit Changed();
}

void GraphDocument::EndRun() {
    Do(new ProbabilitiesCommand(*this, "Run", std::move(beforeRun_),
                                ProbabilitiesCommand::Of(Graph())));
}

DocumentCommand::DocumentCommand(GraphDocument& document, const QString& name)
    : QUndoCommand(name), document_(document), serial_(++document.nextSerial_) {}

void DocumentCommand::redo() {
    Apply(true);
    emit document_.Changed();
}

void DocumentCommand::undo() {
    Apply(false);
    emit document_.Changed();
}
