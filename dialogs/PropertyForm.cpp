#include "PropertyForm.h"

#include "DialogSupport.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

PropertyForm::PropertyForm(QWidget* parent, const char* objectName, const char* caption)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);

    auto* layout = new QHBoxLayout(this);
    tabStrip_ = new QTabWidget(this);
    tabStrip_->setObjectName("TabStrip");
    panel_ = new QWidget;
    panel_->setObjectName("picPanel");
    fields_ = new QGridLayout(panel_);
    fields_->setColumnMinimumWidth(1, 150);
    tabStrip_->addTab(panel_, "General");
    layout->addWidget(tabStrip_);

    auto* buttons = new QVBoxLayout;
    cmdOK_ = new QPushButton("&OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton("&Cancel", this);
    cmdCancel_->setObjectName("cmdCancel");
    buttons->addSpacing(tabStrip_->tabBar()->sizeHint().height());
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void PropertyForm::Finish(QWidget* firstField) {
    fields_->setRowStretch(fields_->rowCount(), 1);
    DialogSupport::MakeFixedSize(this);

    // Tab order: the tab strip, the fields in the order they were made, then OK and Cancel.
    QWidget* previous = tabStrip_;
    for (QWidget* field : panel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (field->focusPolicy() & Qt::TabFocus) {
            setTabOrder(previous, field);
            previous = field;
        }
    }
    setTabOrder(previous, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);

    // The dialog opens with the first field focused and its text selected.
    DialogSupport::FocusField(firstField);
}
