#include "regedit4_reader.h"

#include <cctype>

namespace stlag {

namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool Run(std::vector<RegFileValue>& values, std::string& error)
    {
        if (text_.compare(0, 8, "REGEDIT4") != 0)
            return Fail("no REGEDIT4 signature", error);
        pos_ = 8;
        std::string key;
        bool haveKey = false;
        while (pos_ < text_.size()) {
            if (text_[pos_] == '\n') {
                ++pos_;
                continue;
            }
            if (text_[pos_] == '[') {
                const std::size_t close = text_.find(']', pos_);
                if (close == std::string::npos || (close + 1 < text_.size() && text_[close + 1] != '\n'))
                    return Fail("malformed key header", error);
                key = text_.substr(pos_ + 1, close - pos_ - 1);
                haveKey = true;
                pos_ = close + 1;
                continue;
            }
            if (!haveKey)
                return Fail("value before any key", error);
            RegFileValue value;
            value.keyPath = key;
            if (!Quoted(value.name))
                return Fail("malformed value name", error);
            if (!Expect('='))
                return Fail("no = after the name", error);
            if (pos_ < text_.size() && text_[pos_] == '"') {
                if (!Quoted(value.data))
                    return Fail("malformed string data", error);
            } else if (text_.compare(pos_, 7, "hex(1):") == 0) {
                pos_ += 7;
                if (!HexString(value.data))
                    return Fail("malformed hex(1) data", error);
            } else {
                return Fail("unsupported value form", error);
            }
            if (pos_ < text_.size() && text_[pos_] != '\n')
                return Fail("text after a value", error);
            values.push_back(value);
        }
        return true;
    }

private:
    bool Fail(const char* what, std::string& error)
    {
        error = std::string(what) + " at byte " + std::to_string(pos_);
        return false;
    }

    bool Expect(char c)
    {
        if (pos_ >= text_.size() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    // "..." with \\ and \" as the only escapes.
    bool Quoted(std::string& out)
    {
        if (!Expect('"'))
            return false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"')
                return true;
            if (c == '\\') {
                if (pos_ >= text_.size() || (text_[pos_] != '\\' && text_[pos_] != '"'))
                    return false;
                out += text_[pos_++];
                continue;
            }
            if (c == '\n')
                return false;
            out += c;
        }
        return false;
    }

    static int HexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    // Pairs separated by commas; a backslash at a line's end continues on the next line.
    bool HexString(std::string& out)
    {
        std::string bytes;
        for (;;) {
            if (pos_ + 2 > text_.size())
                return false;
            const int high = HexDigit(text_[pos_]);
            const int low = HexDigit(text_[pos_ + 1]);
            if (high < 0 || low < 0)
                return false;
            bytes += static_cast<char>(high * 16 + low);
            pos_ += 2;
            if (pos_ >= text_.size() || text_[pos_] != ',')
                break;
            ++pos_;
            if (text_.compare(pos_, 2, "\\\n") == 0) {
                pos_ += 2;
                while (pos_ < text_.size() && text_[pos_] == ' ')
                    ++pos_;
            }
        }
        if (bytes.empty() || bytes.back() != '\0')
            return false;
        bytes.pop_back();
        out = bytes;
        return true;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

}  // namespace

bool ReadRegedit4(const std::string& file, std::vector<RegFileValue>& values, std::string& error)
{
    values.clear();
    return Reader(file).Run(values, error);
}

}  // namespace stlag
