#pragma once
// The frame the two property dialogs share: a tab strip with the single tab "General" whose
// face, picPanel, holds the fields, and OK above Cancel at the right.

#include <QDialog>

class QGridLayout;
class QPushButton;
class QTabWidget;

class PropertyForm : public QDialog {
  public:
    PropertyForm(QWidget* parent, const char* objectName, const char* caption);

  protected:
    // The grid on the tab's face for the dialog's labels and fields.
    QGridLayout* Fields() const { return fields_; }
    QWidget* Panel() const { return panel_; }
    QPushButton* OkButton() const { return cmdOK_; }

    // Fixes the size and the Tab order once the fields are in place; the dialog opens with
    // firstField focused.
    void Finish(QWidget* firstField);

  private:
    QTabWidget* tabStrip_;
    QWidget* panel_;
    QGridLayout* fields_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};
