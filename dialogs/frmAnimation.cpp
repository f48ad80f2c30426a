#include "frmAnimation.h"

#include "FormDialog.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

class Form : public FormDialog {
  public:
    Form(QWidget* owner, const frmAnimation::Values& shown, const frmAnimation::Values& most)
        : FormDialog(owner, "frmAnimation", "Export Run Animation"), most_(most) {
        txtPathsPerFrame = Field<QLineEdit>("&Paths per frame:", "txtPathsPerFrame");
        txtMaxFrames = Field<QLineEdit>("&At most frames:", "txtMaxFrames");
        txtPathsPerFrame->setText(QString::number(shown.pathsPerFrame));
        txtMaxFrames->setText(QString::number(shown.maxFrames));
        auto* note = new QLabel("The run set up last (Options or Sample Paths), each frame the "
                                "path learned last in red, 10 frames a second; a longer run is "
                                "thinned to at most this many frames.",
                                this);
        note->setWordWrap(true);
        AddNote(note);
        connect(OkButton(), &QPushButton::clicked, this, [this] { cmdOK_Click(); });
        Finish(txtPathsPerFrame);
    }

    frmAnimation::Values result{};

  private:
    void cmdOK_Click() {
        const struct {
            QLineEdit* field;
            int64_t* value;
            int64_t least, most;
            const char* name;
        } fields[] = {
            {txtPathsPerFrame, &result.pathsPerFrame, 1, most_.pathsPerFrame, "paths per frame"},
            {txtMaxFrames, &result.maxFrames, 2, most_.maxFrames, "most frames"}};
        for (const auto& f : fields) {
            bool ok = false;
            *f.value = f.field->text().trimmed().toLongLong(&ok);
            if (!ok || *f.value < f.least || *f.value > f.most) {
                DialogSupport::ShowMessage(this,
                                           QString("Please enter the %1 as a whole number from "
                                                   "%2 to %3.")
                                               .arg(f.name)
                                               .arg(f.least)
                                               .arg(f.most),
                                           MessageIcon::Exclamation);
                DialogSupport::FocusField(f.field);
                return;
            }
        }
        accept();
    }

    const frmAnimation::Values most_;
    QLineEdit* txtPathsPerFrame;
    QLineEdit* txtMaxFrames;
};

} // namespace

std::optional<frmAnimation::Values> frmAnimation::ShowDialog(QWidget* owner, const Values& given,
                                                             const Values& most) {
    Form window(owner, last_.value_or(given), most);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    last_ = window.result;
    return last_;
}
