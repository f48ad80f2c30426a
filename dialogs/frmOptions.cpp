#include "frmOptions.h"

#include "DialogSupport.h"
#include "Latin1Text.h"
#include "NumericText.h"
#include "clsLA.h"

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
#include <array>

using namespace DialogSupport;

namespace {

constexpr int TypeLRP = 0;
constexpr int TypeLREP = 1;
constexpr int TypeLRI = 2;

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

int SelectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

} // namespace

class frmOptions::Form : public QDialog {
  public:
    Form(frmOptions& owner, QWidget* parent) : QDialog(parent), form_(owner), la_(*owner.LA) {
        setObjectName("frmOptions");
        setWindowTitle("Options");
        Build();
        Load();
    }

  private:
    void Build() {
        auto* layout = new QVBoxLayout(this);

        // Frame "Mode&l": the environment model and the learning scheme with its numbers.
        auto* fraModel = Named(new QGroupBox("Mode&l", this), "fraModel");
        auto* modelGrid = new QGridLayout(fraModel);
        cmbModel = Named(new QComboBox(fraModel), "cmbModel");
        cmbModel->addItems({"P-Model", "S-Model"});
        cmbModel->setAccessibleName("Model");
        auto* label2 = Named(new QLabel("&Type:", fraModel), "Label2");
        lstType = Named(new QListWidget(fraModel), "lstType");
        lstType->addItems({"LRP", "LR(E)P", "LRI"});
        lstType->setSelectionMode(QAbstractItemView::SingleSelection);
        lstType->setFixedHeight(lstType->sizeHintForRow(0) * 3 + 2 * lstType->frameWidth() + 4);
        auto* label3 = Named(new QLabel("&Reward:", fraModel), "Label3");
        txtReward = Named(new QLineEdit(fraModel), "txtReward");
        lblPenalty = Named(new QLabel("&Penalty:", fraModel), "lblPenalty");
        txtPenalty = Named(new QLineEdit(fraModel), "txtPenalty");
        auto* label4 = Named(new QLabel("&Learning Factor:", fraModel), "Label4");
        txtLearningFactor = Named(new QLineEdit(fraModel), "txtLearningFactor");
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
        modelGrid->addWidget(cmdRanges, 5, 1, Qt::AlignRight);
        layout->addWidget(fraModel);

        // Frame "Graph Serach" (sic, as the program has always shown it).
        auto* fraSearch = Named(new QGroupBox("Graph Serach", this), "fraGraphSearch");
        auto* searchGrid = new QGridLayout(fraSearch);
        const std::array<const char*, 3> methods = {
            "&Include All Nodes", "&From Source To Destination", "Read Fro&m File"};
        searchGroup = new QButtonGroup(this);
        for (int i = 0; i < 3; ++i) {
            optSearchMethod[i] = new QRadioButton(methods[i], fraSearch);
            optSearchMethod[i]->setObjectName(QString("optSearchMethod%1").arg(i));
            searchGroup->addButton(optSearchMethod[i], i);
            searchGrid->addWidget(optSearchMethod[i], i, 0, 1, 3);
        }
        lblSource = Named(new QLabel("&Souce:", fraSearch), "lblSource");
        cmbSource = Named(new QComboBox(fraSearch), "cmbSource");
        lblDest = Named(new QLabel("&Destination:", fraSearch), "lblDest");
        cmbDest = Named(new QComboBox(fraSearch), "cmbDest");
        lblFilePath = Named(new QLabel("File Pat&h:", fraSearch), "lblFilePath");
        txtFilePath = Named(new PathLineEdit(fraSearch), "txtFilePath");
        cmdBrowse = Named(new QPushButton("&Browse", fraSearch), "cmdBrowse");
        SetBuddy(lblSource, cmbSource);
        SetBuddy(lblDest, cmbDest);
        SetBuddy(lblFilePath, txtFilePath);
        for (QComboBox* nodes : {cmbSource, cmbDest})
            nodes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        searchGrid->addWidget(lblSource, 3, 0);
        searchGrid->addWidget(cmbSource, 3, 1, 1, 2);
        searchGrid->addWidget(lblDest, 4, 0);
        searchGrid->addWidget(cmbDest, 4, 1, 1, 2);
        searchGrid->addWidget(lblFilePath, 5, 0);
        searchGrid->addWidget(txtFilePath, 5, 1);
        searchGrid->addWidget(cmdBrowse, 5, 2);
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
        cmbModel->setCurrentIndex(la_.Model == 0 || la_.Model == 1 ? la_.Model : -1);

        if (la_.ModelType >= TypeLRP && la_.ModelType <= TypeLRI)
            lstType->setCurrentRow(la_.ModelType);
        ApplyTypeRule();

        // The reward first: its change rule may copy it into the penalty, which then receives
        // its own stored value.
        txtReward->setText(QString::fromStdString(SingleText(la_.Reward)));
        txtPenalty->setText(QString::fromStdString(SingleText(la_.Penalty)));
        txtLearningFactor->setText(QString::fromStdString(SingleText(la_.LearningFactor)));

        if (la_.GraphSearchMethod >= 0 && la_.GraphSearchMethod <= 2) {
            optSearchMethod[la_.GraphSearchMethod]->setChecked(true);
            ApplySearchMethodRule(la_.GraphSearchMethod);
        }

        // The lists offer every node by position; the user picks the nodes again every time.
        const clsGraph& graph = la_.Graph();
        for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
            const QString label = Platform::FromLatin1(graph.Node(i).Label());
            cmbSource->addItem(label);
            cmbDest->addItem(label);
        }
        cmbSource->setCurrentIndex(-1);
        cmbDest->setCurrentIndex(-1);

        txtFilePath->setText(Platform::FromFileName(la_.FilePath));
        chkEnableDelay->setChecked(la_.EnableDelay);
    }

    void ApplyTypeRule() {
        const int type = SelectedRow(lstType);
        lblPenalty->setEnabled(type == TypeLREP);
        txtPenalty->setEnabled(type == TypeLREP);
        if (type == TypeLRP)
            txtPenalty->setText(txtReward->text());
        else if (type == TypeLRI)
            txtPenalty->setText("0");
    }

    void txtReward_Change(const QString& text) {
        if (SelectedRow(lstType) == TypeLRP)
            txtPenalty->setText(text);
    }

    void ApplySearchMethodRule(int method) {
        lblSource->setEnabled(method != 2);
        cmbSource->setEnabled(method != 2);
        lblDest->setEnabled(method == 1);
        cmbDest->setEnabled(method == 1);
        lblFilePath->setEnabled(method == 2);
        txtFilePath->setEnabled(method == 2);
        cmdBrowse->setEnabled(method == 2);
    }

    void cmdRanges_Click() {
        form_.RangesDialog.RangesToEdit = &la_.Ranges();
        form_.RangesDialog.MarkModified = form_.MarkModified;
        form_.RangesDialog.ShowDialog(this);
    }

    void cmdBrowse_Click() {
        Platform::FileDialog& dialog = form_.pathFileDialog_;
        if (!txtFilePath->text().isEmpty())
            dialog.SetFileName(txtFilePath->text());
        if (const std::optional<QString> path = dialog.ShowOpen(this))
            txtFilePath->setText(*path);
    }

    // A failed check: the message, then the focus move (none when field is null).
    void Refuse(const char* message, QWidget* field) {
        ShowMessage(this, message, MessageIcon::Exclamation);
        if (field)
            FocusField(field);
    }

    void cmdOK_Click() {
        const int type = SelectedRow(lstType);
        const int method = searchGroup->checkedId(); // -1 when none is chosen

        // Steps 1 to 4: the reward and penalty, written before the checks that follow. A number
        // past the float range counts as incorrect rather than overflowing later.
        if (!IsValidSingle(NumberText(txtReward)))
            return Refuse("Please enter Reward value correctly.", txtReward);
        const float reward = ToSingle(ReadNumber(NumberText(txtReward)));
        const float penalty = ToSingle(ReadNumber(NumberText(txtPenalty)));
        if (type == TypeLREP) {
            if (!IsValidSingle(NumberText(txtPenalty)))
                return Refuse("Please enter Penalty value correctly.", txtPenalty);
            if (!(penalty < reward))
                return Refuse("In LR(E)P type, Penalty value must be less than Reward value.",
                              txtReward);
        }
        la_.Reward = reward;
        la_.Penalty = penalty;

        // Steps 5 and 6: the learning factor must be one number as a whole ("+", "-", ".",
        // "1-2" pass the check but are none) and is written before the node checks.
        if (!IsValidNumber(NumberText(txtLearningFactor)))
            return Refuse("Please enter Learning Factor value correctly.", txtLearningFactor);
        const std::optional<float> learningFactor =
            ConvertSingleStrict(NumberText(txtLearningFactor));
        if (!learningFactor)
            return Refuse("Please enter Learning Factor value correctly.", txtLearningFactor);
        la_.LearningFactor = *learningFactor;

        // Steps 7 and 8: the nodes the chosen search method needs.
        const int source = cmbSource->currentIndex();
        const int dest = cmbDest->currentIndex();
        if ((method == 0 || method == 1) && source < 0)
            return Refuse("Please select source node.", cmbSource);
        if (method == 1) {
            if (dest < 0)
                return Refuse("Please select destination node.", cmbDest);
            if (source == dest)
                return Refuse("Source node and destination node are equal. Please select "
                              "different node.",
                              nullptr);
        }

        // Steps 9 to 14: the rest of the settings.
        if (cmbModel->currentIndex() >= 0)
            la_.Model = cmbModel->currentIndex();
        switch (type) {
        case TypeLRP:
            la_.ModelType = TypeLRP;
            la_.Reward = reward;
            la_.Penalty = reward;
            break;
        case TypeLREP:
            la_.ModelType = TypeLREP;
            la_.Reward = reward;
            la_.Penalty = penalty;
            break;
        case TypeLRI:
            la_.ModelType = TypeLRI;
            la_.Reward = reward;
            la_.Penalty = 0;
            break;
        default:
            break;
        }
        if (method >= 0)
            la_.GraphSearchMethod = method;
        // By position, so that two nodes with one label are still told apart. (With no method
        // chosen and no source picked there is no node to take.)
        if (method != 2 && source >= 0)
            la_.sourceNode = &la_.Graph().Node(source + 1);
        if (method == 1)
            la_.DestNode = &la_.Graph().Node(dest + 1);
        la_.FilePath = Platform::ToFileName(txtFilePath->text());
        la_.EnableDelay = chkEnableDelay->isChecked();

        if (form_.MarkModified)
            form_.MarkModified();
        accept();
    }

    frmOptions& form_;
    clsLA& la_;
    QComboBox* cmbModel = nullptr;
    QListWidget* lstType = nullptr;
    QLineEdit* txtReward = nullptr;
    QLabel* lblPenalty = nullptr;
    QLineEdit* txtPenalty = nullptr;
    QLineEdit* txtLearningFactor = nullptr;
    QPushButton* cmdRanges = nullptr;
    QButtonGroup* searchGroup = nullptr;
    std::array<QRadioButton*, 3> optSearchMethod{};
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

int frmOptions::ShowDialog(QWidget* owner) {
    if (!LA)
        return 0;
    Form window(*this, owner);
    return window.exec() == QDialog::Accepted ? 1 : 0;
}
