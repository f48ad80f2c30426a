#pragma once
// Edit > Find...: a node by its label. The typed text picks the nodes of exactly that label, else
// those whose labels contain it (letter case aside); of them, the first after the node given, so
// that finding again goes on to the next. The live window ("frmFind") has the node list cmbFind
// (it completes what is typed), cmdOK ("&Find") and cmdCancel.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class QWidget;
class clsGraph;

class frmFind {
  public:
    // The node found (one-based), or nothing after Cancel; a text no label holds is refused
    // with a message and the dialog stays open. Offers the text found last.
    std::optional<int32_t> ShowDialog(QWidget* owner, const clsGraph& graph, int32_t after);

    // The place (0-based) among the labels that the text finds after `after` (0-based, -1 for
    // before the first), or -1.
    static int Find(const QStringList& labels, const QString& text, int after);

  private:
    QString last_;
};
