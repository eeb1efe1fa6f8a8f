#include "rc_texts.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifndef STLAG_RES_DIR
#error STLAG_RES_DIR must name the res folder
#endif

namespace stlag {

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::map<std::string, unsigned> ReadDefines(const std::string& header)
{
    std::map<std::string, unsigned> defines;
    std::istringstream lines(header);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string directive, name, value;
        if (words >> directive >> name >> value && directive == "#define")
            defines[name] = static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 0));
    }
    return defines;
}

// One RC string literal starting at the opening quote; "" stands for one quote.
std::string ParseLiteral(const std::string& rc, std::size_t& pos)
{
    std::string out;
    for (++pos; pos < rc.size(); ++pos) {
        const char c = rc[pos];
        if (c == '"') {
            if (pos + 1 < rc.size() && rc[pos + 1] == '"') {
                out += '"';
                ++pos;
                continue;
            }
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < rc.size()) {
            const char e = rc[++pos];
            switch (e) {
            case 'r': out += '\r'; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            default: throw std::runtime_error(std::string("unknown escape \\") + e);
            }
            continue;
        }
        if (c == '\n' || c == '\r')
            throw std::runtime_error("line break inside a string literal");
        out += c;
    }
    throw std::runtime_error("unterminated string literal");
}

}  // namespace

std::string Utf8ToCp1252(const std::string& utf8)
{
    static const char16_t kHigh[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
                                       0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        unsigned long cp = b;
        std::size_t len = 1;
        if (b >= 0xF0) { cp = b & 0x07; len = 4; }
        else if (b >= 0xE0) { cp = b & 0x0F; len = 3; }
        else if (b >= 0xC0) { cp = b & 0x1F; len = 2; }
        else if (b >= 0x80) throw std::runtime_error("malformed UTF-8");
        if (i + len > utf8.size())
            throw std::runtime_error("truncated UTF-8");
        for (std::size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        std::size_t k = 0;
        while (k < 32 && kHigh[k] != cp)
            ++k;
        if (k == 32)
            throw std::runtime_error("character outside code page 1252");
        out += static_cast<char>(0x80 + k);
    }
    return out;
}

RcTexts::RcTexts() : RcTexts(STLAG_RES_DIR) {}

RcTexts::RcTexts(const std::string& resDir)
{
    const std::map<std::string, unsigned> defines = ReadDefines(ReadFile(resDir + "/resource.h"));
    const std::string rc = ReadFile(resDir + "/strings.rc");
    std::size_t pos = rc.find("STRINGTABLE");
    if (pos == std::string::npos)
        throw std::runtime_error("no STRINGTABLE in strings.rc");
    pos = rc.find("BEGIN", pos);
    const std::size_t end = rc.find("\nEND", pos);
    if (pos == std::string::npos || end == std::string::npos)
        throw std::runtime_error("STRINGTABLE without BEGIN ... END");
    std::istringstream lines(rc.substr(pos + 5, end - pos - 5));
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line.compare(first, 2, "//") == 0)
            continue;
        const std::size_t quote = line.find('"', first);
        if (quote == std::string::npos)
            throw std::runtime_error("string table line without text: " + line);
        std::string name = line.substr(first, line.find_first_of(" \t,", first) - first);
        auto id = defines.find(name);
        if (id == defines.end())
            throw std::runtime_error("unknown string id " + name);
        std::size_t p = quote;
        texts_[id->second] = Utf8ToCp1252(ParseLiteral(line, p));
    }
}

std::string RcTexts::Load(unsigned id) const
{
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

}  // namespace stlag
