// Figures of the installation run, printed, not judged:
// - the copy run of setup.exe over 1,000 small files (about 50 MB) and over
//   one 200 MB file, as ratios to a bare VerInstallFileA loop and to
//   CopyFileA over the same payload in the same prefix;
// - the time the sections page takes to open for 1,000 to 10,000 file
//   entries in 20 sections.
// Run by bench/run, which builds and provides the Wine prefix.
#include <windows.h>

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

// Fills a file with bytes that no file system compresses away.
void WritePayloadFile(const std::string& path, std::size_t size, unsigned seed)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<unsigned char> chunk(1 << 20);
    unsigned state = seed * 2654435761u + 1;
    for (std::size_t written = 0; written < size;) {
        for (unsigned char& byte : chunk) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<unsigned char>(state >> 16);
        }
        const DWORD part = static_cast<DWORD>(std::min(chunk.size(), size - written));
        DWORD done = 0;
        WriteFile(file, chunk.data(), part, &done, nullptr);
        written += part;
    }
    CloseHandle(file);
}

struct Payload {
    std::string label;
    std::string folder;  // the medium's folder holding the files
    std::vector<std::string> files;
};

Payload MakePayload(const Medium& medium, const std::string& label, const std::string& folder, int count,
                    std::size_t size)
{
    Payload payload{label, medium / folder, {}};
    CreateDirectoryA(payload.folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        char fileName[32];
        std::snprintf(fileName, sizeof fileName, "F%05d.DAT", i);
        WritePayloadFile(payload.folder + "\\" + fileName, size, static_cast<unsigned>(i));
        payload.files.push_back(fileName);
    }
    return payload;
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

// From the copy page's appearance to setup's end: the installation run,
// and then closing the page and ending the program, which the figure keeps
// (they take a small constant time, against the copy run).
double CopyPageSeconds(const Medium& medium, const std::string& sourcePattern)
{
    TempDir destination("bench-destination");
    medium.WriteScript(ScriptCall("SetAppName", {"Tessel Bench"}) +
                       ScriptCall("SetVariable", {"DP", destination.path() + "\\"}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", destination.path() + "\\Group"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(sourcePattern, "[DP]\\", "Main") + ScriptCall("ShowCopy"));
    SetupRun setup(medium);
    WaitForWindowWith(setup, IDC_COPY_SECTION_BAR);
    const double start = Seconds();
    WaitUntil([&] { return !setup.Running(); }, kLongWaitMs);
    return Seconds() - start;
}

void BenchCopyRun(const Medium& medium, const Payload& payload)
{
    std::vector<double> setup, verInstall, copy;
    for (int i = 0; i < kRepetitions; ++i) {
        setup.push_back(CopyPageSeconds(medium, payload.folder + "\\*.*"));
        verInstall.push_back(TimeInto([&](const std::string& to) { VerInstallLoop(payload, to); }));
        copy.push_back(TimeInto([&](const std::string& to) { CopyLoop(payload, to); }));
    }
    const double run = Median(setup);
    std::printf("%-28s copy run %7.2f s   VerInstallFileA loop %7.2f s   CopyFileA %7.2f s\n", payload.label.c_str(),
                run, Median(verInstall), Median(copy));
    std::printf("%-28s copy run / VerInstallFileA = %.2f   copy run / CopyFileA = %.2f\n", "", run / Median(verInstall),
                run / Median(copy));
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
        Medium medium;
        BenchCopyRun(medium, MakePayload(medium, "1,000 files of 50 KB", "small", 1000, 50 * 1024));
        BenchCopyRun(medium, MakePayload(medium, "1 file of 200 MB", "large", 1, 200u << 20));

    }
    if (only.empty() || only == "sections")
        BenchSectionsPage();
    return 0;
}
