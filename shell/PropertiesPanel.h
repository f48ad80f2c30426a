#pragma once
// The "Properties" dock: the selection edited in place. A node shows its label, place and degree;
// a link its kind, weight or distribution and probability; links chosen together take one weight
// or distribution at once. Enter applies a field as one undo step, after the property dialogs'
// checks; a refused text gets their message and keeps the focus.

#include "Selection.h"

#include <QDockWidget>
#include <cstdint>
#include <functional>
#include <vector>

class GraphDocument;
class QLabel;
class QLineEdit;
class QStackedWidget;

class PropertiesPanel : public QDockWidget {
    Q_OBJECT
  public:
    PropertiesPanel(GraphDocument& document, QWidget* parent);

    // Shows the selection's values as the document holds them now. While it shows the same
    // nodes and links, a field the user has typed into keeps what was typed.
    void Show(const Selection& selection);

  private:
    // What the panel shows: one node, one or more links, or nothing to edit.
    struct Shown {
        int32_t node = -1;
        std::vector<int32_t> links;
        bool operator==(const Shown& other) const {
            return node == other.node && links == other.links;
        }
    };

    QLineEdit* AddField(class QFormLayout* form, const char* caption, const char* name,
                        std::function<void()> apply);
    void ShowNode(bool same);
    void ShowLinks(bool same);
    // Enter in a field: its check, then one undo step; nothing when the text is as shown.
    void ApplyLabel();
    void ApplyPlace(QLineEdit* field);
    void ApplyWeight();
    void ApplyProbability();
    void Refuse(const QString& message, bool critical, QLineEdit* field);

    GraphDocument& document_;
    Shown shown_;
    QStackedWidget* pages_;
    QLabel* lblNothing_;
    QLineEdit* txtLabel_;
    QLineEdit* txtX_;
    QLineEdit* txtY_;
    QLabel* lblDegree_;
    QLabel* lblKind_;
    QLineEdit* txtWeight_;
    QLineEdit* txtProbability_;
    QLabel* lblProbability_;
};
