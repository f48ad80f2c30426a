#pragma once
// The edits of a document, each one undo step. A command is made from what the user chose,
// checked as it is made (a refused edit raises there and is never applied), and its undo puts
// back exactly what was there: labels, positions, places in the link order, probabilities.

#include "GraphDocument.h"
#include "RunSettings.h"
#include "clsRanges.h"

#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
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

// A node or a link as it stood in the graph, to put it back where it was. (Named apart from the
// import's records: two classes of one name would break the program in subtle ways.)
struct LinkEntry {
    int32_t index, from, to, kind; // one-based places
    float weight, probability, initialProbability;
    std::shared_ptr<const LinkLength> length; // a stochastic link's distribution
};
struct NodeEntry {
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

// Deletes nodes with their links, and links alone.
class DeleteCommand : public StructureCommand {
  public:
    static DeleteCommand* Node(GraphDocument& document, int32_t index);
    static DeleteCommand* Link(GraphDocument& document, int32_t index);
    // Any nodes and links (one-based, each once), as one step.
    static DeleteCommand* Many(GraphDocument& document, const std::vector<int32_t>& nodes,
                               const std::vector<int32_t>& links, const QString& name);

  private:
    DeleteCommand(GraphDocument& document, const QString& name);
    void Apply(bool forward) override;
    std::vector<NodeEntry> nodes_; // in node order
    std::vector<LinkEntry> links_; // in link order
    RunSettings settings_;         // whose source and destination a deleted node may have been
};

// Nodes and links from elsewhere (the clipboard) added after the graph's own, as one step. Their
// labels are made unique where they would repeat one of the graph's or each other's ("A" becomes
// "A_2"). They land with their centre at `centre` when given, else where they were, moved by 20
// pixels right and down as often as it takes not to lie exactly on nodes already there.
class PasteCommand : public StructureCommand {
  public:
    // What a paste needs of the graph, taken from it so that a large paste can be worked out on
    // another thread while the graph may change: its counts, its nodes' places (unless the paste
    // is centred) and its labels, folded.
    struct Target {
        int32_t nodeCount = 0, linkCount = 0;
        std::set<std::pair<int32_t, int32_t>> occupied;
        std::unordered_set<std::string> taken;
    };
    // What the paste adds.
    struct Plan {
        std::vector<NodeEntry> nodes; // the new nodes, at their places in the graph
        std::vector<LinkEntry> links; // ends are places in the graph
    };
    static Target TargetOf(const clsGraph& graph, bool centred);
    static Plan PlanOf(Target target, const clsGraph& piece, std::optional<clsPosition> centre);

    // The plan must have been made from the graph as it is now.
    PasteCommand(GraphDocument& document, Plan plan);
    PasteCommand(GraphDocument& document, const clsGraph& piece,
                 std::optional<clsPosition> centre = std::nullopt);
    // The pasted nodes and links, one-based, as the graph holds them after the paste.
    std::vector<int32_t> Nodes() const;
    std::vector<int32_t> Links() const;

  private:
    void Apply(bool forward) override;
    Plan plan_;
};

// Nodes put at new places by one gesture: a drag, or a layout of them all. The moves of one
// gesture (one number from the document's NewGesture) merge into one undo step, and a gesture
// that ends where it began leaves none; a gesture of 0 never merges.
class MoveNodesCommand : public DocumentCommand {
  public:
    struct Place {
        int32_t node; // one-based
        clsPosition at;
    };
    MoveNodesCommand(GraphDocument& document, std::vector<Place> places, int gesture = 0,
                     const QString& name = "Move Node");
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

  private:
    void Apply(bool forward) override;
    int gesture_;
    std::vector<Place> before_, after_;
};

// New places for every node at once.
class LayoutCommand : public MoveNodesCommand {
  public:
    LayoutCommand(GraphDocument& document, const std::vector<clsPosition>& positions);
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

// Links' weight or distribution and, unless a link is unidirectional, its probability as the user
// sets them, for one link or for several at once. A distribution makes the weight its mean; none
// makes the link fixed.
class LinkValuesCommand : public DocumentCommand {
  public:
    LinkValuesCommand(GraphDocument& document, int32_t index, float weight,
                      std::optional<float> probability,
                      std::shared_ptr<const LinkLength> length = nullptr);
    // Links one-based, each once; the probability applies to those that are not unidirectional.
    LinkValuesCommand(GraphDocument& document, const std::vector<int32_t>& links, float weight,
                      std::optional<float> probability,
                      std::shared_ptr<const LinkLength> length = nullptr);

  private:
    struct Values {
        int32_t index;
        float weight, probability, initialProbability;
        std::shared_ptr<const LinkLength> length;
    };
    void Apply(bool forward) override;
    std::vector<Values> before_, after_;
};

// The run settings of the options dialog and the ranges of the ranges dialog; or the settings
// another command changed, under its name ("Set as Source").
class SettingsCommand : public DocumentCommand {
  public:
    // Settings a document does not keep (`stored` off) are undone alike but leave it unmodified.
    SettingsCommand(GraphDocument& document, const std::optional<RunSettings>& settings,
                    const std::optional<clsRanges>& ranges, const QString& name = QString(),
                    bool stored = true);
    bool ChangesDocument() const override { return stored_; }

  private:
    void Apply(bool forward) override;
    bool stored_;
    RunSettings settingsBefore_, settingsAfter_;
    clsRanges rangesBefore_, rangesAfter_;
};

// What a run learned: the probabilities of every link before and after.
class ProbabilitiesCommand : public DocumentCommand {
  public:
    ProbabilitiesCommand(GraphDocument& document, const QString& name, std::vector<float> before,
                         std::vector<float> after);
    bool ChangesDocument() const override { return false; }
    static std::vector<float> Of(const clsGraph& graph);

  protected:
    void Apply(bool forward) override;

  private:
    std::vector<float> before_, after_;
};

// Reset: every link back at the probability each run starts from, none flagged. Like a run, it
// leaves the document unmodified.
class ResetCommand : public ProbabilitiesCommand {
  public:
    explicit ResetCommand(GraphDocument& document);

  private:
    void Apply(bool forward) override;
};
