#include "brk_apart.h"

#include "settings.h"

namespace velnora {

void TBrkApart::BreakApart() {
    StringList.clear();
    std::string rest = BaseString;
    // An empty break string would match at every position and never shorten the rest; it
    // splits nothing, so the whole text is the one piece.
    if (BreakString.empty()) {
        if (!rest.empty() || AllowEmptyString) StringList.push_back(rest);
        return;
    }
    const std::string needle = CaseSensitive ? BreakString : foldCase(BreakString);
    for (;;) {
        const std::string haystack = CaseSensitive ? rest : foldCase(rest);
        const std::size_t at = haystack.find(needle);
        std::string piece = at == std::string::npos ? rest : rest.substr(0, at);
        if (!piece.empty() || AllowEmptyString) StringList.push_back(std::move(piece));
        if (at == std::string::npos) break;
        rest.erase(0, at + BreakString.size());
    }
}

void TBrkApart::BuildString() {
    BaseString.clear();
    if (StringList.empty()) return;
    BaseString = StringList.front();
    for (std::size_t i = 1; i < StringList.size(); ++i) {
        if (StringList[i].empty() && !AllowEmptyString) continue;
        BaseString += BreakString;
        BaseString += StringList[i];
    }
}

} // namespace velnora
