#pragma once
// Texts cross into Qt here: the core keeps Latin-1 bytes, Qt wants QString.
#include <QString>
#include <string>

namespace qnr::ui {

inline QString ToQString(const std::string& latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

// Characters outside Latin-1 become "?".
inline std::string ToLatin1(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace qnr::ui
