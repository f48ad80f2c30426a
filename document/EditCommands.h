#pragma once
// The edits of a document, each one undo step. A command is made from what the user chose,
// checked as it is made (a refused edit raises there and is never applied), and its undo puts
// back exactly what was there: labels, positions, places in the link order, probabilities.

#include "GraphDocument.h"
#include "RunSettings.h"
#include "clsRanges.h"

#include <array>
#include <optional>
#include <vector>

// Adding or deleting recomputes the degrees and with them every unidirectional link's
// probability, learned ones included: the undo of such an edit puts those back too.
class StructureCommand : public DocumentCommand {
  public:
    StructureCommand(GraphDocument& document, const QString& name);

  protected:
    void RestoreProbabilities();

  private:
    std::vector<float> probabilities_;
};

class AddNodeCommand : public StructureCommand {
  public:
    AddNodeCommand(GraphDocument& document, int32_t x, int32_t y);

  private:
    void Apply(bool forward) override;
    int32_t x_, y_;
};

// A node or a link as it stood in the graph, to put it back where it was.
struct LinkRecord {
    int32_t index, from, to, kind; // one-based places
    float weight, probability, initialProbability;
};
struct NodeRecord {
    int32_t index;
    std::array<char, 32> label;
    int32_t id, x, y;
};

class AddLinkCommand : public StructureCommand {
  public:
    // Raises "The node can not link to itself." or "These nodes already are linked.".
    AddLinkCommand(GraphDocument& document, int32_t from, int32_t to, int32_t kind);

  private:
    void Apply(bool forward) override;
    int32_t from_, to_, kind_;
};

// Deletes a node with its links, or a link alone (node 0).
class DeleteCommand : public StructureCommand {
  public:
    static DeleteCommand* Node(GraphDocument& document, int32_t index);
    static DeleteCommand* Link(GraphDocument& document, int32_t index);

  private:
    DeleteCommand(GraphDocument& document, const QString& name);
    void Apply(bool forward) override;
    std::optional<NodeRecord> node_;
    std::vector<LinkRecord> links_; // in link order
};

// One drag of a node, from where it was to where it was let go.
class MoveNodeCommand : public DocumentCommand {
  public:
    MoveNodeCommand(GraphDocument& document, int32_t index, int32_t fromX, int32_t fromY);

  private:
    void Apply(bool forward) override;
    int32_t index_, fromX_, fromY_, toX_, toY_;
};

// New places for every node at once: a layout.
class LayoutCommand : public DocumentCommand {
  public:
    LayoutCommand(GraphDocument& document, std::vector<clsPosition> positions);

  private:
    void Apply(bool forward) override;
    std::vector<clsPosition> before_, after_;
};

class RenameNodeCommand : public DocumentCommand {
  public:
    // Raises the label rules' message for a label no node may have.
    RenameNodeCommand(GraphDocument& document, int32_t index, const std::string& label);

  private:
    void Apply(bool forward) override;
    int32_t index_;
    std::array<char, 32> before_, after_;
};

// A link's weight and, unless it is unidirectional, its probability as the user sets them.
class LinkValuesCommand : public DocumentCommand {
  public:
    LinkValuesCommand(GraphDocument& document, int32_t index, float weight,
                      std::optional<float> probability);

  private:
    void Apply(bool forward) override;
    int32_t index_;
    LinkRecord before_, after_;
};

// The run settings of the options dialog and the ranges of the ranges dialog.
class SettingsCommand : public DocumentCommand {
  public:
    SettingsCommand(GraphDocument& document, const std::optional<RunSettings>& settings,
                    const std::optional<clsRanges>& ranges);

  private:
    void Apply(bool forward) override;
    RunSettings settingsBefore_, settingsAfter_;
    clsRanges rangesBefore_, rangesAfter_;
};

// What a run learned, or what Reset put back: the probabilities of every link before and after.
class ProbabilitiesCommand : public DocumentCommand {
  public:
    ProbabilitiesCommand(GraphDocument& document, const QString& name, std::vector<float> before);
    bool ChangesDocument() const override { return false; }
    static std::vector<float> Of(const clsGraph& graph);

  private:
    void Apply(bool forward) override;
    std::vector<float> before_, after_;
};
