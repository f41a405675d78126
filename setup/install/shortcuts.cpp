#include "setup/install/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "common/handles.h"
#include "common/shell_link.h"
#include "common/text/log_records.h"
#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/text/installation_run.h"
#include "setup/install/uninstall_log.h"
#include "setup/model/text/shortcut_places.h"
#include "setup/model/text/variables.h"
#include "setup/system/programs_folder.h"

namespace {

// What a shortcut holds; empty parts are left as the shell makes them.
struct ShortcutSpec {
    std::string target;
    std::string arguments;
    std::string workingFolder;
    std::string description;
    IconLocation icon;
};

// Writes a shell link at `linkPath`, replacing one that is there. Returns
// the result of the last COM call made: S_OK when the link file was saved.
// COM is initialised by the program's start-up.
HRESULT CreateShortcut(const ShortcutSpec& spec, const std::string& linkPath)
{
    ComPointer<IShellLinkA> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out());
    if (FAILED(result))
        return result;
    link->SetPath(spec.target.c_str());
    link->SetDescription(spec.description.c_str());
    if (!spec.arguments.empty())
        link->SetArguments(spec.arguments.c_str());
    if (!spec.workingFolder.empty())
        link->SetWorkingDirectory(spec.workingFolder.c_str());
    if (!spec.icon.path.empty())
        link->SetIconLocation(spec.icon.path.c_str(), spec.icon.index);
    ComPointer<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.out());
    if (FAILED(result))
        return result;
    return file->Save(WidePath(linkPath).data(), TRUE);
}

void NoteFirstShortcutTarget(const std::string& target)
{
    if (gInstall.firstShortcutTarget.empty())
        gInstall.firstShortcutTarget = target;
}

// The current user's folder of a place, as the shell names it; empty when
// this system has none (Quick Launch before Internet Explorer 4's shell)
// or its name cannot be spelled.
std::string PlaceFolder(ShortcutPlace place, const std::string& written, bool groupReady)
{
    SystemPath folder;
    switch (place) {
    case ShortcutPlace::kGroup:
        return groupReady ? gVariables.Get("PROGRAMGROUP") : "";
    case ShortcutPlace::kFolder: {
        std::string path = written;
        ExpandVariables(path);
        return path;
    }
    case ShortcutPlace::kDesktop: folder = ShellFolderPath(CSIDL_DESKTOPDIRECTORY); break;
    case ShortcutPlace::kStartMenu: folder = ShellFolderPath(CSIDL_PROGRAMS); break;
    case ShortcutPlace::kStartup: folder = ShellFolderPath(CSIDL_STARTUP); break;
    case ShortcutPlace::kSendTo: folder = ShellFolderPath(CSIDL_SENDTO); break;
    case ShortcutPlace::kQuickLaunch:
        folder = ShellFolderPath(CSIDL_APPDATA);
        if (!folder.path.empty())
            folder.path += "\\Microsoft\\Internet Explorer\\Quick Launch";
        break;
    case ShortcutPlace::kUnknown:
        return "";
    }
    return folder.IsUsable() ? folder.path : "";
}

// The folders of the link that do not exist yet are made and logged; then
// the link, and its target for Unskein to compare before it removes it.
void CreateScriptShortcut(const ShortcutEntry& entry, const std::string& folder)
{
    ShortcutSpec spec;
    std::string name = entry.name, icon = entry.icon;
    spec.target = entry.target;
    spec.arguments = entry.arguments;
    ExpandVariables(name);
    ExpandVariables(spec.target);
    ExpandVariables(spec.arguments);
    ExpandVariables(icon);
    CollapseBackslashes(spec.target);
    spec.workingFolder = ParentDirectory(spec.target);
    spec.description = LastPathComponent(name);
    spec.icon = SplitIconLocation(icon);
    CollapseBackslashes(spec.icon.path);
    std::string link = ShortcutLinkPath(folder, name);
    CollapseBackslashes(link);
    std::vector<std::string> created;
    const int ensured = EnsureDirectory(ParentDirectory(link), created);
    LogCreatedDirectories(created);
    if (ensured < 0 || CreateShortcut(spec, link) != S_OK)
        return;
    gInstall.log.WritePrivateFile(link);
    const std::vector<std::string> fields = {link, spec.target};
    if (EncodeLogFields(fields).size() <= kMaxLogLine)
        gInstall.log.WriteEntry(LogKind::kLink, fields);
    NoteFirstShortcutTarget(spec.target);
}

}  // namespace

// A name without a colon lies in the Programs folder, whose path is known
// only now; the folder and its parents are logged only when this run
// created them: an existing group may be the Programs folder itself,
// Startup or another product's folder, which the uninstaller must not
// remove. Without a Programs folder the shell can tell, the group would lie
// at the current drive's root, and with one whose name cannot be spelled in
// a folder of another name: no shortcut is tried then.
bool PrepareProgramGroup(Prompter& prompter)
{
    std::string group = gVariables.Get("PROGRAMGROUP");
    if (IsGroupInProgramsFolder(group)) {
        const SystemPath programs = ProgramsFolderPath();
        if (!programs.spelled)
            Inform(prompter, UnspelledProgramsFolderText(programs.path), "Setup");
        if (!programs.IsUsable())
            return false;
        group = GroupInProgramsFolder(programs.path, group);
        gVariables.Set("PROGRAMGROUP", group);
    }
    std::vector<std::string> created;
    const int ensured = EnsureDirectory(group, created);
    LogCreatedDirectories(created);
    return ensured >= 0;
}

void CreateEntryShortcut(const FileEntry& entry, const std::string& installedPath)
{
    const std::string link = ShortcutLinkPath(gVariables.Get("PROGRAMGROUP"), entry.shortcutName);
    if (CreateShortcut({installedPath, "", "", entry.shortcutName, {}}, link) != S_OK)
        return;
    gInstall.log.WritePrivateFile(link);
    NoteFirstShortcutTarget(installedPath);
}

void CreateSectionShortcuts(const std::string& sectionName, bool groupReady)
{
    for (const ShortcutEntry& entry : gRecords.shortcuts) {
        if (entry.sectionName != sectionName)
            continue;
        const std::string folder = PlaceFolder(PlaceOf(entry.place), entry.place, groupReady);
        if (!folder.empty())
            CreateScriptShortcut(entry, folder);
    }
}
