#pragma once
// Every message box of Pathloom: titled "Pathloom", with the icon and buttons the message needs.

#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

// The icons of Pathloom's messages: errors, refused input, and information.
enum class MessageIcon { Critical, Exclamation, Information };

namespace Platform {

inline const char* const AppTitle = "Pathloom";

enum class Buttons { Ok, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// Longer lines are cut for display: a label read from a path file may be megabytes long, and a
// box laying out such a line would freeze the window for minutes.
constexpr int MaxShownLine = 1000;

// The text as a box shows it: plain line feeds for CR LF, overlong lines cut.
QString ShownText(const QString& text);

// Room a title bar needs besides the title's text: the window's icon and its buttons.
constexpr int MinTitleBarExtra = 160;

// The box ShowMessage shows, not yet shown: titled, with icon and buttons, wide enough for its
// title.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text, MessageIcon icon,
                                            Buttons buttons = Buttons::Ok);

// Shows a modal message box (or answers it from the installed test script).
Answer ShowMessage(QWidget* owner, const QString& text, MessageIcon icon,
                   Buttons buttons = Buttons::Ok);

} // namespace Platform
