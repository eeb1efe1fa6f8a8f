#include "text_format.h"

namespace stlag {

std::string FormatText(const std::string& format, std::initializer_list<FormatArg> args)
{
    std::string out;
    out.reserve(format.size());
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        const char d = format[i + 1];
        if (d == '%') {
            out += '%';
            ++i;
        } else if ((d == 's' || d == 'd') && next != args.end()) {
            out += next->Text();
            ++next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

const char kPathMarker[] = "\x01";

PathText WithPath(const std::string& text, const std::string& path)
{
    PathText joined{text, text.find(kPathMarker), path};
    if (joined.pathAt != std::string::npos)
        joined.text.erase(joined.pathAt, 1);
    return joined;
}

std::string ShownInLog(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        shown += b < 0x20 ? std::string{'\\', 'x', digits[b >> 4], digits[b & 0x0F]} : std::string(1, c);
    }
    return shown;
}

}  // namespace stlag
