#include "frmLayout.h"

#include "FormDialog.h"

#include <QComboBox>
#include <QPushButton>

namespace {

class Form : public FormDialog {
  public:
    Form(QWidget* owner, const QStringList& styles, int chosen)
        : FormDialog(owner, "frmLayout", "Layout") {
        cmbStyle = Field<QComboBox>("&Place all nodes:", "cmbStyle");
        cmbStyle->addItems(styles);
        cmbStyle->setCurrentIndex(chosen);
        connect(OkButton(), &QPushButton::clicked, this, &QDialog::accept);
        Finish(cmbStyle);
    }
    QComboBox* cmbStyle;
};

} // namespace

std::optional<int> frmLayout::ShowDialog(QWidget* owner, const QStringList& styles) {
    Form window(owner, styles, last_);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    last_ = window.cmbStyle->currentIndex();
    return last_;
}
