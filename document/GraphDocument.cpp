#include "GraphDocument.h"

#include "DocumentFile.h"
#include "Latin1Text.h"

#include <algorithm>

GraphDocument::GraphDocument(QObject* parent) : QObject(parent) {}

bool GraphDocument::Modified() const {
    const int clean = history_.cleanIndex();
    if (clean < 0)
        return true; // the saved state was undone past and then replaced
    const int now = history_.index();
    for (int i = std::min(clean, now); i < std::max(clean, now); ++i) {
        if (static_cast<const DocumentCommand*>(history_.command(i))->ChangesDocument())
            return true;
    }
    return false;
}

void GraphDocument::Do(DocumentCommand* command) {
    history_.push(command);
}

void GraphDocument::Clear() {
    engine_.Clear();
    path_.clear();
    history_.clear();
    emit Changed();
}

void GraphDocument::Load(const QString& path) {
    engine_.Clear();
    history_.clear();
    try {
        LoadGraph(engine_, Platform::ToFileName(path));
    } catch (...) {
        Clear();
        throw;
    }
    path_ = path;
    emit Changed();
}

void GraphDocument::AdoptImported(clsGraph& graph) {
    Clear();
    engine_.Graph().Swap(graph);
    history_.resetClean(); // nothing of it is saved yet
    emit Changed();
}

void GraphDocument::Save(const QString& path) {
    const QString target = path.isEmpty() ? path_ : path;
    SaveGraph(engine_, Platform::ToFileName(target));
    path_ = target;
    history_.setClean();
}

void DocumentCommand::redo() {
    Apply(true);
    document_.NotifyChanged();
}

void DocumentCommand::undo() {
    Apply(false);
    document_.NotifyChanged();
}
