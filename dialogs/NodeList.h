#pragma once
// A list of the graph's nodes to pick one from. Typing a label picks the node of exactly that
// label before any whose label only starts so ("P1" before "P10"), letter case aside. A
// searchable list also takes typing as a filter: the nodes whose labels contain the text are
// offered to complete it, so that a graph of hundreds of nodes stays easy to pick from.

#include <QComboBox>
#include <QElapsedTimer>
#include <cstdint>

class clsGraph;

class NodeList : public QComboBox {
  public:
    NodeList(QWidget* parent, bool searchable);

    void SetNodes(const clsGraph& graph);
    // One-based, 0 for none (nothing picked, or a typed text that is no node's label); two
    // nodes of one label are told apart by their places in the list.
    int32_t Node() const;
    // Picks the node, or none for an index outside the graph.
    void SetNode(int32_t node);

    // The item that typing `typed` picks while `current` is picked: the first of exactly that
    // label, else the first that starts with it from the current one on (after it for a first
    // key; from the top when none is picked), else the current one. Letter case is ignored.
    static int Pick(const QStringList& labels, const QString& typed, int current);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString typed_;
    QElapsedTimer sinceKey_;
};
