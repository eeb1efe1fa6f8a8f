// REG_EXPAND_SZ data expanded as the system expands it, in one pass that keeps where each
// variable stood, so that a place in the expanded text leads back to the written one.
#ifndef STLAG_VARIABLE_EXPANSION_H
#define STLAG_VARIABLE_EXPANSION_H

#include <string>
#include <vector>

#include "platform.h"

namespace stlag {

// One %NAME% of the written text, set or not, and the text it became.
struct VariableSpan {
    std::size_t writtenBegin = 0, writtenEnd = 0;
    std::size_t expandedBegin = 0, expandedEnd = 0;
    bool machineWide = false;  // the same for every account on this machine
};

// failed: a variable could not be read, or the result is longer than the system expands
// (32,767 characters), so that what log-on runs cannot be told.
struct Expansion {
    std::string text;
    std::vector<VariableSpan> spans;
    bool failed = false;
};

// Every %NAME% that the environment sets replaced by its value; an unset one, and a lone %,
// stay as they are. Time and spans grow with the text, not with its square.
Expansion Expand(const std::string& written, const FileSystem& environment);

// The written text unexpanded, as REG_SZ data is run.
Expansion AsItStands(const std::string& written);

// The length of the written prefix that expands to the first expandedEnd bytes, or npos when
// they end inside a variable's value.
std::size_t WrittenEnd(const Expansion& expansion, std::size_t expandedEnd);

// Whether the first expandedEnd bytes came, in whole or in part, from a variable that another
// account may set otherwise (a variable that expands to nothing counts where it stands).
bool HoldsAccountVariable(const Expansion& expansion, std::size_t expandedEnd);

}  // namespace stlag

#endif
