#pragma once
// The frame of the newer dialogs (Sample Paths, Layout): labelled fields in a form on the left, a
// note below them, and OK and Cancel at the bottom right in the desktop's order, without icons.

#include "DialogSupport.h"

#include <QDialog>
#include <QFormLayout>
#include <QLabel>

class QDialogButtonBox;
class QPushButton;

class FormDialog : public QDialog {
  public:
    FormDialog(QWidget* parent, const char* objectName, const QString& title);

  protected:
    // A row of the form: the caption (with its access key) as the field's buddy, and the field.
    template <typename Widget> Widget* Field(const char* caption, const char* name) {
        auto* label = new QLabel(caption, this);
        auto* field = DialogSupport::Named(new Widget(this), name);
        DialogSupport::SetBuddy(label, field);
        form_->addRow(label, field);
        return field;
    }
    // A row of a caption and a field made elsewhere.
    void AddRow(QLabel* label, QWidget* field) { form_->addRow(label, field); }
    // A text across the form's width, below its fields.
    void AddNote(QWidget* note) { form_->addRow(note); }
    // Runs the dialog's check; Cancel rejects.
    QPushButton* OkButton() const { return ok_; }
    // Fixes the size; the dialog opens with firstField focused.
    void Finish(QWidget* firstField);

  private:
    QFormLayout* form_;
    QPushButton* ok_;
};
