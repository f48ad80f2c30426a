#pragma once
// A link between two nodes of the same graph, with its kind, weight, probability and run flag.

#include "LinkLength.h"

#include <cstdint>
#include <memory>
#include <unordered_map>

class clsNode;
class DocumentWriter;
class DocumentReader;

namespace LinkKind {
constexpr int32_t Simple = 0;
constexpr int32_t Unidirectional = 1;
constexpr int32_t Bidirectional = 2;
} // namespace LinkKind

// The nodes of a graph being loaded by their stored ID; where two share an ID, the first wins.
using NodesByID = std::unordered_map<int32_t, clsNode*>;

class clsLink {
  public:
    // Not owned: both point into the graph's node collection. Null only in a broken document.
    clsNode* FromNode = nullptr;
    clsNode* ToNode = nullptr;
    int32_t LinkType = LinkKind::Simple;
    float Probability = 0.0f;
    // What Reset and every run give a simple or bidirectional link back: the probability it had
    // when the document was opened or when the user last set it. Never saved.
    float InitialProbability = 0.0f;
    float Weight = 0.0f;
    bool Flag = false; // on the path being built; never saved
    // A stochastic link's length; none for a link whose length is its weight. Shared by the
    // copies of a graph, never changed in place.
    std::shared_ptr<const LinkLength> Length;

    // Makes the link stochastic, its weight the distribution's mean rounded to a float, so that
    // whatever reads a weight sees the expected length; none makes it fixed again.
    void SetLength(std::shared_ptr<const LinkLength> length);

    // A probability the user sets: also the one Reset and every run start from.
    void SetProbability(float value) { Probability = InitialProbability = value; }

    // The 20-byte link record: the two nodes' current IDs, LinkType, Weight, Probability.
    void Save(DocumentWriter& file) const;
    // An ID that names no node leaves that end empty; the graph's InitProbability then refuses it.
    // A kind other than the three is damage and raises.
    void Load(DocumentReader& file, const NodesByID& nodeCollection);
};
