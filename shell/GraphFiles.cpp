#include "GraphFiles.h"

#include "EditCommands.h"
#include "GraphDocument.h"
#include "GraphFormats.h"
#include "GraphPicture.h"
#include "Latin1Text.h"
#include "MessageBox.h"
#include "PathloomError.h"
#include "SafeFile.h"

namespace {

// A box lists the first of many notes; the rest are counted.
constexpr std::size_t ShownNotes = 20;

} // namespace

GraphFiles::GraphFiles(GraphDocument& document, QWidget* owner)
    : document_(document), owner_(owner),
      importDialog_("Graphs (*.graphml *.xml *.dot *.gv *.csv);;GraphML (*.graphml *.xml);;"
                    "DOT (*.dot *.gv);;CSV Edge Lists (*.csv);;All Files (*)",
                    "graphml", "Import"),
      exportDialog_("GraphML (*.graphml);;DOT (*.dot);;CSV Edge List (*.csv);;PNG Image (*.png);;"
                    "SVG Image (*.svg);;PDF Document (*.pdf)",
                    "graphml", "Export") {}

std::optional<QString> GraphFiles::ChooseImport() {
    return importDialog_.ShowOpen(owner_);
}

bool GraphFiles::ImportFile(const QString& path) {
    std::vector<std::string> notes;
    try {
        notes = document_.Import(path);
    } catch (const PathloomError& e) {
        Platform::ShowMessage(owner_, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
        return false;
    }
    if (!notes.empty()) {
        QString text = "The graph was imported with these changes:";
        for (std::size_t i = 0; i < std::min(notes.size(), ShownNotes); ++i)
            text += "\n" + Platform::FromMessageText(notes[i]);
        if (notes.size() > ShownNotes)
            text += QString("\n... and %1 more.").arg(notes.size() - ShownNotes);
        Platform::ShowMessage(owner_, text, MessageIcon::Information);
    }
    return true;
}

void GraphFiles::Export(double scale) {
    const std::optional<QString> path = exportDialog_.ShowSave(owner_);
    if (!path)
        return;
    const std::string fileName = Platform::ToFileName(*path);
    try {
        if (const auto picture = Canvas::PictureFormatOf(*path)) {
            const QByteArray bytes = Canvas::GraphPicture(document_.Graph(), *picture, scale);
            if (bytes.isEmpty())
                Raise("Export", "The picture is too large at this zoom.");
            try {
                WriteFileSafely(fileName, bytes.toStdString());
            } catch (const PathloomError& e) {
                Raise("Export", "'" + fileName + "' could not be written: " + e.Description());
            }
        } else if (const auto format = GraphFormats::FormatOfFileName(fileName)) {
            GraphFormats::Export(document_.Graph(), fileName, *format);
        } else {
            Raise("Export", "A graph is exported as .graphml, .dot, .csv, .png, .svg or .pdf.");
        }
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
        std::vector<clsPosition> positions =
            GraphFormats::Layout(document_.Graph(), static_cast<LayoutStyle>(*chosen));
        document_.Do(new LayoutCommand(document_, std::move(positions)));
    } catch (const PathloomError& e) {
        Platform::ShowMessage(owner_, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
    }
}
