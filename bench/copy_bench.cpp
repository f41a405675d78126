// Figures of the installation run, printed, not judged:
// - the copy run of setup.exe over many small files and one large file, as
//   ratios to a bare VerInstallFileA loop and to CopyFileA over the same
//   payload in the same prefix, and the whole install against an NSIS
//   installer of the same payload (compression off, run with /S);
// - the copy run's growth from 1,000 to 10,000 files of 4 KB;
// - setup's peak working set while it joins a 200 MB file from pieces;
// - the time the sections page takes to open for 1,000 to 10,000 file
//   entries in 20 sections.
// Run by bench/run, which builds, provides the Wine prefix, writes the
// payloads (TESSEL_BENCH_PAYLOAD) and the NSIS installers (TESSEL_BENCH_NSIS).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"

using namespace e2e;
using testing_support::TempDir;

namespace {

constexpr int kRepetitions = 3;
constexpr DWORD kLongWaitMs = 600000;
// setup.exe shows its splash for this long whatever it installs.
constexpr double kSplashSeconds = 1.25;

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    if (!value) {
        std::printf("%s is not set; start the benchmark with bench/run.\n", name);
        std::exit(1);
    }
    return value;
}

// A folder of bench/run's payloads: the files F00000.DAT, F00001.DAT, ...
struct Payload {
    std::string label;
    std::string folder;
    std::vector<std::string> files;
};

Payload PayloadIn(const std::string& label, const std::string& name, int count)
{
    Payload payload{label, Environment("TESSEL_BENCH_PAYLOAD") + "\\" + name, {}};
    for (int i = 0; i < count; ++i) {
        char fileName[32];
        std::snprintf(fileName, sizeof fileName, "F%05d.DAT", i);
        payload.files.push_back(fileName);
    }
    return payload;
}

// Fills a file with bytes that no file system compresses away.
void WritePayloadFile(const std::string& path, std::size_t size, unsigned seed)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<unsigned char> chunk(size);
    unsigned state = seed * 2654435761u + 1;
    for (unsigned char& byte : chunk) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(state >> 16);
    }
    DWORD done = 0;
    WriteFile(file, chunk.data(), static_cast<DWORD>(size), &done, nullptr);
    CloseHandle(file);
}

// A dialog of setup with the control, polled closely; null when setup ends
// without one.
HWND WaitForWindowWith(ProgramRun& setup, int controlId)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = setup.WaitForDialogWith(controlId, 0);
            return found || !setup.Running();
        },
        kLongWaitMs);
    if (!found) {
        std::printf("setup ended without the window of control %d; no figures.\n", controlId);
        std::exit(1);
    }
    return found;
}

// Each measurement installs into a fresh folder, removed afterwards.
double TimeInto(const std::function<void(const std::string&)>& install)
{
    TempDir destination("bench-destination");
    const double start = Seconds();
    install(destination.path());
    return Seconds() - start;
}

void VerInstallLoop(const Payload& payload, const std::string& destination)
{
    std::string sourceDirectory = payload.folder + "\\";
    std::string destinationDirectory = destination;
    for (const std::string& file : payload.files) {
        std::string name = file;
        std::string destinationName = file;
        char temporary[MAX_PATH] = "";
        UINT temporaryLength = MAX_PATH;
        const DWORD result = VerInstallFileA(VIFF_FORCEINSTALL, &name[0], &destinationName[0], &sourceDirectory[0],
                                             &destinationDirectory[0], nullptr, temporary, &temporaryLength);
        if (result != 0)
            std::printf("VerInstallFileA %s: 0x%lx\n", file.c_str(), static_cast<unsigned long>(result));
    }
}

void CopyLoop(const Payload& payload, const std::string& destination)
{
    for (const std::string& file : payload.files)
        CopyFileA((payload.folder + "\\" + file).c_str(), (destination + "\\" + file).c_str(), FALSE);
}

// Waits for a process's end, exactly; false when it did not end in time.
bool WaitForEnd(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return true;
    const bool ended = WaitForSingleObject(process, kLongWaitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

struct SetupTimes {
    double copyRun;  // from the copy page's appearance to setup's end
    double whole;    // from the start to the end, without the splash
};

std::string CopyScript(const std::string& destination, const std::string& files)
{
    return ScriptCall("SetAppName", {"Tessel Bench"}) + ScriptCall("SetVariable", {"DP", destination + "\\"}) +
           ScriptCall("SetVariable", {"PROGRAMGROUP", destination + "\\Group"}) +
           ScriptCall("CreateSection", {"Main", "1", "0", ""}) + files + ScriptCall("ShowCopy");
}

// The copy run keeps closing the page and ending the program (a small
// constant time, counted against us).
SetupTimes TimeSetup(const Payload& payload)
{
    Medium medium;
    TempDir destination("bench-destination");
    medium.WriteScript(CopyScript(destination.path(), AddFileCall(payload.folder + "\\*.*", "[DP]\\", "Main")));
    const double start = Seconds();
    SetupRun setup(medium);
    WaitForWindowWith(setup, IDC_COPY_SECTION_BAR);
    const double pageShown = Seconds();
    if (!WaitForEnd(setup.processId()))
        std::exit(1);
    const double end = Seconds();
    return {end - pageShown, end - start - kSplashSeconds};
}

double TimeNsis(const std::string& installer)
{
    TempDir destination("bench-nsis");
    std::string commandLine = "\"" + installer + "\" /S /D=" + destination.path();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = Seconds();
    if (!CreateProcessA(installer.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::printf("cannot start %s\n", installer.c_str());
        std::exit(1);
    }
    WaitForSingleObject(process.hProcess, kLongWaitMs);
    const double seconds = Seconds() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

// The copy run against the platform's own installation call and a plain
// copy; with an NSIS installer of the payload, the whole install against it.
double BenchCopyRun(const Payload& payload, const std::string& nsisInstaller = "")
{
    std::vector<double> copyRun, whole, verInstall, copy, nsis;
    for (int i = 0; i < kRepetitions; ++i) {
        const SetupTimes times = TimeSetup(payload);
        copyRun.push_back(times.copyRun);
        whole.push_back(times.whole);
        verInstall.push_back(TimeInto([&](const std::string& to) { VerInstallLoop(payload, to); }));
        copy.push_back(TimeInto([&](const std::string& to) { CopyLoop(payload, to); }));
        if (!nsisInstaller.empty())
            nsis.push_back(TimeNsis(nsisInstaller));
    }
    const double run = Median(copyRun);
    std::printf("%-24s copy run %6.2f s   VerInstallFileA loop %6.2f s   CopyFileA loop %6.2f s\n",
                payload.label.c_str(), run, Median(verInstall), Median(copy));
    std::printf("%-24s copy run / VerInstallFileA = %.2f   copy run / CopyFileA = %.2f\n", "",
                run / Median(verInstall), run / Median(copy));
    if (!nsis.empty())
        std::printf("%-24s whole install %6.2f s (splash taken off)   NSIS %6.2f s   whole / NSIS = %.2f\n", "",
                    Median(whole), Median(nsis), Median(whole) / Median(nsis));
    std::fflush(stdout);
    return run;
}

void BenchGrowth()
{
    const double thousand = BenchCopyRun(PayloadIn("1,000 files of 4 KB", "tiny", 1000));
    const double tenThousand = BenchCopyRun(PayloadIn("10,000 files of 4 KB", "many", 10000));
    std::printf("%-24s 10,000 files / 1,000 files = %.2f\n", "", tenThousand / thousand);
    std::fflush(stdout);
}

// Setup's peak working set while it joins pieces into one file, read while
// it waits at a message after the copy page.
void BenchJoinMemory()
{
    const Payload pieces = PayloadIn("", "pieces", 4);
    std::string files;
    for (std::size_t i = 0; i < pieces.files.size(); ++i) {
        const bool last = i + 1 == pieces.files.size();
        files += ScriptCall("AddFile", {pieces.folder + "\\" + pieces.files[i], "[DP]\\JOINED.DAT", "Main", "0",
                                        std::to_string(i + 1), "1", last ? "1" : "0", "0", "0", ""});
    }
    Medium medium;
    TempDir destination("bench-destination");
    medium.WriteScript(CopyScript(destination.path(), files) +
                       ScriptCall("ShowMessage", {"joined", "Bench", "", "NOW"}));
    SetupRun setup(medium);
    const MessageBoxSeen joined = setup.NextMessageBox(kLongWaitMs);
    if (!joined.window)
        std::exit(1);
    using MemoryInfo = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    const auto memoryInfo =
        reinterpret_cast<MemoryInfo>(GetProcAddress(LoadLibraryA("psapi.dll"), "GetProcessMemoryInfo"));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, setup.processId());
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (memoryInfo && process && memoryInfo(process, &counters, sizeof counters))
        std::printf("joining 4 pieces into one 200 MB file: setup's peak working set %.1f MB\n",
                    counters.PeakWorkingSetSize / 1048576.0);
    else
        std::printf("joining 4 pieces into one 200 MB file: peak working set unknown\n");
    if (process)
        CloseHandle(process);
    setup.Press(joined.window, IDOK);
    WaitForEnd(setup.processId());
    std::fflush(stdout);
}

// From the moment the user answers the message before ShowSections to the
// sections page standing with its list filled.
double SectionsPageSeconds(int entries)
{
    constexpr int kSections = 20;
    Medium medium;
    std::string script = ScriptCall("SetAppName", {"Tessel Bench"});
    for (int section = 0; section < kSections; ++section) {
        const std::string folder = "S" + std::to_string(section);
        CreateDirectoryA((medium / folder).c_str(), nullptr);
        for (int i = 0; i < entries / kSections; ++i)
            WritePayloadFile(medium / (folder + "\\F" + std::to_string(i) + ".DAT"), 1024, static_cast<unsigned>(i));
        script += ScriptCall("CreateSection", {"Section " + std::to_string(section), "0", "0", ""}) +
                  AddFileCall(medium / (folder + "\\*.*"), "[DP]\\" + folder + "\\", "Section " + std::to_string(section));
    }
    medium.WriteScript(script + ScriptCall("ShowMessage", {"ready", "Bench", "", "NOW"}) + ScriptCall("ShowSections"));
    SetupRun setup(medium);
    const MessageBoxSeen ready = setup.NextMessageBox(kLongWaitMs);
    if (!ready.window)
        std::exit(1);
    const double start = Seconds();
    setup.Press(ready.window, IDOK);
    HWND page = WaitForWindowWith(setup, IDC_SECTIONS_LIST);
    HWND list = GetDlgItem(page, IDC_SECTIONS_LIST);
    WaitUntil([&] { return ListItemCount(list) == kSections; }, kLongWaitMs);
    return Seconds() - start;
}

void BenchSectionsPage()
{
    double first = 0;
    for (int entries : {1000, 2000, 5000, 10000}) {
        std::vector<double> times;
        for (int i = 0; i < kRepetitions; ++i)
            times.push_back(SectionsPageSeconds(entries));
        const double median = Median(times);
        if (entries == 1000)
            first = median;
        std::printf("sections page, %5d entries in 20 sections: %6.3f s  (%.1f times the 1,000-entry time)\n", entries,
                    median, median / first);
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "copy") {
        const std::string nsis = Environment("TESSEL_BENCH_NSIS");
        BenchCopyRun(PayloadIn("1,000 files of 50 KB", "small", 1000), nsis + "\\small.exe");
        BenchCopyRun(PayloadIn("1 file of 200 MB", "large", 1), nsis + "\\large.exe");
    }
    if (only.empty() || only == "growth")
        BenchGrowth();
    if (only.empty() || only == "memory")
        BenchJoinMemory();
    if (only.empty() || only == "sections")
        BenchSectionsPage();
    return 0;
}
