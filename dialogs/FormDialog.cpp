#include "FormDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

FormDialog::FormDialog(QWidget* parent, const char* objectName, const QString& title)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form_->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form_->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(form_);
    layout->addStretch();
    // The box orders the buttons as the desktop does (OK first or last).
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = DialogSupport::Named(buttons->button(QDialogButtonBox::Ok), "cmdOK");
    QPushButton* cancel =
        DialogSupport::Named(buttons->button(QDialogButtonBox::Cancel), "cmdCancel");
    // Some desktops give the standard buttons icons; the other dialogs have none.
    for (QPushButton* button : {ok_, cancel})
        button->setIcon(QIcon());
    ok_->setDefault(true);
    layout->addWidget(buttons);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FormDialog::Finish(QWidget* firstField) {
    DialogSupport::MakeFixedSize(this);
    firstField->setFocus();
}
