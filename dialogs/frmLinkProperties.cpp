#include "frmLinkProperties.h"

#include "DialogSupport.h"
#include "NumericText.h"
#include "PropertyForm.h"
#include "clsLink.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace DialogSupport;

class frmLinkProperties::Form : public PropertyForm {
  public:
    Form(clsLink& link, QWidget* parent)
        : PropertyForm(parent, "frmLinkProperties", "Link Properties"), link_(link) {
        auto* label1 = new QLabel("&Weight:", Panel());
        label1->setObjectName("Label1");
        txtWeight = new QLineEdit(Panel());
        txtWeight->setObjectName("txtWeight");
        auto* label2 = new QLabel("&Probability:", Panel());
        label2->setObjectName("Label2");
        txtProbability = new QLineEdit(Panel());
        txtProbability->setObjectName("txtProbability");
        SetBuddy(label1, txtWeight);
        SetBuddy(label2, txtProbability);
        SelectAllOnFocus(txtWeight);
        SelectAllOnFocus(txtProbability);
        Fields()->addWidget(label1, 0, 0);
        Fields()->addWidget(txtWeight, 0, 1);
        Fields()->addWidget(label2, 1, 0);
        Fields()->addWidget(txtProbability, 1, 1);
        connect(OkButton(), &QPushButton::clicked, this, [this] { cmdOK_Click(); });

        txtWeight->setText(QString::fromStdString(SingleText(link_.Weight)));
        txtProbability->setText(QString::fromStdString(SingleText(link_.Probability)));
        // A unidirectional link's probability is 1 / out-degree of its start, never edited.
        const bool editable = link_.LinkType != LinkKind::Unidirectional;
        label2->setEnabled(editable);
        txtProbability->setEnabled(editable);
        Finish(txtWeight);
    }

  private:
    // A failed check: the message, then the focus move.
    void Refuse(const char* message, QWidget* field) {
        ShowMessage(this, message, MessageIcon::Exclamation);
        FocusField(field);
    }

    void cmdOK_Click() {
        // Both are stored as 32-bit floats: a number past that range counts as incorrect.
        if (!IsValidSingle(NumberText(txtWeight)))
            return Refuse("Please enter Weight value correctly.", txtWeight);
        if (link_.LinkType != LinkKind::Unidirectional) {
            if (!IsValidSingle(NumberText(txtProbability)))
                return Refuse("Please enter Probability value correctly.", txtProbability);
            link_.SetProbability(ToSingle(ReadNumber(NumberText(txtProbability))));
        }
        link_.Weight = ToSingle(ReadNumber(NumberText(txtWeight)));
        accept();
    }

    clsLink& link_;
    QLineEdit* txtWeight = nullptr;
    QLineEdit* txtProbability = nullptr;
};

int frmLinkProperties::ShowDialog(QWidget* owner) {
    if (!LinkToEdit)
        return 0;
    Form window(*LinkToEdit, owner);
    return window.exec() == QDialog::Accepted ? 1 : 0;
}
