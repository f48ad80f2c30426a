#include "frmRanges.h"

#include "DialogSupport.h"
#include "NumericText.h"
#include "clsRanges.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace DialogSupport;

class frmRanges::Form : public QDialog {
  public:
    Form(const clsRanges& ranges, QWidget* parent) : QDialog(parent), ranges_(ranges) {
        setObjectName("frmRanges");
        setWindowTitle("Ranges");
        Build();
        Load();
    }

  private:
    void Build() {
        auto* layout = new QVBoxLayout(this);

        lvwRange = Named(new QTreeWidget(this), "lvwRange");
        lvwRange->setAccessibleName("Ranges table");
        lvwRange->setColumnCount(3);
        lvwRange->setHeaderLabels({"Start", "End", "Answer"});
        lvwRange->setRootIsDecorated(false);
        lvwRange->setItemsExpandable(false);
        lvwRange->setUniformRowHeights(true);
        lvwRange->setSelectionMode(QAbstractItemView::SingleSelection);
        lvwRange->setSelectionBehavior(QAbstractItemView::SelectRows);
        lvwRange->setAllColumnsShowFocus(true);
        lvwRange->setSortingEnabled(false);
        // The flat header: its sections are captions only, not buttons.
        lvwRange->header()->setSectionsClickable(false);
        lvwRange->header()->setSectionsMovable(false);
        lvwRange->header()->setHighlightSections(false);
        lvwRange->header()->setStretchLastSection(false);
        lvwRange->setColumnWidth(0, 110);
        lvwRange->setColumnWidth(1, 110);
        lvwRange->setColumnWidth(2, 55);
        lvwRange->setMinimumSize(300, 160);
        layout->addWidget(lvwRange);

        auto* frame = Named(new QGroupBox("&Ranges", this), "fraRanges");
        auto* grid = new QGridLayout(frame);
        auto* label2 = Named(new QLabel("&Start", frame), "Label2");
        auto* label3 = Named(new QLabel("&End", frame), "Label3");
        auto* label4 = Named(new QLabel("A&nswer", frame), "Label4");
        txtStart = Named(new QLineEdit(frame), "txtStart");
        txtEnd = Named(new QLineEdit(frame), "txtEnd");
        txtAnswer = Named(new QLineEdit(frame), "txtAnswer");
        SetBuddy(label2, txtStart);
        SetBuddy(label3, txtEnd);
        SetBuddy(label4, txtAnswer);
        for (QLineEdit* edit : {txtStart, txtEnd, txtAnswer})
            SelectAllOnFocus(edit);
        grid->addWidget(label2, 0, 0);
        grid->addWidget(label3, 0, 1);
        grid->addWidget(label4, 0, 2);
        grid->addWidget(txtStart, 1, 0);
        grid->addWidget(txtEnd, 1, 1);
        grid->addWidget(txtAnswer, 1, 2);
        auto* editButtons = new QHBoxLayout;
        cmdAdd = Named(new QPushButton("&Add", frame), "cmdAdd");
        cmdDelete = Named(new QPushButton("&Delete", frame), "cmdDelete");
        cmdClearAll = Named(new QPushButton("Clear &All", frame), "cmdClearAll");
        editButtons->addWidget(cmdAdd);
        editButtons->addWidget(cmdDelete);
        editButtons->addWidget(cmdClearAll);
        editButtons->addStretch();
        grid->addLayout(editButtons, 2, 0, 1, 3);
        layout->addWidget(frame);

        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        cmdOK = Named(new QPushButton("&OK", this), "cmdOK");
        cmdCancel = Named(new QPushButton("&Cancel", this), "cmdCancel");
        cmdOK->setDefault(true);
        buttons->addWidget(cmdOK);
        buttons->addWidget(cmdCancel);
        layout->addLayout(buttons);
        MakeFixedSize(this);

        connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
        connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
        connect(cmdClearAll, &QPushButton::clicked, lvwRange, &QTreeWidget::clear);
        connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
        connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    }

    void AddRow(const std::string& start, const std::string& end, const std::string& answer) {
        auto* item = new QTreeWidgetItem(lvwRange);
        item->setText(0, QString::fromStdString(start));
        item->setText(1, QString::fromStdString(end));
        item->setText(2, QString::fromStdString(answer));
    }

  public:
    clsRanges result;

  private:
    void Load() {
        const clsRanges& ranges = ranges_;
        for (int32_t i = 1; i <= ranges.RangeCount(); ++i) {
            const clsRange& range = ranges.Range(i);
            AddRow(SingleText(range.StartNumber), SingleText(range.EndNumber),
                   SingleText(range.Answer));
        }
    }

    // A failed check: the message, then the focus move (none when field is null).
    void Refuse(const char* message, QWidget* field) {
        ShowMessage(this, message, MessageIcon::Exclamation);
        if (field)
            FocusField(field);
    }

    void cmdAdd_Click() {
        // The bounds are kept as 32-bit floats on OK, so a number past the float range counts
        // as an incorrect value here rather than overflowing later.
        if (!IsValidSingle(NumberText(txtStart)))
            return Refuse("Please enter Start value correctly.", txtStart);
        if (!IsValidSingle(NumberText(txtEnd)))
            return Refuse("Please enter End value correctly.", txtEnd);
        const double start = ReadNumber(NumberText(txtStart));
        const double end = ReadNumber(NumberText(txtEnd));
        if (!(start < end))
            return Refuse("Start value must be less than End value.", nullptr);
        if (!IsValidNumber(NumberText(txtAnswer)))
            return Refuse("Please enter Answer value correctly.", txtAnswer);
        const double answer = ReadNumber(NumberText(txtAnswer));
        if (!(answer >= 0 && answer <= 1))
            return Refuse("Answer value can take a number between 0 and 1.", txtAnswer);

        AddRow(DoubleText(start), DoubleText(end), DoubleText(answer));
        txtStart->clear();
        txtEnd->clear();
        txtAnswer->clear();
    }

    void cmdDelete_Click() {
        const QList<QTreeWidgetItem*> selected = lvwRange->selectedItems();
        if (!selected.isEmpty())
            delete selected.front();
    }

    void cmdOK_Click() {
        clsRanges& ranges = result;
        for (int row = 0; row < lvwRange->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = lvwRange->topLevelItem(row);
            auto value = [item](int column) {
                return ToSingle(ReadNumber(item->text(column).toStdString()));
            };
            ranges.AddRange(value(0), value(1), value(2));
        }
        accept();
    }

    const clsRanges& ranges_;
    QTreeWidget* lvwRange = nullptr;
    QLineEdit* txtStart = nullptr;
    QLineEdit* txtEnd = nullptr;
    QLineEdit* txtAnswer = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdClearAll = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

std::optional<clsRanges> frmRanges::ShowDialog(QWidget* owner, const clsRanges& ranges) {
    Form window(ranges, owner);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.result;
}
