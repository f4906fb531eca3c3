// Speed and memory figures, printed beside a plain reference where there is one. Run under Wine
// with scripts/bench; nothing here passes or fails.
#include "app/AddressListFile.h"
#include "errors/Exception.h"
#include "app/ListBoxView.h"
#include "app/MainDialog.h"
#include "app/resource.h"
#include "bench/AllocationCounter.h"
#include "files/TextFile.h"
#include "text/NaturalCompare.h"
#include "tests/windows/TestSupport.h"
#include "tests/windows/fakes/TestSeams.h"
#include "validation/OperatingSystem.h"
#include "validation/StartupValidation.h"
#include "access/AccessList.h"
#include "access/NativeFiles.h"
#include "access/PermissionRepair.h"
#include "files/FileSystem.h"

#include <windows.h>
#include <psapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <class Work>
double Timed(Work work)
{
    const auto start = Clock::now();
    work();
    return MillisecondsSince(start);
}

// The middle of five timings, so that one slow run of the disk does not decide the figure.
template <class Work>
double MedianTimed(Work work)
{
    std::vector<double> times;
    for (int run = 0; run < 5; ++run)
        times.push_back(Timed(work));
    std::sort(times.begin(), times.end());
    return times[2];
}

template <class Work>
std::size_t PeakBytesOf(Work work)
{
    const std::size_t before = AllocationCounter::BytesHeld();
    AllocationCounter::ResetPeak();
    work();
    return AllocationCounter::PeakBytes() - before;
}

void Row(const char* what, double ours, double reference, const char* unit, const char* goal = "")
{
    std::printf("  %-44s %10.1f %s   reference %10.1f %s   ratio %.2f   %s\n", what, ours, unit, reference, unit,
                reference > 0 ? ours / reference : 0.0, goal);
}

std::wstring Folder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

Entries Addresses(std::size_t count)
{
    std::mt19937 random(42);
    Entries list;
    for (std::size_t i = 0; i < count; ++i)
        list.push_back({std::to_wstring(random() % 256) + L"." + std::to_wstring(random() % 256) + L"." +
                            std::to_wstring(random() % 256) + L"." + std::to_wstring(random() % 256),
                        {}});
    return list;
}

// A save as the window makes it: the file compared with what the window read or wrote, then the
// new list written; the file as it was written, for the next save.
ListFileState Save(const std::wstring& folder, const Entries& entries, const ListFileState& before)
{
    const ListFileState now = AddressListIsAsBefore(folder, before) ? before : ReadAddressListState(folder);
    return WriteAddressList(folder, entries, {}, now).value_or(ListFileState());
}

void Save(const std::wstring& folder, const Entries& entries)
{
    Save(folder, entries, ReadAddressListState(folder));
}

void AddressListFileFigures()
{
    std::printf("Address list file, 100,000 lines\n");
    const std::wstring folder = Folder(L"iplist-bench");
    const Entries list = Addresses(100000);
    const std::string reference = Narrow(folder + L"\\Reference.Txt");

    Entries loaded;
    ListFileState state = ReadAddressListState(folder);
    const double save = MedianTimed([&] { state = Save(folder, list, state); });
    const double referenceWrite = MedianTimed([&] {
        std::ofstream out(reference, std::ios::binary);
        for (const Entry& entry : list)
            out << Narrow(entry.Text) << "\r\n";
        out.flush();
        out.close();
        HANDLE file = CreateFileA(reference.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        FlushFileBuffers(file);
        CloseHandle(file);
    });
    Row("save, median of 5 (file read, scratch file, flush, check, replace)", save, referenceWrite, "ms", "(goal: ratio <= 1.5)");

    double load = 0;
    const std::size_t loadPeak = PeakBytesOf([&] { load = Timed([&] { loaded = ReadAddressList(folder).Lines; }); });
    Entries plain;
    double referenceRead = 0;
    const std::size_t referencePeak = PeakBytesOf([&] {
        referenceRead = Timed([&] {
            std::ifstream in(reference, std::ios::binary);
            std::string line;
            while (std::getline(in, line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                plain.push_back({std::wstring(line.begin(), line.end()), {}});
            }
        });
    });
    Row("load", load, referenceRead, "ms", "(goal: ratio <= 1.5)");
    Row("load, peak heap", loadPeak / 1024.0, referencePeak / 1024.0, "KiB");
    const std::size_t savePeak = PeakBytesOf([&] { Save(folder, loaded); });
    std::printf("  %-44s %10.1f KiB\n", "save, peak heap", savePeak / 1024.0);
}

enum class PairKind { ServerAddresses, RandomAddresses, FileNames };

const char* Describe(PairKind kind)
{
    switch (kind) {
    case PairKind::ServerAddresses: return "server addresses";
    case PairKind::RandomAddresses: return "random addresses";
    default: return "file-like names";
    }
}

// Pairs of strings to compare: Count distinct ones. Server addresses are what the window
// compares: a new address against a list of servers, which lie in a few networks, so that two
// addresses share their first fields and differ in a short digit field. Random addresses share
// nothing; file-like names mix letters, digits and other characters.
std::vector<std::pair<std::wstring, std::wstring>> Pairs(PairKind kind, int count)
{
    std::mt19937 random(7);
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    const wchar_t* words[] = {L"report", L"Report", L"scan", L"img", L"IMG_", L"track", L"v", L"build-", L"notes"};
    const wchar_t* networks[] = {L"10.0.", L"10.1.", L"172.16.", L"192.168."};
    auto octet = [&] { return std::to_wstring(random() % 256); };
    std::wstring network;
    auto name = [&] {
        switch (kind) {
        case PairKind::ServerAddresses: return network + octet() + L"." + octet();
        case PairKind::RandomAddresses: return octet() + L"." + octet() + L"." + octet() + L"." + octet();
        default:
            return std::wstring(words[random() % 9]) + std::to_wstring(random() % 5000) + L" (" +
                   std::to_wstring(random() % 20) + L").txt";
        }
    };
    for (int i = 0; i < count; ++i) {
        network = networks[random() % 4];
        pairs.emplace_back(name(), name());
    }
    return pairs;
}

// 1,000,000 comparisons over Distinct pairs, each pair compared 1,000,000 / Distinct times: with
// 10,000 pairs the strings stay in the processor's cache and the figure is the comparison's own;
// with 1,000,000 it includes fetching the strings from memory, the same for both.
void NaturalOrderRow(PairKind kind, int distinct)
{
    const auto pairs = Pairs(kind, distinct);
    const int rounds = 1000000 / distinct;
    long sum = 0;
    const std::size_t allocationsBefore = AllocationCounter::Allocations();
    const double ours = Timed([&] {
        for (int round = 0; round < rounds; ++round)
            for (const auto& pair : pairs)
                sum += NaturalCompare(pair.first, pair.second, false);
    });
    const double allocationsPerCall =
        static_cast<double>(AllocationCounter::Allocations() - allocationsBefore) / 1000000.0;
    const double system = Timed([&] {
        for (int round = 0; round < rounds; ++round)
            for (const auto& pair : pairs)
                sum += StrCmpLogicalW(pair.first.c_str(), pair.second.c_str());
    });
    std::printf("  %-16s %8d distinct   ours %7.1f ms   StrCmpLogicalW %7.1f ms   speed ratio %5.2f   "
                "allocations per call %.3f   %s(%ld)\n",
                Describe(kind), distinct, ours, system, system / ours, allocationsPerCall,
                kind == PairKind::ServerAddresses ? "(goal: ratio >= 2, 0 allocations) " : "", sum % 2);
}

void NaturalOrderFigures()
{
    std::printf("Natural order, 1,000,000 comparisons\n");
    for (PairKind kind : {PairKind::ServerAddresses, PairKind::RandomAddresses, PairKind::FileNames})
        for (int distinct : {10000, 1000000})
            NaturalOrderRow(kind, distinct);
}

// The real window over a list of Count entries in a throw-away installation folder.
class BenchWindow {
public:
    explicit BenchWindow(const std::wstring& folder) : FDialog(ReadOSVersionFacts())
    {
        SetCurrentDirectoryW(folder.c_str());
        FDialog.Create();
        ShowWindow(FDialog.Window(), SW_SHOWNORMAL);
    }
    double StartUp()
    {
        return Timed([&] { FDialog.StartUp(); });
    }
    // The address as the user leaves it in the control, and as the control reports each field.
    void Type(const Octets& octets)
    {
        SendMessageW(Control(IDC_ADDRESS), IPM_SETADDRESS, 0, MAKEIPADDRESS(octets.A, octets.B, octets.C, octets.D));
        const std::uint8_t fields[4] = {octets.A, octets.B, octets.C, octets.D};
        for (int field = 0; field < 4; ++field) {
            NMIPADDRESS change{};
            change.hdr.hwndFrom = Control(IDC_ADDRESS);
            change.hdr.code = static_cast<UINT>(IPN_FIELDCHANGED);
            change.iField = field;
            change.iValue = fields[field];
            SendMessageW(FDialog.Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
        }
    }
    double Click(int id)
    {
        return Timed([&] { SendMessageW(FDialog.Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id))); });
    }
    HWND Control(int id) const { return GetDlgItem(FDialog.Window(), id); }

private:
    MainDialog FDialog;
};

// The middle of Runs figures, each from a window made anew over the list in Folder.
template <class Measure>
double MedianOverWindows(const std::wstring& folder, int runs, Measure measure)
{
    std::vector<double> figures;
    for (int run = 0; run < runs; ++run) {
        BenchWindow window(folder);
        figures.push_back(measure(window));
    }
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

// Where a start-up's time goes: the same steps as the window's, each timed alone.
void StartUpParts(const std::wstring& folder)
{
    struct Quiet : StartupObserver {
        void KeepResponsive() override {}
        void RepairProgress(std::size_t) override {}
    } observer;
    std::vector<double> checks, read, parse, fill;
    for (int run = 0; run < 5; ++run) {
        BenchWindow window(folder);
        StartupVerdict verdict;
        checks.push_back(Timed([&] { ValidateStartupEnvironment(ReadOSVersionFacts(), observer, verdict); }));
        ListFileState state;
        read.push_back(Timed([&] { state = ReadAddressListState(folder); }));
        ListFile list;
        parse.push_back(Timed([&] { list = ParseAddressList(folder, std::move(state)); }));
        fill.push_back(Timed([&] { ShowEntries(window.Control(IDC_LIST), list.Lines); }));
    }
    for (auto* figures : {&checks, &read, &parse, &fill})
        std::sort(figures->begin(), figures->end());
    std::printf("  %-44s %10.1f ms checks, %.1f ms reading, %.1f ms making the entries, %.1f ms filling the list box\n",
                "  of which", checks[2], read[2], parse[2], fill[2]);
}

void WindowFigures()
{
    std::printf("Address list window, 100,000 entries, medians of 5 windows\n");
    const std::wstring folder = Folder(L"iplist-bench-window");
    LayOutComponents(folder);
    Entries list = Addresses(100000);
    std::sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) { return NaturalCompare(a.Text, b.Text, false) < 0; });
    Save(folder, list);

    const double start = MedianOverWindows(folder, 5, [](BenchWindow& window) { return window.StartUp(); });
    std::printf("  %-44s %10.1f ms   (goal < 150)\n", "start-up (checks, load and fill)", start);
    StartUpParts(folder);
    const double add = MedianOverWindows(folder, 5, [](BenchWindow& window) {
        window.StartUp();
        window.Type({200, 1, 2, 3});
        return window.Click(IDC_ADD);
    });
    std::printf("  %-44s %10.1f ms   (goal < 20)\n", "one Add", add);
    LRESULT left = 0;
    const double removal = MedianOverWindows(folder, 5, [&](BenchWindow& window) {
        window.StartUp();
        const HWND entries = window.Control(IDC_LIST);
        for (WPARAM i = 0; i < list.size(); i += 10)
            SendMessageW(entries, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        TestSeams::Answers = {Answer::Yes};
        const double ms = window.Click(IDC_DELETE);
        left = SendMessageW(entries, LB_GETCOUNT, 0, 0);
        return ms;
    });
    std::printf("  %-44s %10.1f ms   (goal < 40), %ld entries left\n", "Delete of 10,000 selected", removal, static_cast<long>(left));
}

// The largest list the program reads, in a process of its own so that its peak memory is its own:
// the window ready to use over it, and the process's peak working set.
void LargestListFigures(bool inThisProcess)
{
    const std::wstring folder = Folder(L"iplist-bench-largest");
    if (!inThisProcess) {
        LayOutComponents(folder);
        Entries list = Addresses(200000);
        for (Entry& entry : list)
            entry.Text.append(18 - entry.Text.size(), L' ');  // 20 bytes a line with its CR LF
        DeleteFileW(AddressListPath(folder).c_str());
        Save(folder, list);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(self) + L"\" largest-here";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::fflush(stdout);
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
            return;
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return;
    }
    std::printf("The largest list the program reads: 200,000 lines, 4 MB, medians of 3 windows\n");
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    const double ready = MedianOverWindows(folder, 3, [](BenchWindow& window) { return window.StartUp(); });
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    std::printf("  %-44s %10.1f ms   (goal < 300)\n", "ready to use", ready);
    StartUpParts(folder);
    std::printf("  %-44s %10.1f MB   (goal < 64), %.1f MB before the first window\n", "peak memory of the process",
                after.PeakWorkingSetSize / 1048576.0, before.PeakWorkingSetSize / 1048576.0);
    std::fflush(stdout);
}

// The least any walk over a tree costs: each folder held and listed through its parent, the way
// the repair reaches it, and nothing else opened or changed. Answers the objects it listed.
std::size_t BareWalk(const std::wstring& root)
{
    struct Level {
        KernelHandle Folder;
        std::vector<FolderEntry> Entries;
        std::size_t Next = 0;
    };
    std::vector<Level> stack(1);
    stack[0].Folder.Reset(CreateFileW(root.c_str(), HeldFolderAccess, HeldShareMode, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ListFolder(stack[0].Folder, stack[0].Entries);
    std::size_t objects = 1;
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.Next == level.Entries.size()) {
            stack.pop_back();
            continue;
        }
        const FolderEntry& entry = level.Entries[level.Next++];
        if (entry.Name == L"." || entry.Name == L"..")
            continue;
        ++objects;
        if (!(entry.Attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        Level inner;
        if (OpenInFolder(level.Folder, entry.Name, true, inner.Folder) == 0 && ListFolder(inner.Folder, inner.Entries) == 0)
            stack.push_back(std::move(inner));
    }
    return objects;
}

std::wstring MakeChain(const wchar_t* name, int depth)
{
    const std::wstring root = Folder(name);
    std::wstring chain = root;
    for (int level = 0; level < depth; ++level) {
        chain += L"\\d";
        CreateDirectoryW(ExtendedLengthPath(chain).c_str(), nullptr);
    }
    return root;
}

std::wstring MakeRow(const wchar_t* name, int folders, int filesEach)
{
    const std::wstring root = Folder(name);
    CreateDirectoryW(root.c_str(), nullptr);
    for (int f = 0; f < folders; ++f) {
        const std::wstring folder = root + L"\\f" + std::to_wstring(f);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < filesEach; ++i)
            CloseHandle(CreateFileW((folder + L"\\file" + std::to_wstring(i) + L".dat").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
    }
    return root;
}

// The repair's own walk, opening and deciding on every object as the repair does, changing none.
class DecidingWalk : public TreeWalk {
protected:
    DWORD Grant(const Object&, const std::wstring&, bool) override { return 0; }
};

struct WalkFigure {
    double RepairMs;
    double DecidingMs;
    double BareMs;
    std::size_t Objects;
};

WalkFigure MeasureWalk(const std::wstring& root)
{
    WalkFigure figure{};
    WalkReport report;
    figure.RepairMs = Timed([&] { report = RepairFolderAccess(root); });
    figure.DecidingMs = Timed([&] { DecidingWalk().Tree(root); });
    figure.BareMs = Timed([&] { figure.Objects = BareWalk(root); });
    if (!report.Complete)
        std::printf("  the repair stopped (error %lu)\n", report.Error);
    return figure;
}

void PrintWalk(const char* what, const WalkFigure& figure)
{
    std::printf("  %-36s repair %9.1f ms (%7.1f us an object); opening each object %9.1f ms: x%.2f; listing only %9.1f ms: "
                "x%.2f  (goal <= 3)\n",
                what, figure.RepairMs, figure.RepairMs * 1000.0 / figure.Objects, figure.DecidingMs,
                figure.RepairMs / figure.DecidingMs, figure.BareMs, figure.RepairMs / figure.BareMs);
}

void TreeWalkFigures()
{
    std::printf("Permission repair (access lists changed), against the same walk changing nothing and a walk that only\n"
                "holds and lists the folders\n");
    const WalkFigure mixed = MeasureWalk(MakeRow(L"iplist-bench-mixed", 2000, 10));
    PrintWalk("22,001 objects, 2,000 folders", mixed);
    const WalkFigure flat = MeasureWalk(MakeRow(L"iplist-bench-flat", 3000, 0));
    PrintWalk("3,000 folders side by side", flat);
    const WalkFigure nested = MeasureWalk(MakeChain(L"iplist-bench-nested", 3000));
    PrintWalk("3,000 folders one inside the other", nested);
    std::printf("  nested against side by side: repair x%.1f (goal <= 2), bare walk x%.1f\n", nested.RepairMs / flat.RepairMs,
                nested.BareMs / flat.BareMs);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    if (only == "largest-here") {
        try {
            LargestListFigures(true);
        } catch (const Exception& error) {
            std::printf("  failed: %ls\n", error.Message().c_str());
        }
        return 0;
    }
    if (only.empty() || only == "file")
        AddressListFileFigures();
    if (only.empty() || only == "compare")
        NaturalOrderFigures();
    if (only.empty() || only == "window")
        WindowFigures();
    if (only.empty() || only == "window" || only == "largest")
        LargestListFigures(false);
    if (only.empty() || only == "walk")
        TreeWalkFigures();
    return 0;
}
