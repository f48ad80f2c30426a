#pragma once
// A run setting's field, made from its row in the settings registry: its caption, a list of its
// choices by their shown names, a list of the graph's nodes, or a text box read as the setting's
// type and refused with its message; enabled while the parts that the settings choose read it.
//
// Controls are named after the typed name in capitalised words ("samples" gives lblSamples and
// txtSamples, a choice's list is cmb...), so that tests and screen readers find every new one.

#include <QString>
#include <optional>

class NodeList;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class clsGraph;
struct RunSettings;
struct Setting;

class SettingField {
  public:
    struct Look {
        // The setting's own caption, or this one, which a setting without a caption needs.
        const char* caption = nullptr;
        // A dock's field has none: an access key there would take a menu's from the window.
        bool accessKey = true;
        // Nodes are picked from a list that filters and completes what is typed.
        bool searchable = true;
    };

    // The label and the field are children of parent; the caller lays them out.
    SettingField(const Setting& setting, QWidget* parent, Look look);

    const Setting& Of() const { return setting_; }
    QLabel* Label() const { return label_; }
    QWidget* Widget() const { return widget_; }

    // Offers the graph's nodes (a node setting's field only).
    void SetNodes(const clsGraph& graph);
    // Shows the setting's value as the settings hold it.
    void Show(const RunSettings& settings);
    // Reads the field into the settings; the refusal when its text is no value the setting
    // takes, and then the settings are as they were.
    std::optional<QString> Read(RunSettings& settings) const;
    // Enabled while a part the settings choose reads the setting.
    void Enable(const RunSettings& settings);

  private:
    const Setting& setting_;
    QLabel* label_ = nullptr;
    QWidget* widget_ = nullptr;
    QComboBox* choices_ = nullptr; // a choice
    NodeList* nodes_ = nullptr;    // a node
    QLineEdit* text_ = nullptr;    // anything else
};
