#include "clsLink.h"

#include "DocumentStream.h"
#include "PathloomError.h"
#include "clsNode.h"

#include <string>

namespace {
clsNode* Find(const NodesByID& nodes, int32_t id) {
    const auto it = nodes.find(id);
    return it == nodes.end() ? nullptr : it->second;
}
} // namespace

void clsLink::SetLength(std::shared_ptr<const LinkLength> length) {
    Length = std::move(length);
    if (Length)
        Weight = static_cast<float>(Length->Mean());
}

void clsLink::Save(DocumentWriter& file) const {
    if (!FromNode || !ToNode) {
        throw PathloomError(ErrorNumber::ObjectNotSet, "clsLink.Save",
                            "Object variable or With block variable not set");
    }
    file.WriteInt32(FromNode->ID);
    file.WriteInt32(ToNode->ID);
    file.WriteInt32(LinkType);
    file.WriteFloat(Weight);
    file.WriteFloat(Probability);
}

void clsLink::Load(DocumentReader& file, const NodesByID& nodeCollection) {
    const int32_t fromID = file.ReadInt32();
    const int32_t toID = file.ReadInt32();
    LinkType = file.ReadInt32();
    Weight = file.ReadFloat();
    Probability = file.ReadFloat();
    InitialProbability = Probability;
    // Such a link would be drawn without its line yet walked both ways.
    if (LinkType < LinkKind::Simple || LinkType > LinkKind::Bidirectional)
        Raise("clsLink.Load", "Unknown link kind " + std::to_string(LinkType));
    FromNode = Find(nodeCollection, fromID);
    ToNode = Find(nodeCollection, toID);
}
