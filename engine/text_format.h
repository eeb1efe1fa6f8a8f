// printf-style formatting of string-table texts, for %s, %d and %% only. Arguments are
// copied as they are: a % inside a value name or data is never read as a directive.
#ifndef STLAG_TEXT_FORMAT_H
#define STLAG_TEXT_FORMAT_H

#include <initializer_list>
#include <string>

namespace stlag {

class FormatArg {
public:
    FormatArg(const std::string& text) : text_(text) {}  // NOLINT(google-explicit-constructor)
    FormatArg(const char* text) : text_(text) {}         // NOLINT(google-explicit-constructor)
    FormatArg(int number) : text_(std::to_string(number)) {}  // NOLINT(google-explicit-constructor)
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Each %s or %d takes the next argument; a directive without an argument is left as it is.
std::string FormatText(const std::string& format, std::initializer_list<FormatArg> args);

// A name, key path or data as the log shows it: a control character as \xNN, so that a NUL
// does not end the log's text, nor a line break write lines of the value's own making.
std::string ShownInLog(const std::string& text);

// Stands in a formatted text for a path that is put in apart (see PathText).
extern const char kPathMarker[];

// A text in the ANSI code page and a file's path (UTF-8, for it may hold what the code page
// lacks) to go in at pathAt; the two meet only as UTF-16. pathAt is npos when there is none.
struct PathText {
    std::string text;
    std::size_t pathAt = std::string::npos;
    std::string path = {};
};

// text formatted with kPathMarker in the path's place, the marker taken out again.
PathText WithPath(const std::string& text, const std::string& path);

}  // namespace stlag

#endif
