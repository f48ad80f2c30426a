#include "frmLinkProperties.h"

#include "DialogSupport.h"
#include "NumericText.h"
#include "PropertyChecks.h"
#include "PropertyForm.h"
#include "clsLink.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace DialogSupport;

class frmLinkProperties::Form : public PropertyForm {
  public:
    Form(float weight, float probability, int32_t kind, const LinkLength* length, QWidget* parent)
        : PropertyForm(parent, "frmLinkProperties", "Link Properties"), kind_(kind) {
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

        txtWeight->setText(PropertyChecks::LengthText(weight, length));
        txtWeight->setToolTip("A number, or a distribution: discrete(v:p, ...), uniform(a, b), "
                              "normal(mean, sd) or exponential(mean)");
        txtProbability->setText(QString::fromStdString(SingleText(probability)));
        // A unidirectional link's probability is 1 / out-degree of its start, never edited.
        const bool editable = kind_ != LinkKind::Unidirectional;
        label2->setEnabled(editable);
        txtProbability->setEnabled(editable);
        Finish(txtWeight);
    }

  private:
    // A failed check: the message, then the focus move.
    void Refuse(const QString& message, QWidget* field) {
        ShowMessage(this, message, MessageIcon::Exclamation);
        FocusField(field);
    }

    void cmdOK_Click() {
        const auto length = PropertyChecks::LengthOf(txtWeight->text());
        if (const auto* refusal = std::get_if<PropertyChecks::Refusal>(&length))
            return Refuse(refusal->message, txtWeight);
        std::optional<float> probability;
        if (kind_ != LinkKind::Unidirectional) {
            const auto typed = PropertyChecks::Probability(txtProbability->text());
            if (const auto* refusal = std::get_if<PropertyChecks::Refusal>(&typed))
                return Refuse(refusal->message, txtProbability);
            probability = std::get<float>(typed);
        }
        const auto& [weight, distribution] = std::get<PropertyChecks::Length>(length);
        result = Values{weight, probability, distribution};
        accept();
    }

  public:
    std::optional<Values> result;

  private:
    int32_t kind_;
    QLineEdit* txtWeight = nullptr;
    QLineEdit* txtProbability = nullptr;
};

std::optional<frmLinkProperties::Values> frmLinkProperties::ShowDialog(QWidget* owner, float weight,
                                                                       float probability,
                                                                       int32_t kind,
                                                                       const LinkLength* length) {
    Form window(weight, probability, kind, length, owner);
    window.exec();
    return window.result;
}
