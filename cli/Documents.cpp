#include "Documents.h"

#include "DocumentFile.h"
#include "GraphFormats.h"
#include "clsLA.h"

std::string DocumentBytesOf(const std::string& fileName, std::vector<std::string>& notes) {
    if (!GraphFormats::FormatOfFileName(fileName))
        return ReadFileBytes(fileName);
    clsLA la;
    notes = GraphFormats::OpenByName(la, fileName);
    return DocumentBytes(la);
}
