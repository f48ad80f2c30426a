#include "GraphFiles.h"

#include "BackgroundWork.h"
#include "EditCommands.h"
#include "ExportGraph.h"
#include "GraphDocument.h"
#include "GraphFormats.h"
#include "Latin1Text.h"
#include "MessageBox.h"
#include "PathloomError.h"
#include "Scrolling.h"

#include <QFileInfo>
#include <cmath>
#include <memory>
#include <new>

namespace {

// A box lists the first of many notes; the rest are counted.
constexpr std::size_t ShownNotes = 20;

} // namespace

GraphFiles::GraphFiles(GraphDocument& document, QWidget* owner, BackgroundWork& work)
    : document_(document), owner_(owner), work_(work),
      importDialog_("Graphs (*.graphml *.xml *.dot *.gv *.csv);;GraphML (*.graphml *.xml);;"
                    "DOT (*.dot *.gv);;CSV Edge Lists (*.csv);;All Files (*)",
                    "graphml", "Import"),
      exportDialog_("GraphML (*.graphml);;DOT (*.dot);;CSV Edge List (*.csv);;PNG Image (*.png);;"
                    "SVG Image (*.svg);;PDF Document (*.pdf)",
                    "graphml", "Export") {}

std::optional<QString> GraphFiles::ChooseImport() {
    return importDialog_.ShowOpen(owner_);
}

GraphFiles::Imported GraphFiles::ImportFile(const QString& path) {
    const std::string fileName = Platform::ToFileName(path);
    const auto graph = std::make_shared<clsGraph>();
    const auto notes = std::make_shared<std::vector<std::string>>();
    try {
        if (!work_.Run("Importing " + QFileInfo(path).fileName() + "...",
                       [=] { *notes = GraphFormats::Import(fileName, *graph).Notes(); }))
            return Imported::Cancelled;
    } catch (const PathloomError& e) {
        return Failed(e.Description());
    } catch (const std::bad_alloc&) {
        return Failed("'" + fileName + "' could not be read: out of memory");
    }
    document_.AdoptImported(*graph);
    if (!notes->empty()) {
        QString text = "The graph was imported with these changes:";
        for (std::size_t i = 0; i < std::min(notes->size(), ShownNotes); ++i)
            text += "\n" + Platform::FromMessageText((*notes)[i]);
        if (notes->size() > ShownNotes)
            text += QString("\n... and %1 more.").arg(notes->size() - ShownNotes);
        Platform::ShowMessage(owner_, text, MessageIcon::Information);
    }
    return Imported::Done;
}

GraphFiles::Imported GraphFiles::Failed(const std::string& message) {
    document_.Clear();
    Platform::ShowMessage(owner_, Platform::FromMessageText(message), MessageIcon::Critical);
    return Imported::Failed;
}

void GraphFiles::Export(double scale) {
    const std::optional<QString> path = exportDialog_.ShowSave(owner_);
    if (!path)
        return;
    try {
        const auto smaller = [](double fits) {
            return fits >= Canvas::MinZoom
                       ? QString("Zoom out to %1% or less, or export SVG or PDF.")
                             .arg(std::lround(fits * 100))
                       : QString("Export SVG or PDF instead.");
        };
        if (!ExportGraph(document_.Graph(), *path, scale, smaller,
                         "The picture is too large at this zoom."))
            Raise("Export", "A graph is exported as .graphml, .dot, .csv, .png, .svg or .pdf.");
    } catch (const PathloomError& e) {
        Platform::ShowMessage(owner_, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
    }
}

void GraphFiles::Layout() {
    const QStringList styles = {"Automatic", "Hierarchical (for mostly one-way graphs)",
                                "Force-directed"};
    const std::optional<int> chosen = layoutDialog_.ShowDialog(owner_, styles);
    if (!chosen)
        return;
    try {
        // The graph is read here, before the window goes on handling events.
        const std::size_t count = static_cast<std::size_t>(document_.Graph().NodeCount());
        const std::vector<LayoutLink> links = GraphFormats::LayoutLinks(document_.Graph());
        const auto style = static_cast<LayoutStyle>(*chosen);
        const auto positions = std::make_shared<std::vector<clsPosition>>();
        if (!work_.Run(QString("Placing %1 nodes...").arg(count),
                       [=] { *positions = PlaceNodes(count, links, {}, style); }))
            return;
        document_.Do(new LayoutCommand(document_, std::move(*positions)));
    } catch (const PathloomError& e) {
        Platform::ShowMessage(owner_, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
    }
}
