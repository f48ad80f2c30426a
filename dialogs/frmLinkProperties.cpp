#include "frmLinkProperties.h"

#include "DialogSupport.h"
#include "NumericText.h"
#include "PathloomError.h"
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

        txtWeight->setText(QString::fromStdString(length ? length->Text() : SingleText(weight)));
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
        // A distribution's own message says what is wrong with it.
        std::shared_ptr<const LinkLength> length;
        const std::string typed = txtWeight->text().toStdString();
        if (LinkLength::LooksLikeDistribution(typed)) {
            try {
                length = std::make_shared<const LinkLength>(LinkLength::Parse(typed));
            } catch (const PathloomError& e) {
                return Refuse(QString::fromStdString(e.Description()), txtWeight);
            }
        } else if (!IsValidSingle(NumberText(txtWeight))) {
            // Both are stored as 32-bit floats: a number past that range counts as incorrect.
            return Refuse("Please enter Weight value correctly.", txtWeight);
        }
        std::optional<float> probability;
        if (kind_ != LinkKind::Unidirectional) {
            if (!IsValidSingle(NumberText(txtProbability)))
                return Refuse("Please enter Probability value correctly.", txtProbability);
            probability = ToSingle(ReadNumber(NumberText(txtProbability)));
        }
        const float weight = length ? static_cast<float>(length->Mean())
                                    : ToSingle(ReadNumber(NumberText(txtWeight)));
        result = Values{weight, probability, length};
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
