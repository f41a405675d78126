#include "uninstall/program_made_files.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

#include "common/find_files.h"
#include "common/handles.h"
#include "common/shell_folders.h"
#include "common/system_paths.h"

namespace {

bool IsLink(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Whether `folder` or a folder it lies in is a link.
bool LiesBehindLink(const std::string& folder)
{
    for (std::size_t at = 3; at <= folder.size(); ++at)
        if ((at == folder.size() || folder[at] == '\\' || folder[at] == '/') && IsLink(folder.substr(0, at)))
            return true;
    return false;
}

// Where Windows 95, 98 and ME keep it: their shell knows no such folder.
std::string ProgramFilesFolder()
{
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE,
                      key.out()) != ERROR_SUCCESS)
        return {};
    char folder[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    return RegQueryValueExA(key.get(), "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(folder), &size) ==
                   ERROR_SUCCESS
               ? folder
               : std::string();
}

// The names of a folder's entries, "." and ".." left out, collected before
// anything of it is deleted.
std::vector<WIN32_FIND_DATAA> Entries(const std::string& pattern)
{
    std::vector<WIN32_FIND_DATAA> entries;
    ForEachMatch(pattern, [&](const WIN32_FIND_DATAA& found) {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            entries.push_back(found);
    });
    return entries;
}

bool IsFolder(const WIN32_FIND_DATAA& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A linked folder inside loses only its link, never what it leads to.
void DeleteTree(const std::string& folder)
{
    for (const WIN32_FIND_DATAA& entry : Entries(folder + "\\*")) {
        const std::string path = folder + "\\" + entry.cFileName;
        if (!IsFolder(entry))
            DeleteFileA(path.c_str());
        else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            RemoveDirectoryA(path.c_str());
        else
            DeleteTree(path);
    }
    RemoveDirectoryA(folder.c_str());
}

void DeleteTarget(const DeletionTarget& target)
{
    switch (target.form) {
    case DeletionForm::kFile:
        DeleteFileA((target.folder + "\\" + target.name).c_str());
        break;
    case DeletionForm::kPattern:
        for (const WIN32_FIND_DATAA& entry : Entries(target.folder + "\\" + target.name))
            if (!IsFolder(entry))
                DeleteFileA((target.folder + "\\" + entry.cFileName).c_str());
        break;
    case DeletionForm::kFolder:
        DeleteTree(target.folder);
        break;
    }
}

}  // namespace

KeptFolders SystemKeptFolders()
{
    KeptFolders folders;
    const std::string windows = WindowsDirectory().path;
    folders.kept = {windows, SystemDirectory().path, ProgramFilesFolder()};
    for (const int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY,
                            CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA,
                            CSIDL_COMMON_APPDATA, CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_PROFILE})
        folders.kept.push_back(ShellFolderPath(csidl).path);
    const std::string profile = ShellFolderPath(CSIDL_PROFILE).path;
    folders.profileParents = {windows + "\\Profiles", profile.substr(0, profile.rfind('\\'))};
    for (std::vector<std::string>* list : {&folders.kept, &folders.profileParents})
        for (std::size_t i = 0, known = list->size(); i < known; ++i)
            if (const std::optional<std::string> shortForm = SystemShortPath((*list)[i]))
                list->push_back(*shortForm);
    return folders;
}

bool IsKept(const std::string& folder, const KeptFolders& folders)
{
    const std::optional<std::string> shortForm = SystemShortPath(folder);
    return IsKeptFolder(folder, folders.kept, folders.profileParents) ||
           (shortForm && IsKeptFolder(*shortForm, folders.kept, folders.profileParents));
}

bool ConfirmMadeFiles(const std::vector<ProgramMadeFiles>& madeFiles)
{
    for (const ProgramMadeFiles& made : madeFiles)
        if (made.ask) {
            const std::string text = "Do you also want to remove the settings and files that " + made.appName +
                                     " created?";
            return MessageBoxA(nullptr, text.c_str(), "Uninstall", MB_YESNO | MB_DEFBUTTON2) == IDYES;
        }
    return true;
}

std::size_t RemoveMadeFiles(const std::vector<ProgramMadeFiles>& madeFiles, bool askedToo)
{
    const KeptFolders kept = SystemKeptFolders();
    std::size_t behindLinks = 0;
    for (const ProgramMadeFiles& made : madeFiles) {
        const DeletionTarget& target = made.target;
        if ((made.ask && !askedToo) || (target.form != DeletionForm::kFile && IsKept(target.folder, kept)))
            continue;
        if (LiesBehindLink(target.folder))
            ++behindLinks;
        else
            DeleteTarget(target);
    }
    return behindLinks;
}
