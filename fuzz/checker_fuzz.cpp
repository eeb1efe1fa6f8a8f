// Any command line, under a single- and a double-byte code page, checked by properties of
// the proposal rather than by a second copy of the rules: a quoted proposal adds exactly two
// quotes around a prefix that ends in an extension and is a program that is there; a trimmed
// one is the input without its outer white space; a deletion follows only a proven absence;
// and a proposal, judged again, needs no such repair once more.
#include <algorithm>

#include "command_line_checker.h"
#include "fakes.h"

static void Require(bool condition) { if (!condition) __builtin_trap(); }

// Walked by the fake page's lead bytes, not the engine's; a lead byte ending the text stands alone.
static bool AtBoundary(const std::string& text, std::size_t pos, const stlag::CodePage& page)
{
    std::size_t i = 0;
    for (; i < pos; i += page.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1) {}
    return i == pos;
}

// A program name's last dot leads its extension: three or four letters at the very end.
static bool EndsInExtension(const std::string& program)
{
    const std::size_t dot = program.rfind('.');
    return dot != std::string::npos && program.size() - dot >= 3 && program.size() - dot <= 4;
}

// Every program test on a local fixed drive (C:), and none found a file, a folder or an error,
// but for a folder that the line goes on into, which is no place where it can end.
static bool ProvenAbsent(const stlag::MemoryFileSystem& files, const std::string& line)
{
    const auto intoFolder = [&](const std::string& p) {
        const auto answer = files.answers.find(stlag::MemoryFileSystem::Fold(p));
        return answer != files.answers.end() && answer->second == stlag::PathAnswer::Folder &&
               stlag::MemoryFileSystem::Fold(line).rfind(stlag::MemoryFileSystem::Fold(p) + "\\", 0) == 0;
    };
    return !files.probed.empty() && std::all_of(files.probed.begin(), files.probed.end(), [&](const std::string& p) {
        return p.size() > 1 && (p[0] | 0x20) == 'c' && p[1] == ':' && !files.FileExists(p) &&
               (files.answers.count(stlag::MemoryFileSystem::Fold(p)) == 0 || intoFolder(p));
    });
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string data(reinterpret_cast<const char*>(bytes), size), blanks = " \t\n\v\f\r";
    const std::size_t first = data.find_first_not_of(blanks), npos = std::string::npos;
    for (const bool doubleByte : {false, true}) {
        stlag::MemoryFileSystem files;
        files.files = {{"c:\\program files\\foo\\foo.exe", ""}, {"c:\\my files\\x.exe", ""}, {"c:\\a b\\\x81.exe", ""},
                       {"c:\\program files\\foo\\foo.bat", ""}, {"my tool.exe", ""}};
        files.answers = {{"c:\\program files\\contoso.com", stlag::PathAnswer::Folder}};
        const stlag::FakeCodePage page(doubleByte);
        const stlag::CommandLineChecker checker(files, page);
        const stlag::Judgement judged = checker.CheckCommandLine(data);
        const std::string& proposal = judged.newData;
        if (judged.verdict != stlag::Verdict::Faulty) {
            Require(proposal.empty() && (judged.verdict == stlag::Verdict::Ok) == (judged.reason == stlag::UnjudgedReason::None));
            continue;
        }
        // Blanks only around the trimmed line, and its last character no blank (a trail byte is none).
        const std::size_t end = first + proposal.size(), k = proposal.find('"', 1) - 1;
        const bool trimmed = proposal != data && first != npos && data.compare(first, proposal.size(), proposal) == 0 &&
                             data.find_first_not_of(blanks, end) == npos && AtBoundary(data, end, page) &&
                             !(blanks.find(proposal.back()) != npos && AtBoundary(proposal, proposal.size() - 1, page));
        const bool quoted = k <= data.size() && proposal == '"' + data.substr(0, k) + '"' + data.substr(k) &&
                            EndsInExtension(data.substr(0, k)) && files.FileExists(data.substr(0, k)) &&
                            AtBoundary(data, k - 4, page);
        const bool trivial = first == npos || data == "\"";
        Require(proposal.empty() ? trivial || ProvenAbsent(files, data) : trimmed || quoted);
        const stlag::Judgement again = checker.CheckCommandLine(proposal);
        Require(!quoted || again.verdict == stlag::Verdict::Ok);
        Require(!trimmed || again.verdict != stlag::Verdict::Faulty || again.newData != proposal);
    }
    return 0;
}
