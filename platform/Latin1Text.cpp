#include "Latin1Text.h"

#include "Latin1.h"

#include <QFile>

namespace Platform {

QString FromLatin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<std::string> ToLatin1(const QString& text) {
    return Latin1::FromWide(text.toStdU32String());
}

QString FromMessageText(const std::string& text) {
    return QString::fromStdString(Utf8::FromBytes(text));
}

std::string ToFileName(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    return std::string(encoded.constData(), static_cast<std::size_t>(encoded.size()));
}

QString FromFileName(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

} // namespace Platform
