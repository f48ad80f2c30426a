#pragma once
// The "Experiment" dock: a run set up and started beside the canvas, which it never blocks. Its
// fields are the registry's settings, made by the dialogs' builder, with the step delay, the
// Ranges dialog and Run, Forward and Stop. A change the document stores is one undo step that
// marks it modified; a refused text gets the dialogs' message and keeps the focus.

#include "frmRanges.h"

#include <QDockWidget>
#include <QStringList>
#include <memory>
#include <vector>

class GraphDocument;
class QAction;
class QCheckBox;
class QPushButton;
class SettingField;
struct RunSettings;

class ExperimentPanel : public QDockWidget {
    Q_OBJECT
  public:
    ExperimentPanel(GraphDocument& document, QWidget* parent);
    ~ExperimentPanel() override;

    // Run is offered while `start` is; Forward and Stop press these.
    void Connect(QAction* start, QAction* forward, QAction* stop);
    // While a run works its settings stay as they are.
    void SetWorking(bool working);

  signals:
    // Run was pressed on settings that every run's rules accept.
    void RunRequested(const RunSettings& settings);

  private:
    // The document's settings and nodes as they are now; a text typed and not yet applied stays.
    void Show();
    // The field's value into the document; false when the field refuses it.
    bool Apply(SettingField& field);
    void ApplyDelay(bool on);
    void cmdRanges_Click();
    void cmdRun_Click();
    void Refuse(const QString& message, QWidget* field);

    GraphDocument& document_;
    QWidget* form_;
    std::vector<std::unique_ptr<SettingField>> fields_;
    QCheckBox* chkDelay_;
    QPushButton* cmdRun_;
    QPushButton* cmdForward_;
    QPushButton* cmdStop_;
    frmRanges rangesDialog_;
    QStringList labels_;                         // of the nodes the lists offer
    bool refusing_ = false;                      // while a message about a field is shown
    const SettingField* refusedNodes_ = nullptr; // a node list whose typed label was refused
};
