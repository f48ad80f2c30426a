#pragma once
// The straightforward walks: at every step try each link of the graph in order and ask the path
// whether the next node is on it. Recursive and slow, kept as the oracle that the indexed walks
// of clsLA must match path for path, and as the benchmark's baseline.

class clsLA;
class clsNode;

class ReferenceWalks {
  public:
    static void SearchAllNodes(clsLA& la, clsNode* node);
    static void SearchToDestination(clsLA& la, clsNode* node);

  private:
    using Walk = void (*)(clsLA&, clsNode*);
    static void Extend(clsLA& la, clsNode* node, Walk walk);
};
