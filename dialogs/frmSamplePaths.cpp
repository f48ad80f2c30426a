#include "frmSamplePaths.h"

#include "DialogSupport.h"
#include "Latin1Text.h"
#include "NumericText.h"
#include "clsGraph.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <limits>

using namespace DialogSupport;

namespace {

QString LearningText(const RunSettings& s) {
    static const char* const models[] = {"P-Model", "S-Model"};
    static const char* const schemes[] = {"LRP", "LR(E)P", "LRI"};
    const auto number = [](float value) { return QString::fromStdString(SingleText(value)); };
    return QString("Learning: %1, %2, reward %3, penalty %4, learning factor %5;\nstep delay %6 "
                   "(set in Options)")
        .arg(s.Model == 1 ? models[1] : models[0])
        .arg(s.ModelType >= 0 && s.ModelType <= 2 ? schemes[s.ModelType] : "?")
        .arg(number(s.Reward), number(s.Penalty), number(s.LearningFactor))
        .arg(s.EnableDelay ? "on" : "off");
}

} // namespace

class frmSamplePaths::Form : public QDialog {
  public:
    Form(const RunSettings& settings, const clsGraph& graph, QWidget* parent)
        : QDialog(parent), settings_(settings), graph_(graph) {
        setObjectName("frmSamplePaths");
        setWindowTitle("Sample Paths");
        auto* grid = new QGridLayout(this);
        cmbSource = Field<QComboBox>(grid, 0, "&Source:", "cmbSource");
        cmbDest = Field<QComboBox>(grid, 1, "&Destination:", "cmbDest");
        txtSamples = Field<QSpinBox>(grid, 2, "S&amples:", "txtSamples");
        txtSamples->setRange(1, 2000000000);
        txtSamples->setGroupSeparatorShown(false);
        txtSeed = Field<QLineEdit>(grid, 3, "S&eed:", "txtSeed");
        txtSeed->setValidator(
            new QRegularExpressionValidator(QRegularExpression("[0-9]{1,20}"), txtSeed));
        txtTarget = Field<QLineEdit>(grid, 4, "&Target probability:", "txtTarget");
        txtTarget->setPlaceholderText("none");
        for (QLineEdit* edit : {txtSeed, txtTarget})
            SelectAllOnFocus(edit);
        auto* lblLearning = Named(new QLabel(LearningText(settings), this), "lblLearning");
        grid->addWidget(lblLearning, 5, 0, 1, 2);

        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        auto* cmdOK = Named(new QPushButton("OK", this), "cmdOK");
        auto* cmdCancel = Named(new QPushButton("Cancel", this), "cmdCancel");
        cmdOK->setDefault(true);
        buttons->addWidget(cmdOK);
        buttons->addWidget(cmdCancel);
        grid->addLayout(buttons, 6, 0, 1, 2);
        connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
        connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

        for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
            const QString label = Platform::FromLatin1(graph.Node(i).Label());
            cmbSource->addItem(label);
            cmbDest->addItem(label);
        }
        const auto offer = [&](QComboBox* nodes, int32_t node) {
            nodes->setCurrentIndex(node >= 1 && node <= graph.NodeCount() ? node - 1 : -1);
        };
        offer(cmbSource, settings.sourceNode);
        offer(cmbDest, settings.DestNode);
        txtSamples->setValue(static_cast<int>(settings.Samples));
        txtSeed->setText(QString::number(settings.Seed));
        if (settings.Target)
            txtTarget->setText(
                QString::number(*settings.Target, 'g', QLocale::FloatingPointShortest));
        MakeFixedSize(this);
        cmbSource->setFocus();
    }

    std::optional<RunSettings> result;

  private:
    template <typename Widget>
    Widget* Field(QGridLayout* grid, int row, const char* caption, const char* name) {
        auto* label = new QLabel(caption, this);
        auto* field = Named(new Widget(this), name);
        SetBuddy(label, field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        return field;
    }

    void cmdOK_Click() {
        RunSettings s = settings_;
        s.GraphSearchMethod = SearchMethod::Sample;
        s.sourceNode = cmbSource->currentIndex() + 1;
        s.DestNode = cmbDest->currentIndex() + 1;
        s.Samples = txtSamples->value();
        bool ok = false;
        s.Seed = txtSeed->text().toULongLong(&ok);
        if (!ok)
            return Refuse("Please enter the seed as a whole number from 0 to "
                          "18446744073709551615.",
                          txtSeed);
        s.Target.reset();
        if (!txtTarget->text().trimmed().isEmpty()) {
            s.Target = txtTarget->text().trimmed().toDouble(&ok); // "." always, as in Options
            if (!ok)
                s.Target = std::numeric_limits<double>::quiet_NaN();
        }
        if (const auto refusal = s.Validate(graph_))
            return Refuse(QString::fromStdString(refusal->message), FieldOf(refusal->field));
        result = s.Normalised();
        accept();
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

    const RunSettings settings_;
    const clsGraph& graph_;
    QComboBox* cmbSource = nullptr;
    QComboBox* cmbDest = nullptr;
    QSpinBox* txtSamples = nullptr;
    QLineEdit* txtSeed = nullptr;
    QLineEdit* txtTarget = nullptr;
};

std::optional<RunSettings> frmSamplePaths::ShowDialog(QWidget* owner, const RunSettings& document,
                                                      const clsGraph& graph) {
    // The document's learning settings, with what was asked here last time.
    RunSettings offered = document;
    if (last_) {
        offered.sourceNode = last_->sourceNode;
        offered.DestNode = last_->DestNode;
        offered.Samples = last_->Samples;
        offered.Seed = last_->Seed;
        offered.Target = last_->Target;
    }
    Form window(offered, graph, owner);
    window.exec();
    if (window.result)
        last_ = window.result;
    return window.result;
}
