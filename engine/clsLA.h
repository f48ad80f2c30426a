#pragma once
// The learning automaton engine: owns the graph, the answer ranges and the settings of a run,
// and runs the walks that learn from every path they find.

#include "WalkIndex.h"
#include "clsGraph.h"
#include "clsPathFile.h"
#include "clsPathStack.h"
#include "clsRanges.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class RunHost;
class DocumentWriter;
class DocumentReader;

namespace SearchMethod {
constexpr int32_t IncludeAllNodes = 0;
constexpr int32_t SourceToDestination = 1;
constexpr int32_t ReadFromFile = 2;
} // namespace SearchMethod

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

    // Settings. Model: 0 P-model, 1 S-model. ModelType: 0 LRP, 1 LR(E)P, 2 LRI.
    int32_t Model = 0;
    int32_t ModelType = 0;
    float Reward = 0.0f;
    float Penalty = 0.0f;
    float LearningFactor = 0.0f;
    int32_t GraphSearchMethod = SearchMethod::IncludeAllNodes;
    clsNode* sourceNode = nullptr; // not owned: a node of Graph()
    clsNode* DestNode = nullptr;   // not owned: a node of Graph()
    std::string FilePath;
    bool EnableDelay = false;

    // Empties the graph and the ranges and zeroes the five stored settings; the search method,
    // its nodes, the path file and the delay flag stay.
    void Clear();

    // The whole run: options dialog, reset, the chosen walk, the end message. Reports everything
    // to the host itself; never throws.
    void Start(RunHost& host);

    // Paths found by the current or last run.
    int16_t PathCount() const { return pathCount_; }

    // Walks by the straightforward scan over all links at every step: the same paths in the same
    // order with the same learning, kept as the test oracle and the benchmark's baseline.
    bool UseReferenceWalks = false;

    // The learning step: judges CurrentPath by its cost and updates the probabilities of its
    // links and their siblings. Start calls it for every path; tests call it on paths they build.
    void LearnFromPath();
    clsPathStack& CurrentPath() { return currentPath_; }
    const clsPathStack& CurrentPath() const { return currentPath_; }
    // P-model: the cheapest cost so far; S-model: the previous path's cost.
    float ReferenceCost() const { return referenceCost_; }
    bool FirstPath() const { return firstPath_; }

    // The five settings, then the graph, then the ranges, in the document's byte layout.
    void Save(DocumentWriter& file);
    void Load(DocumentReader& file);

  private:
    friend class ReferenceWalks;

    void Run(RunHost& host, bool& busy);
    void SearchAllNodes(clsNode* node);
    void SearchToDestination(clsNode* node);
    void Walk(clsNode* source, bool toDestination);
    void F_Trace();
    void MergeLink(const std::u32string& fromLabel, const std::u32string& toLabel);
    // Counts the path on CurrentPath, learns from it and pauses or keeps the host responsive.
    void PathFound();
    // Called every few thousand steps of a walk without step delay; true when the host stops.
    bool StepCheck();
    const WalkIndex& Index();
    template <typename WalkedUpdate, typename SiblingUpdate>
    void UpdatePath(WalkedUpdate walked, SiblingUpdate sibling);

    clsGraph graph_;
    clsRanges ranges_;
    clsPathStack currentPath_;
    clsPathFile pathReader_;
    int16_t pathCount_ = 0;
    bool stopRequested_ = false;
    float referenceCost_ = 0.0f;
    bool firstPath_ = true;
    RunHost* host_ = nullptr; // set only while Start runs
    uint32_t steps_ = 0;
    // Built when a run begins; outside a run the learning step builds it for each path.
    WalkIndex index_;
    bool indexForRun_ = false;
    // Folded "from NUL to" labels to the first link joining them, built by the first MergeLink.
    std::unordered_map<std::string, clsLink*> linksByLabels_;
    bool linksByLabelsReady_ = false;
};
