#pragma once
// Every message box of Pathloom: titled "Pathloom", with the icon and buttons the message needs.

#include "RunHost.h"

#include <QString>

class QWidget;

namespace Platform {

inline const char* const AppTitle = "Pathloom";

enum class Buttons { Ok, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// Shows a modal message box (or answers it from the installed test script).
Answer ShowMessage(QWidget* owner, const QString& text, MessageIcon icon,
                   Buttons buttons = Buttons::Ok);

} // namespace Platform
