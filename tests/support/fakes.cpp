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
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Ansi(const std::string& utf8)
{
    iconv_t convert = iconv_open("CP1252", "UTF-8");
    std::string out(utf8.size(), '\0');
    char *in = const_cast<char*>(utf8.data()), *to = &out[0];
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    const bool ok = iconv(convert, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(convert);
    if (!ok)
        throw std::runtime_error("not in code page 1252: " + utf8);
    return out.substr(0, out.size() - outLeft);
}

std::u16string Cp932ToWide(const std::string& ansi)
{
    // Opened once: the lower-caser asks for every byte of the page, and the fuzzers for every input.
    static const iconv_t convert = iconv_open("UTF-16LE", "CP932");
    std::u16string out;
    for (std::size_t at = 0; at < ansi.size();) {
        char16_t unit[2] = {};
        char *in = const_cast<char*>(ansi.data()) + at, *to = reinterpret_cast<char*>(unit);
        const unsigned char b = static_cast<unsigned char>(ansi[at]);
        const std::size_t length = at + 1 < ansi.size() && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
        std::size_t inLeft = length, outLeft = sizeof unit;
        const bool ok = iconv(convert, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
        out += ok ? unit[0] : static_cast<char16_t>(static_cast<unsigned char>(ansi[at]));
        at += ok ? length : 1;
    }
    return out;
}

RcTexts::RcTexts()
{
    std::map<std::string, unsigned> ids;
    const std::string header = ReadFile(STLAG_RES_DIR "/resource.h");
    const std::regex define(R"(#define\s+(\w+)\s+(\w+))");
    for (std::sregex_iterator m(header.begin(), header.end(), define), end; m != end; ++m)
        ids[(*m)[1]] = static_cast<unsigned>(std::stoul((*m)[2], nullptr, 0));
    const std::string rc = ReadFile(STLAG_RES_DIR "/strings.rc");
    const std::regex entry(R"(\n\s*(IDS_\w+)\s+\"((?:[^\"\\]|\\.)*)\")");
    for (std::sregex_iterator m(rc.begin(), rc.end(), entry), end; m != end; ++m) {
        std::string text = (*m)[2];
        for (const auto& escape : {std::make_pair("\\r", "\r"), {"\\n", "\n"}, {"\\t", "\t"}, {"\\\\", "\\"}})
            for (std::size_t at = 0; (at = text.find(escape.first, at)) != std::string::npos; ++at)
                text.replace(at, 2, escape.second);
        texts_[ids.at((*m)[1])] = Ansi(text);
    }
}

}  // namespace stlag
