// The program's string table read straight from res/strings.rc, so the native tests
// see exactly the texts the Windows program loads. Texts come back in code page 1252.
#ifndef STLAG_RC_TEXTS_H
#define STLAG_RC_TEXTS_H

#include <map>
#include <string>

#include "platform.h"

namespace stlag {

class RcTexts : public Texts {
public:
    // Reads resource.h and strings.rc from resDir; a parse error is thrown as runtime_error.
    explicit RcTexts(const std::string& resDir);
    // The project's own resource folder.
    RcTexts();
    std::string Load(unsigned id) const override;
    const std::map<unsigned, std::string>& All() const { return texts_; }

private:
    std::map<unsigned, std::string> texts_;
};

// UTF-8 to Windows code page 1252; throws runtime_error for a character 1252 lacks.
std::string Utf8ToCp1252(const std::string& utf8);

// Shorthand for expected texts in tests written in UTF-8 source.
inline std::string Ansi(const std::string& utf8) { return Utf8ToCp1252(utf8); }

}  // namespace stlag

#endif
