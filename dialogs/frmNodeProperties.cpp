#include "frmNodeProperties.h"

#include "DialogSupport.h"
#include "Latin1Text.h"
#include "PropertyChecks.h"
#include "PropertyForm.h"
#include "clsNode.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace DialogSupport;

class frmNodeProperties::Form : public PropertyForm {
  public:
    Form(const std::string& label, int16_t inDegree, int16_t outDegree, QWidget* parent)
        : PropertyForm(parent, "frmNodeProperties", "Node Properties") {
        auto* label1 = new QLabel("&Label:", Panel());
        label1->setObjectName("Label1");
        txtLabel = new QLineEdit(Panel());
        txtLabel->setObjectName("txtLabel");
        txtLabel->setMaxLength(clsNode::LabelFieldSize);
        SetBuddy(label1, txtLabel);
        SelectAllOnFocus(txtLabel);
        auto* label2 = new QLabel("Degree:", Panel());
        label2->setObjectName("Label2");
        lblDegree = new QLabel(Panel());
        lblDegree->setObjectName("lblDegree");
        Fields()->addWidget(label1, 0, 0);
        Fields()->addWidget(txtLabel, 0, 1);
        Fields()->addWidget(label2, 1, 0);
        Fields()->addWidget(lblDegree, 1, 1);
        connect(OkButton(), &QPushButton::clicked, this, [this] { cmdOK_Click(); });

        txtLabel->setText(Platform::FromLatin1(label));
        lblDegree->setText(PropertyChecks::DegreeText(inDegree, outDegree));
        Finish(txtLabel);
    }

  private:
    void cmdOK_Click() {
        auto label = PropertyChecks::Label(txtLabel->text());
        if (const auto* refusal = std::get_if<PropertyChecks::Refusal>(&label)) {
            ShowMessage(this, refusal->message, refusal->icon);
            // A label the rules refuse leaves the focus where it was, as it always has.
            if (refusal->icon == MessageIcon::Exclamation)
                FocusField(txtLabel);
            return;
        }
        result = std::move(std::get<std::string>(label));
        accept();
    }

  public:
    std::optional<std::string> result;

  private:
    QLineEdit* txtLabel = nullptr;
    QLabel* lblDegree = nullptr;
};

std::optional<std::string> frmNodeProperties::ShowDialog(QWidget* owner, const std::string& label,
                                                         int16_t inDegree, int16_t outDegree) {
    Form window(label, inDegree, outDegree, owner);
    window.exec();
    return window.result;
}
