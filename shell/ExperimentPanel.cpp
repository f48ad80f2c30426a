#include "ExperimentPanel.h"

#include "DialogSupport.h"
#include "EditCommands.h"
#include "GraphDocument.h"
#include "Latin1Text.h"
#include "NodeList.h"
#include "SettingField.h"
#include "SettingRegistry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace DialogSupport;

namespace {

// Captions of the settings that the dialogs ask by their own controls.
const char* CaptionOf(const Setting& setting) {
    if (&setting == &SettingRegistry::Of(&RunSettings::GraphSearchMethod))
        return "Run kind";
    if (&setting == &SettingRegistry::Of(&RunSettings::Model))
        return "Model";
    return nullptr;
}

} // namespace

ExperimentPanel::ExperimentPanel(GraphDocument& document, QWidget* parent)
    : QDockWidget("Experiment", parent), document_(document), form_(new QWidget) {
    setObjectName("ExperimentPanel");
    toggleViewAction()->setObjectName("mnuExperimentPanel");
    toggleViewAction()->setText("E&xperiment");

    auto* rows = new QFormLayout(form_);
    for (const Setting& setting : SettingRegistry::All()) {
        SettingField& field = *fields_.emplace_back(std::make_unique<SettingField>(
            setting, form_, SettingField::Look{CaptionOf(setting), false, true}));
        rows->addRow(field.Label(), field.Widget());
        if (auto* text = qobject_cast<QLineEdit*>(field.Widget())) {
            // On Enter or on leaving the field; the text as shown makes no step.
            connect(text, &QLineEdit::editingFinished, this, [this, &field, text] {
                if (text->isModified())
                    Apply(field);
            });
        } else {
            auto* list = static_cast<QComboBox*>(field.Widget());
            // A label typed into a node list is applied as its box is left; Enter there also
            // activates the entry picked before, which is not what the box names.
            connect(list, &QComboBox::activated, this, [this, &field, list](int entry) {
                if (list->itemText(entry) == list->currentText())
                    Apply(field);
            });
            if (list->isEditable()) {
                connect(list->lineEdit(), &QLineEdit::editingFinished, this,
                        [this, &field] { Apply(field); });
                connect(list->lineEdit(), &QLineEdit::textEdited, this, [this, &field] {
                    if (refusedNodes_ == &field)
                        refusedNodes_ = nullptr;
                });
            }
        }
    }
    // The sampled run has a dialog of its own, whose name it takes here.
    auto* kinds = static_cast<QComboBox*>(
        fields_[SettingRegistry::Index(SettingRegistry::Of(&RunSettings::GraphSearchMethod))]
            ->Widget());
    kinds->setItemText(kinds->findData(SearchMethod::Sample), "Sample Paths");

    auto* cmdRanges = Named(new QPushButton("Ranges...", form_), "cmdRanges");
    rows->addRow(QString(), cmdRanges);
    chkDelay_ = Named(new QCheckBox("Enable Delay (Step by step)", form_), "chkEnableDelay");
    rows->addRow(chkDelay_);
    connect(cmdRanges, &QPushButton::clicked, this, [this] { cmdRanges_Click(); });
    connect(chkDelay_, &QCheckBox::clicked, this, [this](bool on) { ApplyDelay(on); });

    auto* buttons = new QHBoxLayout;
    cmdRun_ = Named(new QPushButton("Run"), "cmdRun");
    cmdForward_ = Named(new QPushButton("Forward"), "cmdForward");
    cmdStop_ = Named(new QPushButton("Stop"), "cmdStop");
    for (QPushButton* button : {cmdRun_, cmdForward_, cmdStop_})
        buttons->addWidget(button);
    connect(cmdRun_, &QPushButton::clicked, this, [this] { cmdRun_Click(); });

    // Taller than the window leaves room for, it scrolls.
    auto* scroll = new QScrollArea;
    scroll->setWidget(form_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* contents = new QWidget(this);
    auto* layout = new QVBoxLayout(contents);
    layout->addWidget(scroll);
    layout->addLayout(buttons);
    setWidget(contents);

    connect(&document_, &GraphDocument::Changed, this, [this] { Show(); });
    Show();
}

ExperimentPanel::~ExperimentPanel() = default;

void ExperimentPanel::Connect(QAction* start, QAction* forward, QAction* stop) {
    const auto follow = [](QAction* action, QPushButton* button) {
        button->setEnabled(action->isEnabled());
        connect(action, &QAction::changed, button,
                [action, button] { button->setEnabled(action->isEnabled()); });
    };
    follow(start, cmdRun_);
    follow(forward, cmdForward_);
    follow(stop, cmdStop_);
    connect(cmdForward_, &QPushButton::clicked, forward, &QAction::trigger);
    connect(cmdStop_, &QPushButton::clicked, stop, &QAction::trigger);
}

void ExperimentPanel::SetWorking(bool working) {
    form_->setEnabled(!working);
}

void ExperimentPanel::Show() {
    const clsGraph& graph = document_.Graph();
    QStringList labels;
    for (int32_t i = 1; i <= graph.NodeCount(); ++i)
        labels << Platform::FromLatin1(graph.Node(i).Label());
    const bool newNodes = labels != labels_;
    labels_ = labels;
    // Under LRP and LRI the scheme gives the penalty.
    const RunSettings settings = document_.Settings().Normalised();
    for (const auto& field : fields_) {
        if (field->Of().type == Setting::Type::Node && newNodes)
            field->SetNodes(graph);
        const auto* text = qobject_cast<QLineEdit*>(field->Widget());
        if (!text || !text->isModified())
            field->Show(settings);
        field->Enable(settings);
    }
    SettingField& penalty =
        *fields_[SettingRegistry::Index(SettingRegistry::Of(&RunSettings::Penalty))];
    penalty.Widget()->setEnabled(settings.ModelType == Scheme::LREP);
    penalty.Label()->setEnabled(settings.ModelType == Scheme::LREP);
    chkDelay_->setChecked(settings.EnableDelay);
}

bool ExperimentPanel::Apply(SettingField& field) {
    if (refusing_)
        return false;
    if (auto* text = qobject_cast<QLineEdit*>(field.Widget()))
        text->setModified(false);
    // A label typed into a node list names a node, or nothing when cleared.
    const auto* nodes = dynamic_cast<NodeList*>(field.Widget());
    if (nodes && nodes->Node() == 0 && !nodes->currentText().isEmpty()) {
        // Told once until the label is edited: Enter and leaving the list each end its editing.
        if (refusedNodes_ != &field) {
            refusedNodes_ = &field;
            Refuse(QString("No node is labelled \"%1\".").arg(nodes->currentText()),
                   field.Widget());
        }
        return false;
    }
    RunSettings settings = document_.Settings();
    if (const auto refusal = field.Read(settings)) {
        Refuse(*refusal, field.Widget());
        return false;
    }
    const Setting& setting = field.Of();
    if (setting.Get(settings) == setting.Get(document_.Settings()))
        return true;
    // A setting the document does not keep is undone like one it keeps, but changes nothing
    // a save would write.
    document_.Do(new SettingsCommand(document_, settings, std::nullopt,
                                     PlainCaption(field.Label()->text()),
                                     setting.storage.kind != Setting::Storage::Memory));
    return true;
}

void ExperimentPanel::ApplyDelay(bool on) {
    RunSettings settings = document_.Settings();
    settings.EnableDelay = on;
    document_.Do(new SettingsCommand(document_, settings, std::nullopt, "Step Delay", false));
}

void ExperimentPanel::cmdRanges_Click() {
    if (auto edited = rangesDialog_.ShowDialog(this, document_.Ranges()))
        document_.Do(new SettingsCommand(document_, std::nullopt, std::move(edited)));
}

void ExperimentPanel::cmdRun_Click() {
    // A text typed and not yet applied is applied first, or refused (a label again).
    for (const auto& field : fields_) {
        const auto* text = qobject_cast<QLineEdit*>(field->Widget());
        const auto* nodes = dynamic_cast<NodeList*>(field->Widget());
        if (refusedNodes_ == field.get())
            refusedNodes_ = nullptr;
        const bool unnamed = nodes && nodes->Node() == 0 && !nodes->currentText().isEmpty();
        if (((text && text->isModified()) || unnamed) && !Apply(*field))
            return;
    }
    const RunSettings& settings = document_.Settings();
    if (const auto refusal = settings.Validate(document_.Graph())) {
        QWidget* field = nullptr;
        if (refusal->setting)
            field = fields_[SettingRegistry::Index(*refusal->setting)]->Widget();
        return Refuse(QString::fromStdString(refusal->message), field);
    }
    emit RunRequested(settings.Normalised());
}

void ExperimentPanel::Refuse(const QString& message, QWidget* field) {
    // The field loses the focus to the message and gets it back: no second look at it.
    refusing_ = true;
    ShowMessage(this, message, MessageIcon::Exclamation);
    if (auto* text = qobject_cast<QLineEdit*>(field))
        text->setModified(true);
    if (field)
        FocusField(field);
    refusing_ = false;
}
