#pragma once
// Labels and messages are Latin-1 bytes in the model; the window shows them as QString.

#include <QString>
#include <optional>
#include <string>

namespace Platform {

QString FromLatin1(const std::string& text);

// The Latin-1 bytes of the text, or nothing when a character lies outside Latin-1.
std::optional<std::string> ToLatin1(const QString& text);

// A message from the model or the engine: mostly ASCII, with labels in Latin-1 and file names in
// UTF-8. Valid UTF-8 is read as UTF-8, anything else as Latin-1.
QString FromMessageText(const std::string& text);

// Qt wants UTF-8 file names on this platform; the engine takes them as they are.
std::string ToFileName(const QString& path);
QString FromFileName(const std::string& path);

} // namespace Platform
