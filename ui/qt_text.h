#pragma once
// The engine's UTF-8 text as Qt's strings, and the long form of a menu hint.

#include <QString>

#include <string_view>

namespace velnora::ui {

inline QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The part of a hint after "|", or the whole hint when it has none.
inline QString longHint(const QString& hint) {
    const int bar = hint.indexOf('|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

} // namespace velnora::ui
