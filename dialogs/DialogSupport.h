#pragma once
// What every dialog of Pathloom shares: the focus rule of its number boxes, named and buddied
// fields, the fixed-size frame, and its messages.

#include "MessageBox.h"

#include <QString>
#include <string>

class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

namespace DialogSupport {

// The text box selects its whole text whenever it receives the focus: by Tab, by an access key,
// by a dialog moving the focus there, or by a click (a click that drags keeps its own selection).
void SelectAllOnFocus(QLineEdit* edit);

// The caption without its access-key marker and trailing colon: "&Learning Factor:" gives
// "Learning Factor".
QString PlainCaption(const QString& caption);

// Makes the label the field's buddy (its access key moves the focus to the field) and names the
// field after it for screen readers and for tests that drive the dialog from outside.
void SetBuddy(QLabel* label, QWidget* field);

// Gives a control its control name, by which tests and the accessibility tree find it.
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

// A fixed-size dialog with a close box but without minimise, maximise and help buttons.
void MakeFixedSize(QDialog* dialog);

// Moves the focus to the field after a failed check; a text box then has its whole text selected.
void FocusField(QWidget* field);

// A message box titled with the application's title, owned by the dialog.
void ShowMessage(QWidget* owner, const QString& text, MessageIcon icon);

// Numbers in text boxes are ASCII; anything else fails the check anyway.
std::string NumberText(const QLineEdit* edit);

} // namespace DialogSupport
