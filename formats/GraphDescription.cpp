#include "GraphDescription.h"

#include "LinkLength.h"
#include "PathloomError.h"

#include <charconv>
#include <cmath>
#include <string_view>

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
    const std::string key = ToLowerAscii(name);
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
    const std::string key = ToLowerAscii(name);
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

namespace {
// The number's text for from_chars, which takes no plus sign (files written by hand may have
// one); an empty view when a second sign follows it.
std::string_view Unsigned(const std::string& trimmed) {
    if (trimmed.empty() || trimmed[0] != '+')
        return trimmed;
    if (trimmed.size() > 1 && trimmed[1] == '-')
        return {};
    return std::string_view(trimmed).substr(1);
}
} // namespace

double ParseNumber(const std::string& text, const std::string& fileName, int line,
                   const std::string& what) {
    const std::string trimmed = Trim(text);
    const std::string_view digits = Unsigned(trimmed);
    const char* end = digits.data() + digits.size();
    double value = 0;
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        Refuse(fileName, line, what + " " + Quoted(text) + " is not a number");
    return value;
}

float ParseFloat(const FileValue& value, const std::string& fileName, const std::string& what) {
    if (value.text.empty())
        return 0.0f;
    const double number = ParseNumber(value.text, fileName, value.line, what);
    // Read again as a float, not rounded twice through the double: the shortest text of a
    // float always gives that float back.
    const std::string trimmed = Trim(value.text);
    const std::string_view digits = Unsigned(trimmed);
    float nearest = 0;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), nearest).ec == std::errc())
        return nearest;
    if (std::fabs(number) > 1) // out of range above; below, it is too small and rounds to 0
        Refuse(fileName, value.line, what + " " + Quoted(value.text) + " is too large");
    return static_cast<float>(number);
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20)
            quoted += c;
        else
            quoted += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : "?";
    }
    return quoted + "'";
}

std::string ToLowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Trim(const std::string& text) {
    const char* const space = " \t\r\n";
    const std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

const char* KindName(int kind) {
    static const char* const names[] = {"simple", "unidirectional", "bidirectional"};
    return names[kind];
}
