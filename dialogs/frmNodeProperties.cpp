#include "frmNodeProperties.h"

#include "DialogSupport.h"
#include "Latin1Text.h"
#include "PathloomError.h"
#include "PropertyForm.h"
#include "clsNode.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace DialogSupport;

namespace {

// The first character of the text that Latin-1 cannot hold, as the user typed it.
QString FirstOutsideLatin1(const QString& text) {
    for (char32_t c : text.toUcs4())
        if (c > 0xFF)
            return QString::fromUcs4(&c, 1);
    return {};
}

// The model's messages end their lines in CR LF; a Qt label wants LF alone.
QString MessageText(const std::string& latin1) {
    return Platform::FromLatin1(latin1).replace("\r\n", "\n");
}

} // namespace

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
        lblDegree->setText(QString("%1, %2 (in, out)").arg(inDegree).arg(outDegree));
        Finish(txtLabel);
    }

  private:
    void cmdOK_Click() {
        // The model stores Latin-1 bytes; any other character is refused here, before the node
        // sees the text.
        const std::optional<std::string> label = Platform::ToLatin1(txtLabel->text());
        if (!label) {
            ShowMessage(this,
                        QString("A node name can hold only Western European (Latin-1) "
                                "characters; \"%1\" is not one of them.")
                            .arg(FirstOutsideLatin1(txtLabel->text())),
                        MessageIcon::Exclamation);
            FocusField(txtLabel);
            return;
        }
        try {
            clsNode::CheckLabel(*label);
        } catch (const PathloomError& error) {
            ShowMessage(this, MessageText(error.Description()), MessageIcon::Critical);
            return;
        }
        result = label;
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
