#include "GraphClipboard.h"

#include "DocumentFile.h"
#include "GraphFormats.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <QMimeData>
#include <algorithm>
#include <unordered_map>

namespace GraphClipboard {

std::unique_ptr<QMimeData> Copy(const clsGraph& graph, const std::vector<int32_t>& nodes) {
    clsLA piece;
    clsGraph& part = piece.Graph();
    std::vector<int32_t> sorted = nodes;
    std::sort(sorted.begin(), sorted.end());
    std::unordered_map<const clsNode*, int32_t> placeOf;
    for (const int32_t index : sorted) {
        const clsNode& node = graph.Node(index);
        clsNode& copy = part.AppendNode();
        copy.SetLabelz(node.Labelz());
        copy.Position = node.Position;
        placeOf.emplace(&node, part.NodeCount());
    }
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        const auto from = placeOf.find(link.FromNode), to = placeOf.find(link.ToNode);
        if (from == placeOf.end() || to == placeOf.end())
            continue;
        clsLink& copy = part.AppendLink();
        copy.FromNode = &part.Node(from->second);
        copy.ToNode = &part.Node(to->second);
        copy.LinkType = link.LinkType;
        copy.Weight = link.Weight;
        copy.Length = link.Length; // kept in the piece's extension block and its GraphML
        copy.Probability = link.Probability;
        copy.InitialProbability = link.InitialProbability;
    }
    part.InitProbability();
    auto data = std::make_unique<QMimeData>();
    const std::string bytes = DocumentBytes(piece);
    data->setData(OwnType, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    try {
        const std::string graphML = GraphFormats::ExportText(part, GraphFormats::Format::GraphML);
        data->setData(GraphMLType, QByteArray::fromStdString(graphML));
        data->setText(QString::fromStdString(graphML));
    } catch (const PathloomError&) {
        // A value GraphML cannot hold: Pathloom's own data alone.
    }
    return data;
}

std::optional<Content> Take(const QMimeData& data) {
    if (data.hasFormat(OwnType))
        return Content{true, data.data(OwnType).toStdString()};
    const QByteArray graphML = data.hasFormat(GraphMLType)        ? data.data(GraphMLType)
                               : data.text().contains("<graphml") ? data.text().toUtf8()
                                                                  : QByteArray();
    if (graphML.isEmpty())
        return std::nullopt;
    return Content{false, graphML.toStdString()};
}

std::unique_ptr<clsLA> Read(const Content& content) {
    auto piece = std::make_unique<clsLA>();
    if (content.own)
        LoadGraphFromBytes(*piece, content.bytes, "clipboard");
    else
        GraphFormats::ImportText(content.bytes, "clipboard", GraphFormats::Format::GraphML,
                                 piece->Graph());
    return piece;
}

std::unique_ptr<clsLA> Read(const QMimeData& data) {
    const std::optional<Content> content = Take(data);
    return content ? Read(*content) : nullptr;
}

} // namespace GraphClipboard
