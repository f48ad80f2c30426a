#include "frmSamplePaths.h"

#include "Choices.h"
#include "DialogSupport.h"
#include "FormDialog.h"
#include "NodeList.h"
#include "NumberText.h"
#include "NumericText.h"
#include "clsGraph.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

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

} // namespace

class frmSamplePaths::Form : public FormDialog {
  public:
    Form(const RunSettings& settings, const clsGraph& graph, QWidget* parent)
        : FormDialog(parent, "frmSamplePaths", "Sample Paths"), settings_(settings), graph_(graph) {
        cmbSource = Nodes("&Source:", "cmbSource");
        cmbDest = Nodes("&Destination:", "cmbDest");
        txtSamples = Field<QLineEdit>("S&amples:", "txtSamples");
        txtSeed = Field<QLineEdit>("S&eed:", "txtSeed");
        txtTarget = Field<QLineEdit>("&Target probability:", "txtTarget");
        txtTarget->setPlaceholderText("none");
        cmbThreshold = Field<QComboBox>("Re&ward threshold:", "cmbThreshold");
        cmbActionSet = Field<QComboBox>("Actio&n set:", "cmbActionSet");
        FillChoices(cmbThreshold, Choices::Thresholds, settings.Threshold);
        FillChoices(cmbActionSet, Choices::ActionSets, settings.ActionSet);
        for (QLineEdit* edit : {txtSamples, txtSeed, txtTarget})
            SelectAllOnFocus(edit);
        AddNote(Named(new QLabel(LearningText(settings), this), "lblLearning"));
        connect(OkButton(), &QPushButton::clicked, this, [this] { cmdOK_Click(); });

        cmbSource->SetNode(settings.sourceNode);
        cmbDest->SetNode(settings.DestNode);
        txtSamples->setText(QString::number(settings.Samples));
        txtSeed->setText(QString::number(settings.Seed));
        if (settings.Target)
            txtTarget->setText(QString::fromStdString(NumberText::Shortest(*settings.Target)));
        Finish(cmbSource);
    }

    std::optional<RunSettings> result;

  private:
    NodeList* Nodes(const char* caption, const char* name) {
        auto* nodes = Field<SearchableNodeList>(caption, name);
        nodes->SetNodes(graph_);
        return nodes;
    }

    void cmdOK_Click() {
        RunSettings s = settings_;
        s.GraphSearchMethod = SearchMethod::Sample;
        s.sourceNode = cmbSource->Node();
        s.DestNode = cmbDest->Node();
        bool ok = false;
        // A text that is no whole number counts as none, which the rules refuse with the range.
        s.Samples = Digits(txtSamples).toLongLong(&ok);
        s.Seed = Digits(txtSeed).toULongLong(&ok);
        const bool seedTaken = ok;
        s.Threshold = ChosenNumber(cmbThreshold, s.Threshold);
        s.ActionSet = ChosenNumber(cmbActionSet, s.ActionSet);
        s.Target.reset();
        if (!txtTarget->text().trimmed().isEmpty()) {
            // "." always, as in Options.
            s.Target = NumberText::Read<double>(txtTarget->text().trimmed().toStdString())
                           .value_or(std::numeric_limits<double>::quiet_NaN());
        }
        // In the order of the fields: the seed comes between the samples and the target.
        const auto refusal = s.Validate(graph_);
        if (refusal && refusal->field != RunSettings::Field::Target)
            return Refuse(QString::fromStdString(refusal->message), FieldOf(refusal->field));
        if (!seedTaken)
            return Refuse("Please enter the seed as a whole number from 0 to "
                          "18446744073709551615.",
                          txtSeed);
        if (refusal)
            return Refuse(QString::fromStdString(refusal->message), txtTarget);
        result = s.Normalised();
        accept();
    }

    // The field's text when it is digits alone (spaces around allowed), else nothing.
    static QString Digits(const QLineEdit* field) {
        const QString text = field->text().trimmed();
        const bool digits =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; });
        return digits ? text : QString();
    }

    void Refuse(const QString& message, QWidget* field) {
        ShowMessage(this, message, MessageIcon::Exclamation);
        if (field)
            FocusField(field);
    }

    QWidget* FieldOf(RunSettings::Field field) const {
        switch (field) {
        case RunSettings::Field::Source:
            return cmbSource;
        case RunSettings::Field::Destination:
            return cmbDest;
        case RunSettings::Field::Samples:
            return txtSamples;
        case RunSettings::Field::Target:
            return txtTarget;
        default: // the learning settings are not asked here
            return nullptr;
        }
    }

    // A node list that filters and completes what is typed into it.
    struct SearchableNodeList : NodeList {
        explicit SearchableNodeList(QWidget* parent) : NodeList(parent, true) {}
    };

    const RunSettings settings_;
    const clsGraph& graph_;
    NodeList* cmbSource = nullptr;
    NodeList* cmbDest = nullptr;
    QLineEdit* txtSamples = nullptr;
    QLineEdit* txtSeed = nullptr;
    QLineEdit* txtTarget = nullptr;
    QComboBox* cmbThreshold = nullptr;
    QComboBox* cmbActionSet = nullptr;
};

std::optional<RunSettings> frmSamplePaths::ShowDialog(QWidget* owner, const RunSettings& document,
                                                      const clsGraph& graph, bool documentNodes) {
    // The document's learning settings, with what was asked here last time.
    RunSettings offered = document;
    if (last_) {
        if (!documentNodes) {
            offered.sourceNode = last_->sourceNode;
            offered.DestNode = last_->DestNode;
        }
        offered.Samples = last_->Samples;
        offered.Seed = last_->Seed;
        offered.Target = last_->Target;
        offered.Threshold = last_->Threshold;
        offered.ActionSet = last_->ActionSet;
    }
    Form window(offered, graph, owner);
    window.exec();
    if (window.result)
        last_ = window.result;
    return window.result;
}
