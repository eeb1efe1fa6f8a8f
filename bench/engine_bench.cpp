// How the engine's cost grows: per command line, per scanned value, per repaired finding.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "command_line_checker.h"
#include "fakes.h"
#include "repair_applier.h"
#include "run_key_scanner.h"

namespace {

using namespace stlag;

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A mix as found on real machines: quoted, short names, unquoted paths with blanks.
const std::vector<std::string> kCommandLines = {
    "\"C:\\Program Files\\Foo\\foo.exe\" /background",
    "C:\\WINDOWS\\system32\\ctfmon.exe",
    "C:\\Program Files\\Common Files\\Updater\\updater.exe -silent",
    "rundll32.exe C:\\Program Files\\Foo\\bar.dll,Start",
    "  C:\\Program Files\\Foo\\foo.exe /x ",
    "C:\\PROGRA~1\\Foo\\FOO.EXE /x",
};

void BM_CheckCommandLine(benchmark::State& state)
{
    MemoryFileSystem files;
    files.files[MemoryFileSystem::Fold("C:\\Program Files\\Common Files\\Updater\\updater.exe")];
    FakeCodePage codePage;
    CommandLineChecker checker(files, codePage);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(checker.CheckCommandLine(kCommandLines[i]));
        files.probed.clear();
        i = (i + 1) % kCommandLines.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckCommandLine);

// One key holding n values, a third of them faulty.
void Seed(MemoryRegistry& registry, int n)
{
    for (int i = 0; i < n; ++i) {
        const std::string name = "value " + std::to_string(i);
        registry.SetString(RegistryRoot::CurrentUser, kRun, name, kCommandLines[static_cast<std::size_t>(i) % 3]);
    }
}

// n values in the user's Run key; the second argument scans the first twelve sections (the
// start-up keys of old) or all of them, policy keys included, to weigh what empty extra
// sections cost.
void BM_Scan(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    MemoryRegistry registry;
    Seed(registry, n);
    MemoryFileSystem files;
    files.files[MemoryFileSystem::Fold("C:\\Program Files\\Common Files\\Updater\\updater.exe")];
    FakeCodePage codePage;
    CommandLineChecker checker(files, codePage);
    RcTexts texts;
    RunKeyScanner scanner(registry, checker, texts);
    std::vector<ScanSection> sections = RunSections();
    sections.resize(static_cast<std::size_t>(state.range(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanner.Scan(sections));
        files.probed.clear();
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.SetComplexityN(n);
}
BENCHMARK(BM_Scan)->ArgsProduct({{1000, 10000, 100000}, {14}})->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_Scan)->Args({100000, 12})->Unit(benchmark::kMillisecond);

// 1,000 values of 32,000 characters in another account's Run key, as a user may write them to
// stall SYSTEM's scan: REG_EXPAND_SZ whose program ends inside %PATHEXT% (a file "a.com;.exe"
// is there), or, as the baseline, the same text expanded, as plain REG_SZ.
void BM_LongValues(benchmark::State& state)
{
    const bool expand = state.range(0) != 0;
    const std::string pathExt = ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC", folder = "C:\\Users\\bob\\My Stuff\\a";
    std::string tail;
    while (tail.size() < 32000)
        tail += " /x";
    MemoryRegistry registry;
    const std::string key = "S-1-5-21-7\\" + kRun;
    for (int i = 0; i < 1000; ++i) {
        const std::string data = folder + (expand ? "%PATHEXT%" : pathExt) + tail + std::to_string(i) + '\0';
        registry.Set(RegistryRoot::Users, key, {"v" + std::to_string(i), expand ? kRegExpandSz : kRegSz, data});
    }
    MemoryFileSystem files;
    files.files[MemoryFileSystem::Fold(folder + ".com;.exe")];
    files.answers = {{"c:\\users", PathAnswer::Folder}, {"c:\\users\\bob", PathAnswer::Folder}};
    files.variables["pathext"] = pathExt;
    FakeCodePage codePage;
    CommandLineChecker checker(files, codePage);
    RcTexts texts;
    const std::vector<ScanSection> sections = {
        {RegistryRoot::Users, key, RegistryView::Native, CheckRule::Run, {}, LineOwner::OtherAccount}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunKeyScanner(registry, checker, texts).Scan(sections));
        files.probed.clear();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_LongValues)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Backup bytes go nowhere: the benchmark weighs the engine, not a test double's copying.
class DiscardingFileSystem : public FileSystem {
public:
    PathFacts Probe(const std::string&) const override { return {PathAnswer::NotFound}; }
    bool IsLocalFixedDrive(char) const override { return true; }
    bool FileExists(const std::string&) const override { return false; }
    bool NameTaken(const std::string&) const override { return false; }
    VariableValue Variable(const std::string&) const override { return {}; }
    std::unique_ptr<OutputFile> CreateNewFile(const std::string&) override
    {
        return std::unique_ptr<OutputFile>(new Sink);
    }

private:
    struct Sink : OutputFile {
        bool Write(const char*, std::size_t) override { return true; }
        bool Flush() override { return true; }
        bool CutTo(std::uint64_t) override { return true; }
        bool Close() override { return true; }
        bool Discard() override { return true; }
    };
};

// 10,000 findings, every row ticked or every other one.
void BM_Repair(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const int tickEvery = static_cast<int>(state.range(1));
    FakeCodePage codePage;
    RcTexts texts;
    for (auto _ : state) {
        state.PauseTiming();
        MemoryRegistry registry;
        for (int i = 0; i < n; ++i)
            registry.SetString(RegistryRoot::CurrentUser, kRun, "value " + std::to_string(i),
                               "C:\\Program Files\\Common Files\\Updater\\updater.exe -silent");
        MemoryFileSystem files;
        files.files[MemoryFileSystem::Fold("C:\\Program Files\\Common Files\\Updater\\updater.exe")];
        DiscardingFileSystem backupFiles;
        CommandLineChecker checker(files, codePage);
        const FindingList findings = RunKeyScanner(registry, checker, texts).Scan().findings;
        RepairRequest request{{}, "C:\\backup.reg"};
        for (std::size_t row = 0; row < findings.size(); ++row)
            request.ticked.push_back(row % static_cast<std::size_t>(tickEvery) == 0);
        RepairApplier applier(registry, backupFiles, codePage, texts);
        state.ResumeTiming();
        benchmark::DoNotOptimize(applier.Repair(findings, request));
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Repair)->Args({10000, 1})->Args({10000, 2})->Args({20000, 2})->Unit(benchmark::kMillisecond);

}  // namespace
