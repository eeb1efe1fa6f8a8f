#include "fakes.h"

#include <iconv.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>

namespace stlag {

static std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : throw std::runtime_error("cannot read " + path);
}

std::string Ansi(const std::string& utf8)
{
    static const iconv_t convert = iconv_open("CP1252", "UTF-8");
    std::string out(utf8.size(), '\0');
    char *in = const_cast<char*>(utf8.data()), *to = &out[0];
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    if (iconv(convert, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1))
        throw std::runtime_error("not in code page 1252: " + utf8);
    return out.substr(0, out.size() - outLeft);
}

std::u16string FakeCodePage::ToWide(const std::string& ansi) const
{
    // Opened once: the lower-caser asks for every byte of the page, and the fuzzers for every input.
    static const iconv_t cp932 = iconv_open("UTF-16LE", "CP932");
    std::u16string out;
    for (std::size_t at = 0; at < ansi.size();) {
        const unsigned char b = static_cast<unsigned char>(ansi[at]);
        char16_t unit[2] = {};
        char *in = const_cast<char*>(ansi.data()) + at, *to = reinterpret_cast<char*>(unit);
        std::size_t inLeft = IsLeadByte(b) && at + 1 < ansi.size() ? 2 : 1, outLeft = sizeof unit;
        const bool ok = doubleByte &&
                        iconv(cp932, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
        out += ok ? unit[0] : static_cast<char16_t>(b);
        at = ok ? static_cast<std::size_t>(in - ansi.data()) : at + 1;
    }
    return out;
}

RcTexts::RcTexts()
{
    // Read as one text: only resource.h holds #defines, and only strings.rc the table's entries.
    const std::string source = ReadFile(STLAG_RES_DIR "/resource.h") + ReadFile(STLAG_RES_DIR "/strings.rc");
    const std::regex define(R"(#define\s+(\w+)\s+(\w+))"), entry(R"(\n\s*(IDS_\w+)\s+\"((?:[^\"\\]|\\.|\"\")*)\")");
    std::map<std::string, unsigned> ids;
    for (std::sregex_iterator m(source.begin(), source.end(), define), end; m != end; ++m)
        ids[(*m)[1]] = static_cast<unsigned>(std::stoul((*m)[2], nullptr, 0));
    for (std::sregex_iterator m(source.begin(), source.end(), entry), end; m != end; ++m) {
        std::string text = (*m)[2];
        for (const auto& escape : {std::make_pair("\\r", "\r"), {"\\n", "\n"}, {"\\t", "\t"}, {"\\\\", "\\"}, {"\"\"", "\""}})
            for (std::size_t at = 0; (at = text.find(escape.first, at)) != std::string::npos; ++at)
                text.replace(at, 2, escape.second);
        texts[ids.at((*m)[1])] = Ansi(text);
    }
}

}  // namespace stlag
