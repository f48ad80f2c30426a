#pragma once
// Parts of a graph on the clipboard: as Pathloom's own data (a document of the part, exact to
// the byte) for Pathloom, and as GraphML (as an export writes it) for any other program.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMimeData;
class clsLA;
class clsGraph;

namespace GraphClipboard {

// The MIME type of Pathloom's own data: a document's.
inline const QString OwnType = "application/x-pathloom";
inline const QString GraphMLType = "application/graphml+xml";

// The nodes (one-based, in graph order) with every link among them.
std::unique_ptr<QMimeData> Copy(const clsGraph& graph, const std::vector<int32_t>& nodes);

// The bytes of a graph taken off the clipboard, so that they can be read apart from it.
struct Content {
    bool own = false; // Pathloom's own data, else GraphML
    std::string bytes;
};

// What the clipboard holds as a graph: Pathloom's own data, else GraphML (also as plain text,
// as other programs put it); nothing when it holds neither.
std::optional<Content> Take(const QMimeData& data);

// The graph of the content, on any thread (GraphML without positions is laid out, which may take
// seconds). Raises the import's message for GraphML that does not read as a graph.
std::unique_ptr<clsLA> Read(const Content& content);
std::unique_ptr<clsLA> Read(const QMimeData& data); // Take and Read at once

} // namespace GraphClipboard
