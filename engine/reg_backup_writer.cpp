#include "reg_backup_writer.h"

#include "ansi_text.h"

namespace stlag {

namespace {

const char kSignature[] = "REGEDIT4";

// The registry editor continues a long hex line with a backslash and a two-blank indent
// once a line reaches this width; the file follows the editor's own layout.
const std::size_t kHexLineWidth = 76;

bool HoldsLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

std::string HexForm(const std::string& prefix, const std::string& data)
{
    static const char digits[] = "0123456789abcdef";
    std::string line = prefix;
    std::size_t column = line.size();
    // The ANSI bytes and the terminating NUL: REGEDIT4 is read in the ANSI code page.
    const std::string bytes = data + '\0';
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        line += digits[b >> 4];
        line += digits[b & 0x0F];
        column += 2;
        if (i + 1 == bytes.size())
            break;
        line += ',';
        ++column;
        if (column >= kHexLineWidth) {
            line += "\\\n  ";
            column = 2;
        }
    }
    return line;
}

}  // namespace

RegBackupWriter::~RegBackupWriter()
{
    if (file_)
        file_->Close();
}

bool RegBackupWriter::Create(const std::string& path)
{
    file_.reset();
    lastKeyPath_.clear();
    std::unique_ptr<OutputFile> file = fileSystem_.CreateNewFile(path);
    if (!file)
        return false;
    if (!file->Write(kSignature, sizeof kSignature - 1) || !file->Flush()) {
        // Left behind, the empty file would make the next try say that the backup exists.
        file->Discard();
        return false;
    }
    file_ = std::move(file);
    recordedSize_ = sizeof kSignature - 1;
    return true;
}

bool RegBackupWriter::WriteValue(const std::string& keyPath, const std::string& valueName,
                                 const std::string& oldData, unsigned long type)
{
    if (!file_ || !CanRecordKey(keyPath) || !CanRecordName(valueName))
        return false;
    const std::string header = keyPath != lastKeyPath_ ? "\n\n[" + keyPath + "]" : "";
    const std::string record = header + "\n" + ValueLine(valueName, oldData, codePage_, type);
    if (file_->Write(record.data(), record.size()) && file_->Flush()) {
        recordedSize_ += record.size();
        lastKeyPath_ = keyPath;
        return true;
    }
    // A write that failed part-way (a full disk, a quota) may have left a cut line, which the
    // registry editor might import over a value that was never changed; a header alone puts
    // nothing back. Should the cut fail too, the file is still closed: nothing later belongs there.
    file_->CutTo(recordedSize_);
    Finish();
    return false;
}

bool RegBackupWriter::Finish()
{
    if (!file_)
        return false;
    const bool written = file_->Write("\n", 1) && file_->Flush();
    const bool closed = file_->Close();
    file_.reset();
    return written && closed;
}

bool RegBackupWriter::CanRecordName(const std::string& valueName)
{
    return !HoldsControlCharacter(valueName);
}

bool RegBackupWriter::CanRecordKey(const std::string& keyPath)
{
    return !HoldsControlCharacter(keyPath);
}

std::string RegBackupWriter::Escape(const std::string& text, const CodePage& codePage)
{
    // The registry editor reads the file in the ANSI code page: a 0x5C that is the second
    // byte of a double-byte character is part of that character and must stay single.
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharLength(text, i, codePage);
        const char c = text[i];
        if (length == 1 && c == '\\')
            out += "\\\\";
        else if (length == 1 && c == '"')
            out += "\\\"";
        else
            out.append(text, i, length);
        i += length;
    }
    return out;
}

std::string RegBackupWriter::ValueLine(const std::string& valueName, const std::string& oldData,
                                       const CodePage& codePage, unsigned long type)
{
    const std::string name = "\"" + Escape(valueName, codePage) + "\"=";
    if (type == kRegExpandSz)
        return HexForm(name + "hex(2):", oldData);
    if (HoldsLineBreak(oldData))
        return HexForm(name + "hex(1):", oldData);
    return name + "\"" + Escape(oldData, codePage) + "\"";
}

}  // namespace stlag
