#pragma once
// Splits a text at a break string into a list of pieces and joins such a list back.

#include <string>
#include <vector>

namespace velnora {

// The path splitter: the store cuts every setting name at "\" with it.
class TBrkApart {
public:
    bool AllowEmptyString = false;
    std::string BreakString;
    std::string BaseString;
    bool CaseSensitive = false;
    // Owned by the splitter; assigning another list copies its items.
    std::vector<std::string> StringList;

    // Replaces StringList with the pieces of BaseString between occurrences of BreakString.
    void BreakApart();
    // Replaces BaseString with the items of StringList joined by BreakString.
    void BuildString();
};

} // namespace velnora
