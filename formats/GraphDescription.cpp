#include "GraphDescription.h"

#include "Latin1.h"
#include "LinkLength.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "TextTools.h"

namespace {
// Keeps a value given when its attribute ranks before the one that gave the current value.
void TakeRanked(FileValue& slot, int& slotRank, int rank, const FileValue& value, bool given) {
    if (!given || (slotRank != 0 && slotRank <= rank))
        return;
    slot = value;
    slotRank = rank;
}
} // namespace

bool TakeNodeAttribute(NodeRecord& node, const std::string& name, const FileValue& value) {
    const std::string key = Utf8::Folded(name);
    if (key == "label" || key == "name")
        TakeRanked(node.label, node.labelRank, key == "label" ? 1 : 2, value, value.Given());
    else if (key == "x")
        node.x = value;
    else if (key == "y")
        node.y = value;
    else
        return false;
    return true;
}

bool TakeEdgeAttribute(EdgeRecord& edge, const std::string& name, const FileValue& value) {
    const std::string key = Utf8::Folded(name);
    if (key == "length" && LinkLength::LooksLikeDistribution(value.text))
        edge.distribution = value;
    else if (key == "weight" || key == "cost" || key == "length")
        TakeRanked(edge.weight, edge.weightRank,
                   key == "weight" ? 1
                   : key == "cost" ? 2
                                   : 3,
                   value, !value.text.empty());
    else if (key == "probability")
        edge.probability = value;
    else if (key == "kind")
        edge.kind = value;
    else
        return false;
    return true;
}

std::string FileLine(const std::string& fileName, int line) {
    return "'" + fileName + "' line " + std::to_string(line);
}

void Refuse(const std::string& fileName, int line, const std::string& what) {
    Raise("Import", FileLine(fileName, line) + ": " + what);
}

double ParseNumber(const std::string& text, const std::string& fileName, int line,
                   const std::string& what) {
    const auto value = NumberText::Read<double>(TextTools::Trim(text));
    if (!value)
        Refuse(fileName, line, what + " " + TextTools::Quoted(text) + " is not a number");
    return *value;
}

float ParseFloat(const FileValue& value, const std::string& fileName, const std::string& what) {
    if (value.text.empty())
        return 0.0f;
    ParseNumber(value.text, fileName, value.line, what);
    // Read as a float, not rounded twice through the double: the shortest text of a float always
    // gives that float back.
    const auto nearest = NumberText::Read<float>(TextTools::Trim(value.text));
    if (!nearest)
        Refuse(fileName, value.line, what + " " + TextTools::Quoted(value.text) + " is too large");
    return *nearest;
}

const char* KindName(int kind) {
    static const char* const names[] = {"simple", "unidirectional", "bidirectional"};
    return names[kind];
}
