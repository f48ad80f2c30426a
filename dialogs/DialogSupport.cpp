#include "DialogSupport.h"

#include "MessageBox.h"

#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QObject>

namespace DialogSupport {

namespace {

class SelectAllFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Events still come while the field is being destroyed, when it is no longer one.
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (!edit)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
            switch (static_cast<QFocusEvent*>(event)->reason()) {
            case Qt::MouseFocusReason:
                // The press that gave the focus places the cursor afterwards; select on release.
                selectOnRelease_ = true;
                break;
            case Qt::TabFocusReason:
            case Qt::BacktabFocusReason:
            case Qt::ShortcutFocusReason:
            case Qt::OtherFocusReason:
                edit->selectAll();
                break;
            default:
                // The window becoming active again, or a context menu closing, is no new focus:
                // keep the selection the user left.
                break;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (selectOnRelease_ && !edit->hasSelectedText())
                edit->selectAll();
            selectOnRelease_ = false;
            break;
        case QEvent::FocusOut:
            selectOnRelease_ = false;
            break;
        default:
            break;
        }
        return false;
    }

  private:
    bool selectOnRelease_ = false;
};

} // namespace

void SelectAllOnFocus(QLineEdit* edit) {
    edit->installEventFilter(new SelectAllFilter(edit));
}

QString PlainCaption(const QString& caption) {
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i; // "&&" stands for one "&"; "&x" for x with its access key
        plain += caption[i];
    }
    if (plain.endsWith(':'))
        plain.chop(1);
    return plain;
}

void SetBuddy(QLabel* label, QWidget* field) {
    label->setBuddy(field);
    field->setAccessibleName(PlainCaption(label->text()));
}

void MakeFixedSize(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    dialog->setSizeGripEnabled(false);
    if (dialog->layout())
        dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void FocusField(QWidget* field) {
    field->setFocus(Qt::OtherFocusReason);
    // Also when the window is not active yet (a message box just closed): the selection is made
    // now and kept when the window's activation gives the field its focus.
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
}

void ShowMessage(QWidget* owner, const QString& text, MessageIcon icon) {
    Platform::ShowMessage(owner, text, icon);
}

std::string NumberText(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace DialogSupport
