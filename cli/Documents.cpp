#include "Documents.h"

#include "DocumentFile.h"
#include "GraphFormats.h"
#include "clsLA.h"

std::vector<std::string> OpenDocument(clsLA& la, const std::string& fileName) {
    if (!GraphFormats::FormatOfFileName(fileName)) {
        LoadGraph(la, fileName);
        return {};
    }
    const GraphFormats::ImportResult imported = GraphFormats::Import(fileName, la.Graph());
    std::vector<std::string> notes = imported.leftOut;
    notes.insert(notes.end(), imported.changedLabels.begin(), imported.changedLabels.end());
    return notes;
}

std::string DocumentBytesOf(const std::string& fileName, std::vector<std::string>& notes) {
    if (!GraphFormats::FormatOfFileName(fileName))
        return ReadFileBytes(fileName);
    clsLA la;
    notes = OpenDocument(la, fileName);
    return DocumentBytes(la);
}
