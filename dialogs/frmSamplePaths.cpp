#include "frmSamplePaths.h"

#include "Choices.h"
#include "DialogSupport.h"
#include "FormDialog.h"
#include "NumericText.h"
#include "SettingField.h"
#include "SettingRegistry.h"
#include "clsGraph.h"

#include <QLabel>
#include <QPushButton>
#include <memory>
#include <vector>

using namespace DialogSupport;

namespace {

QString LearningText(const RunSettings& s) {
    // A model that is no choice is named as the P-model; a scheme that is none as "?".
    const Choices::Row* model = Choices::Models.Of(s.Model);
    const Choices::Row* scheme = Choices::Schemes.Of(s.ModelType);
    const auto number = [](float value) { return QString::fromStdString(SingleText(value)); };
    return QString("Learning: %1, %2, reward %3, penalty %4, learning factor %5;\nstep delay %6 "
                   "(set in Options)")
        .arg((model ? model : Choices::Models.Of(Model::P))->shown)
        .arg(scheme ? scheme->shown : "?")
        .arg(number(s.Reward), number(s.Penalty), number(s.LearningFactor))
        .arg(s.EnableDelay ? "on" : "off");
}

// What the dialog asks: what sampling reads, and an experiment's choices.
bool Asked(const Setting& setting) {
    const Choices::Row& sampling = *Choices::SearchMethods.Of(SearchMethod::Sample);
    return setting.ReadBy(sampling) || setting.sweep == Setting::Sweep::Experiment;
}

} // namespace

class frmSamplePaths::Form : public FormDialog {
  public:
    Form(const RunSettings& settings, const clsGraph& graph, QWidget* parent)
        : FormDialog(parent, "frmSamplePaths", "Sample Paths"), settings_(settings), graph_(graph) {
        settings_.GraphSearchMethod = SearchMethod::Sample;
        for (const Setting& setting : SettingRegistry::All()) {
            if (!Asked(setting))
                continue;
            auto& field = fields_.emplace_back(
                std::make_unique<SettingField>(setting, this, SettingField::Look{}));
            if (setting.type == Setting::Type::Node)
                field->SetNodes(graph);
            field->Show(settings_);
            field->Enable(settings_);
            AddRow(field->Label(), field->Widget());
        }
        // The name it has always had.
        FieldOf(&SettingRegistry::Of(&RunSettings::Target))->setObjectName("txtTarget");
        AddNote(Named(new QLabel(LearningText(settings), this), "lblLearning"));
        connect(OkButton(), &QPushButton::clicked, this, [this] { cmdOK_Click(); });
        Finish(fields_.front()->Widget());
    }

    std::optional<RunSettings> result;

  private:
    // Each field's own check in their order, then the rules of every run.
    void cmdOK_Click() {
        RunSettings s = settings_;
        for (const auto& field : fields_) {
            if (const auto refusal = field->Read(s))
                return Refuse(*refusal, field->Widget());
        }
        if (const auto refusal = s.Validate(graph_))
            return Refuse(QString::fromStdString(refusal->message), FieldOf(refusal->setting));
        result = s.Normalised();
        accept();
    }

    void Refuse(const QString& message, QWidget* field) {
        ShowMessage(this, message, MessageIcon::Exclamation);
        if (field)
            FocusField(field);
    }

    QWidget* FieldOf(const Setting* setting) const {
        for (const auto& field : fields_) {
            if (&field->Of() == setting)
                return field->Widget();
        }
        return nullptr; // not asked here
    }

    RunSettings settings_;
    const clsGraph& graph_;
    std::vector<std::unique_ptr<SettingField>> fields_;
};

std::optional<RunSettings> frmSamplePaths::ShowDialog(QWidget* owner, const RunSettings& document,
                                                      const clsGraph& graph, bool documentNodes) {
    // The document's learning settings, with what was asked here last time.
    RunSettings offered = document;
    if (last_) {
        for (const Setting& setting : SettingRegistry::All()) {
            if (Asked(setting) && (setting.type != Setting::Type::Node || !documentNodes))
                setting.Set(offered, setting.Get(*last_));
        }
    }
    Form window(offered, graph, owner);
    window.exec();
    if (window.result)
        last_ = window.result;
    return window.result;
}
