#include "LinkColumns.h"

#include "Latin1.h"
#include "clsGraph.h"

#include <map>

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
