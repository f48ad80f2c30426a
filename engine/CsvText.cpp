#include "CsvText.h"

#include "FloatText.h"
#include "Latin1.h"
#include "clsGraph.h"

#include <cmath>
#include <map>

namespace CsvText {

void AppendNumber(std::string& out, float value) {
    if (std::isfinite(value))
        out += FloatText::Shortest(value);
}

void AppendNumber(std::string& out, double value) {
    if (std::isfinite(value))
        out += FloatText::Shortest(value);
}

void AppendNumber(std::string& out, int64_t value) {
    out += std::to_string(value);
}

void AppendField(std::string& out, const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::vector<std::string> LinkColumns(const clsGraph& graph) {
    std::vector<std::string> names;
    std::map<std::string, int> uses;
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        names.push_back(Latin1::ToUtf8(link.FromNode->Label()) + "->" +
                        Latin1::ToUtf8(link.ToNode->Label()));
        ++uses[names.back()];
    }
    for (std::size_t j = 0; j < names.size(); ++j) {
        if (uses[names[j]] > 1)
            names[j] += " #" + std::to_string(j + 1);
    }
    return names;
}

} // namespace CsvText
