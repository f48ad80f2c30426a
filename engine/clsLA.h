#pragma once
// The document's engine: the graph, the S-model answer ranges and the run settings, and their
// place in a "plm" document. Runs are RunSessions over its graph.

#include "RunSettings.h"
#include "clsGraph.h"
#include "clsRanges.h"

#include <string>

class DocumentWriter;
class DocumentReader;

class clsLA {
  public:
    clsLA() = default;
    clsLA(const clsLA&) = delete;
    clsLA& operator=(const clsLA&) = delete;

    // Neither is ever replaced: New and Open empty them through Clear.
    clsGraph& Graph() { return graph_; }
    const clsGraph& Graph() const { return graph_; }
    clsRanges& Ranges() { return ranges_; }
    const clsRanges& Ranges() const { return ranges_; }

    // The model, scheme and its numbers are stored in the document; the rest lives in memory.
    RunSettings Settings;

    // The extension records of kinds this version does not know, as the document gave them (kind,
    // size, bytes, in their order): written back by every save, so that a later version's data
    // survives this one.
    std::string KeptRecords;

    // Empties the graph, the ranges and the kept records and gives the stored settings their
    // defaults (the nodes none); the search method, the path file and the delay flag stay.
    void Clear();

    // Deletes the node and its links; the run settings go on naming the same nodes (none for the
    // deleted one).
    void DeleteNode(int32_t index);

    // The five stored settings, then the graph, then the ranges, in the document's byte layout.
    void Save(DocumentWriter& file);
    void Load(DocumentReader& file);

  private:
    clsGraph graph_;
    clsRanges ranges_;
};
