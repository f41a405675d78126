// What a person checks after an installation: the uninstall log's bytes,
// the uninstall entry, shortcut files, the copy page's progress bars, the
// files of the prefix; and what a test installs outside its own folders,
// removed again afterwards.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace e2e {

// One script command with its arguments quoted, ending its line.
std::string ScriptCall(const std::string& command, const std::vector<std::string>& args = {});
// AddFile with the arguments a test varies; disk 1, not spread.
std::string AddFileCall(const std::string& source, const std::string& destination, const std::string& section,
                        bool shared = false, const std::string& shortcutName = "");

// AddFile of one piece of a spread file, in the section "Main".
std::string PieceCall(const std::string& source, const std::string& destination, int disk, bool last,
                      const std::string& shortcutName = "");
// AddFile takes only the sources it finds: the script waits at this message
// until the test has taken the "disks" away (TakeDisksOutAtPause).
std::string PauseCall();
void TakeDisksOutAtPause(ProgramRun& setup, const std::vector<std::string>& sources);

// Lines as setup writes them, each ending in CR LF.
std::string Lines(const std::vector<std::string>& lines);

// The log's lines up to "[FILES]", dated `date` (month/day/year).
std::string LogHeader(const std::string& date);
// The whole log of an installation run today: the header, "[FILES]", the
// records (path and kind lines), "[REGISTRY]" and the uninstall key.
std::string ExpectedLog(const std::vector<std::string>& records, const std::string& appName);

std::string UninstallKey(const std::string& appName);
// A value of the uninstall entry, a number (REG_DWORD) in decimal; nothing
// when it is missing.
std::optional<std::string> UninstallValue(const std::string& appName, const std::string& valueName);
// The same of any key below HKEY_LOCAL_MACHINE.
std::optional<std::string> RegistryValue(const std::string& keyPath, const std::string& valueName);
// The count that installers keep of the products using the shared file.
std::optional<std::string> SharedCount(const std::string& path);

// Whether the key below HKEY_LOCAL_MACHINE exists.
bool KeyExists(const std::string& path);

// The Programs folder of the start menu, as setup's user sees it.
std::string ProgramsFolder();
// The same of another of the shell's folders (CSIDL_DESKTOPDIRECTORY, ...).
std::string ShellFolder(int csidl);
// The Program Files folder that setup reads from the registry, without a
// trailing backslash.
std::string ProgramFilesFolder();

struct ShortcutSeen {
    bool loaded = false;
    std::string target;
    std::string description;
    std::string arguments;
    std::string workingFolder;
    std::string icon;
    int iconIndex = 0;
};
// Loads a shell link file as the shell would and reads where it points.
ShortcutSeen ReadShortcut(const std::string& linkPath);

// A dialog of setup's own templates (not a message box) that has this
// control, once `previous`, answered before, is gone.
HWND NextDialogWith(ProgramRun& run, int controlId, HWND previous);

// A progress bar of the copy page, read across the process boundary.
struct ProgressSeen {
    int low = 0;
    int high = 0;
    int position = 0;
};
ProgressSeen ReadProgress(HWND bar);
bool operator==(const ProgressSeen& a, const ProgressSeen& b);
void PrintTo(const ProgressSeen& progress, std::ostream* out);

// What a test left outside its temporary folders: the uninstall entry,
// files in the system directory with their shared counts, program groups.
// Removed when it goes.
class Leftovers {
public:
    Leftovers() = default;
    ~Leftovers();
    Leftovers(const Leftovers&) = delete;
    Leftovers& operator=(const Leftovers&) = delete;
    void UninstallEntry(const std::string& appName) { appNames_.push_back(appName); }
    void File(const std::string& path) { files_.push_back(path); }
    void Tree(const std::string& path) { trees_.push_back(path); }

private:
    std::vector<std::string> appNames_;
    std::vector<std::string> files_;
    std::vector<std::string> trees_;
};

// What an installation test starts from: an application name of its own
// ("Tessel <name> <process id>"), whose uninstall entry goes afterwards, a
// medium, a folder to install into, and the test's other leftovers.
struct InstallCase {
    explicit InstallCase(const std::string& name);
    std::string app;
    Medium medium;
    testing_support::TempDir root{"install"};
    Leftovers leftovers;
};

// A name no other test process uses at the same time, short enough for an
// 8.3 file name: the prefix (at most 2 characters) and 4 hex digits.
std::string UniqueShortName(const std::string& prefix, const std::string& extension);

// The DLLs that setup and, on its behalf, the shell, COM and the visual
// styles load during an installation, and that not every Windows takes
// from its system folder whatever the search order (names without ".dll").
// Two of them cannot be planted under Wine: version.dll, which Wine's own
// user32 imports, so Wine loads it at the start of every program (the import
// test keeps it out of the programs' imports), and msimg32.dll, a delayed
// import of the visual styles that Wine resolves without the search
// restriction Windows applies.
const std::vector<std::string>& PlantableDlls();

// The files and directories below `root` (with `recursive` at every depth),
// each with its size and last write time, so that two snapshots tell what
// changed in between.
using Snapshot = std::map<std::string, std::string>;
Snapshot SnapshotTree(const std::string& root, bool recursive = true);
// The keys below a key of HKEY_LOCAL_MACHINE, at every depth, with their values.
Snapshot SnapshotRegistry(const std::string& keyPath);
// "+ name" for each entry only `after` has, "- name" for each only `before`
// has, "~ name" for each whose size, time or value differ; in name order.
std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after);

}  // namespace e2e
