#include "frmOptions.h"

#include "Choices.h"
#include "DialogSupport.h"
#include "Latin1Text.h"
#include "NodeList.h"
#include "NumericText.h"
#include "SettingField.h"
#include "SettingRegistry.h"
#include "clsGraph.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>
#include <memory>
#include <vector>

using namespace DialogSupport;

namespace {

// The path box keeps the cursor where it is when it gets the focus: unlike the number boxes it
// does not select its text, not even by Tab or an access key as a line edit otherwise would.
class PathLineEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusInEvent(QFocusEvent* event) override {
        const bool hadSelection = hasSelectedText();
        const int cursor = cursorPosition();
        QLineEdit::focusInEvent(event);
        if (!hadSelection && hasSelectedText()) {
            deselect();
            setCursorPosition(cursor);
        }
    }
};

// What the dialog asks beside its own fields: the settings no search method reads.
bool AskedBeside(const Setting& setting) {
    using SettingRegistry::Of;
    const Setting* const own[] = {&Of(&RunSettings::ModelType), &Of(&RunSettings::Reward),
                                  &Of(&RunSettings::Penalty), &Of(&RunSettings::LearningFactor)};
    return setting.shown && !setting.ReadThrough(Of(&RunSettings::GraphSearchMethod)) &&
           std::find(std::begin(own), std::end(own), &setting) == std::end(own);
}

// The items hold the numbers of their choices.
int SelectedChoice(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->data(Qt::UserRole).toInt();
}

} // namespace

class frmOptions::Form : public QDialog {
  public:
    Form(frmOptions& owner, QWidget* parent, const RunSettings& settings, const clsGraph& graph,
         const clsRanges& ranges)
        : QDialog(parent), form_(owner), settings_(settings), graph_(graph), ranges_(ranges) {
        setObjectName("frmOptions");
        setWindowTitle("Options");
        Build();
        Load();
    }

    Result result;

    // The lists start at the settings' nodes (as far as the graph has them).
    void OfferNodes() {
        for (const auto& [list, node] :
             {std::pair{cmbSource, settings_.sourceNode}, std::pair{cmbDest, settings_.DestNode}})
            list->setCurrentIndex(node >= 1 && node <= list->count() ? node - 1 : -1);
    }

  private:
    void Build() {
        auto* layout = new QVBoxLayout(this);

        // Frame "Mode&l": the environment model and the learning scheme with its numbers.
        auto* fraModel = Named(new QGroupBox("Mode&l", this), "fraModel");
        auto* modelGrid = new QGridLayout(fraModel);
        cmbModel = Named(new QComboBox(fraModel), "cmbModel");
        for (const Choices::Row& model : Choices::Models)
            cmbModel->addItem(model.shown, model.number);
        cmbModel->setAccessibleName("Model");
        auto* label2 = Named(new QLabel("&Type:", fraModel), "Label2");
        lstType = Named(new QListWidget(fraModel), "lstType");
        for (const Choices::Row& scheme : Choices::Schemes) {
            auto* item = new QListWidgetItem(scheme.shown, lstType);
            item->setData(Qt::UserRole, scheme.number);
        }
        lstType->setSelectionMode(QAbstractItemView::SingleSelection);
        lstType->setFixedHeight(lstType->sizeHintForRow(0) * lstType->count() +
                                2 * lstType->frameWidth() + 4);
        auto* label3 = Named(new QLabel("&Reward:", fraModel), "Label3");
        txtReward = Named(new QLineEdit(fraModel), "txtReward");
        lblPenalty = Named(new QLabel("&Penalty:", fraModel), "lblPenalty");
        txtPenalty = Named(new QLineEdit(fraModel), "txtPenalty");
        auto* label4 = Named(new QLabel("&Learning Factor:", fraModel), "Label4");
        txtLearningFactor = Named(new QLineEdit(fraModel), "txtLearningFactor");
        for (const Setting& setting : SettingRegistry::All()) {
            if (AskedBeside(setting))
                beside_.push_back(std::make_unique<SettingField>(
                    setting, fraModel, SettingField::Look{nullptr, true, false}));
        }
        cmdRanges = Named(new QPushButton("Ran&ges", fraModel), "cmdRanges");
        SetBuddy(label2, lstType);
        SetBuddy(label3, txtReward);
        SetBuddy(lblPenalty, txtPenalty);
        SetBuddy(label4, txtLearningFactor);
        for (QLineEdit* edit : {txtReward, txtPenalty, txtLearningFactor})
            SelectAllOnFocus(edit);
        modelGrid->addWidget(cmbModel, 0, 0, 1, 2);
        modelGrid->addWidget(label2, 1, 0, Qt::AlignTop);
        modelGrid->addWidget(lstType, 1, 1);
        modelGrid->addWidget(label3, 2, 0);
        modelGrid->addWidget(txtReward, 2, 1);
        modelGrid->addWidget(lblPenalty, 3, 0);
        modelGrid->addWidget(txtPenalty, 3, 1);
        modelGrid->addWidget(label4, 4, 0);
        modelGrid->addWidget(txtLearningFactor, 4, 1);
        int row = 5;
        for (const auto& field : beside_) {
            modelGrid->addWidget(field->Label(), row, 0);
            modelGrid->addWidget(field->Widget(), row++, 1);
        }
        modelGrid->addWidget(cmdRanges, row, 1, Qt::AlignRight);
        layout->addWidget(fraModel);

        // "Serach" is kept misspelt on purpose: the program has always shown it so.
        auto* fraSearch = Named(new QGroupBox("Graph Serach", this), "fraGraphSearch");
        auto* searchGrid = new QGridLayout(fraSearch);
        searchGroup = new QButtonGroup(this);
        row = 0;
        for (const Choices::Row& method : Choices::SearchMethods) {
            if (!method.shown) // offered by a dialog of its own
                continue;
            auto* button = new QRadioButton(method.shown, fraSearch);
            button->setObjectName(QString("optSearchMethod%1").arg(method.number));
            searchGroup->addButton(button, method.number);
            searchGrid->addWidget(button, row++, 0, 1, 3);
        }
        lblSource = Named(new QLabel("&Souce:", fraSearch), "lblSource"); // "Souce", as always
        // Typing a label picks that node before those whose labels only start so.
        cmbSource = Named(new NodeList(fraSearch, false), "cmbSource");
        lblDest = Named(new QLabel("&Destination:", fraSearch), "lblDest");
        cmbDest = Named(new NodeList(fraSearch, false), "cmbDest");
        lblFilePath = Named(new QLabel("File Pat&h:", fraSearch), "lblFilePath");
        txtFilePath = Named(new PathLineEdit(fraSearch), "txtFilePath");
        cmdBrowse = Named(new QPushButton("&Browse", fraSearch), "cmdBrowse");
        SetBuddy(lblSource, cmbSource);
        SetBuddy(lblDest, cmbDest);
        SetBuddy(lblFilePath, txtFilePath);
        for (QComboBox* nodes : {cmbSource, cmbDest})
            nodes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        searchGrid->addWidget(lblSource, row, 0);
        searchGrid->addWidget(cmbSource, row, 1, 1, 2);
        searchGrid->addWidget(lblDest, row + 1, 0);
        searchGrid->addWidget(cmbDest, row + 1, 1, 1, 2);
        searchGrid->addWidget(lblFilePath, row + 2, 0);
        searchGrid->addWidget(txtFilePath, row + 2, 1);
        searchGrid->addWidget(cmdBrowse, row + 2, 2);
        searchGrid->setColumnStretch(1, 1);
        layout->addWidget(fraSearch);

        chkEnableDelay =
            Named(new QCheckBox("&Enable Delay (Step by step)", this), "chkEnableDelay");
        layout->addWidget(chkEnableDelay);

        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        cmdOK = Named(new QPushButton("&OK", this), "cmdOK");
        cmdCancel = Named(new QPushButton("&Cancel", this), "cmdCancel");
        cmdOK->setDefault(true);
        buttons->addWidget(cmdOK);
        buttons->addWidget(cmdCancel);
        layout->addLayout(buttons);
        MakeFixedSize(this);
        setMinimumWidth(320);

        // Connected before loading: setting a value at load runs its rule, as the user's
        // change would.
        connect(lstType, &QListWidget::itemSelectionChanged, this, [this] { ApplyTypeRule(); });
        connect(cmbModel, &QComboBox::currentIndexChanged, this, [this] { EnableBeside(); });
        connect(txtReward, &QLineEdit::textChanged, this,
                [this](const QString& text) { txtReward_Change(text); });
        connect(searchGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
            if (checked)
                ApplySearchMethodRule(id);
        });
        connect(cmdRanges, &QPushButton::clicked, this, [this] { cmdRanges_Click(); });
        connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
        connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
        connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    }

    void Load() {
        const RunSettings& s = settings_;
        // A number that is no choice leaves its field without one.
        cmbModel->setCurrentIndex(cmbModel->findData(s.Model));

        for (int row = 0; row < lstType->count(); ++row) {
            if (lstType->item(row)->data(Qt::UserRole).toInt() == s.ModelType)
                lstType->setCurrentRow(row);
        }
        ApplyTypeRule();

        // The reward first: its change rule may copy it into the penalty, which then receives
        // its own stored value.
        txtReward->setText(QString::fromStdString(SingleText(s.Reward)));
        txtPenalty->setText(QString::fromStdString(SingleText(s.Penalty)));
        txtLearningFactor->setText(QString::fromStdString(SingleText(s.LearningFactor)));
        for (const auto& field : beside_)
            field->Show(s);

        if (QAbstractButton* method = searchGroup->button(s.GraphSearchMethod)) {
            method->setChecked(true);
            ApplySearchMethodRule(s.GraphSearchMethod);
        }

        // The lists offer every node by position; the user picks the nodes again every time.
        for (int32_t i = 1; i <= graph_.NodeCount(); ++i) {
            const QString label = Platform::FromLatin1(graph_.Node(i).Label());
            cmbSource->addItem(label);
            cmbDest->addItem(label);
        }
        cmbSource->setCurrentIndex(-1);
        cmbDest->setCurrentIndex(-1);

        txtFilePath->setText(Platform::FromFileName(s.FilePath));
        chkEnableDelay->setChecked(s.EnableDelay);
    }

    void ApplyTypeRule() {
        const int type = SelectedChoice(lstType);
        lblPenalty->setEnabled(type == Scheme::LREP);
        txtPenalty->setEnabled(type == Scheme::LREP);
        if (type == Scheme::LRP)
            txtPenalty->setText(txtReward->text());
        else if (type == Scheme::LRI)
            txtPenalty->setText("0");
        EnableBeside();
    }

    // The fields beside the specified ones are enabled while the parts chosen read them.
    void EnableBeside() {
        const RunSettings entered = Entered();
        for (const auto& field : beside_)
            field->Enable(entered);
    }

    void txtReward_Change(const QString& text) {
        if (SelectedChoice(lstType) == Scheme::LRP)
            txtPenalty->setText(text);
    }

    void ApplySearchMethodRule(int method) {
        const bool toDestination = method == SearchMethod::SourceToDestination;
        const bool fromFile = method == SearchMethod::ReadFromFile;
        lblSource->setEnabled(!fromFile);
        cmbSource->setEnabled(!fromFile);
        lblDest->setEnabled(toDestination);
        cmbDest->setEnabled(toDestination);
        lblFilePath->setEnabled(fromFile);
        txtFilePath->setEnabled(fromFile);
        cmdBrowse->setEnabled(fromFile);
        EnableBeside();
    }

    // What the ranges dialog commits stays committed, whatever this dialog then ends with.
    void cmdRanges_Click() {
        if (auto edited = form_.RangesDialog.ShowDialog(this, result.ranges.value_or(ranges_)))
            result.ranges = std::move(edited);
    }

    void cmdBrowse_Click() {
        Platform::FileDialog& dialog = form_.pathFileDialog_;
        if (!txtFilePath->text().isEmpty())
            dialog.SetFileName(txtFilePath->text());
        if (const std::optional<QString> path = dialog.ShowOpen(this))
            txtFilePath->setText(*path);
    }

    // The settings as the fields show them; a number that the fields do not hold as a number
    // is not finite, which the rules refuse with that field's message.
    RunSettings Entered() const {
        constexpr float NoNumber = std::numeric_limits<float>::quiet_NaN();
        const auto single = [](const QLineEdit* edit) {
            return IsValidSingle(NumberText(edit)) ? ToSingle(ReadNumber(NumberText(edit)))
                                                   : NoNumber;
        };
        RunSettings s = settings_;
        if (cmbModel->currentIndex() >= 0)
            s.Model = cmbModel->currentData().toInt();
        const int type = SelectedChoice(lstType);
        if (type >= 0)
            s.ModelType = type;
        s.Reward = single(txtReward);
        s.Penalty = single(txtPenalty);
        for (const auto& field : beside_)
            field->Read(s); // a text it refuses leaves the setting as it was, until OK
        // The learning factor must be one number as a whole: "+", "-", ".", "1-2" pass the check
        // but are none.
        s.LearningFactor =
            IsValidNumber(NumberText(txtLearningFactor))
                ? ConvertSingleStrict(NumberText(txtLearningFactor)).value_or(NoNumber)
                : NoNumber;
        const int method = searchGroup->checkedId(); // -1 when none is chosen
        if (method >= 0)
            s.GraphSearchMethod = method;
        // By position, so that two nodes with one label are still told apart; 0 when none is
        // picked, which names no node.
        if (method != SearchMethod::ReadFromFile)
            s.sourceNode = cmbSource->currentIndex() + 1;
        if (method == SearchMethod::SourceToDestination)
            s.DestNode = cmbDest->currentIndex() + 1;
        s.FilePath = Platform::ToFileName(txtFilePath->text());
        s.EnableDelay = chkEnableDelay->isChecked();
        return s;
    }

    void cmdOK_Click() {
        RunSettings entered = Entered();
        if (const auto refusal = entered.Validate(graph_))
            return Refuse(QString::fromStdString(refusal->message), FieldOf(refusal->setting));
        for (const auto& field : beside_) {
            if (const auto refusal = field->Read(entered))
                return Refuse(*refusal, field->Widget());
        }
        result.settings = entered.Normalised();
        accept();
    }

    void Refuse(const QString& message, QWidget* field) {
        ShowMessage(this, message, MessageIcon::Exclamation);
        if (field)
            FocusField(field);
    }

    QWidget* FieldOf(const Setting* setting) const {
        using SettingRegistry::Of;
        const std::pair<const Setting*, QWidget*> own[] = {
            {&Of(&RunSettings::Reward), txtReward},
            {&Of(&RunSettings::Penalty), txtPenalty},
            {&Of(&RunSettings::LearningFactor), txtLearningFactor},
            {&Of(&RunSettings::sourceNode), cmbSource},
            {&Of(&RunSettings::DestNode), cmbDest}};
        for (const auto& [shown, field] : own) {
            if (shown == setting)
                return field;
        }
        for (const auto& field : beside_) {
            if (&field->Of() == setting)
                return field->Widget();
        }
        return nullptr; // no field's, or not asked here
    }

    frmOptions& form_;
    const RunSettings settings_;
    const clsGraph& graph_;
    const clsRanges& ranges_;
    QComboBox* cmbModel = nullptr;
    std::vector<std::unique_ptr<SettingField>> beside_;
    QListWidget* lstType = nullptr;
    QLineEdit* txtReward = nullptr;
    QLabel* lblPenalty = nullptr;
    QLineEdit* txtPenalty = nullptr;
    QLineEdit* txtLearningFactor = nullptr;
    QPushButton* cmdRanges = nullptr;
    QButtonGroup* searchGroup = nullptr;
    QLabel* lblSource = nullptr;
    QComboBox* cmbSource = nullptr;
    QLabel* lblDest = nullptr;
    QComboBox* cmbDest = nullptr;
    QLabel* lblFilePath = nullptr;
    QLineEdit* txtFilePath = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QCheckBox* chkEnableDelay = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

frmOptions::frmOptions() : pathFileDialog_("Test Files (*.txt);;All Files (*)", "txt") {}

frmOptions::Result frmOptions::ShowDialog(QWidget* owner, const RunSettings& settings,
                                          const clsGraph& graph, const clsRanges& ranges,
                                          bool offerNodes) {
    Form window(*this, owner, settings, graph, ranges);
    if (offerNodes)
        window.OfferNodes();
    window.exec();
    return window.result;
}
