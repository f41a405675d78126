#include "setup/install/section_install.h"

#include <commctrl.h>

#include <optional>
#include <vector>

#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "setup/install/shortcut.h"
#include "setup/install/source_files.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/text/installation_run.h"
#include "setup/install/uninstall_log.h"
#include "setup/install/versioned_install.h"
#include "setup/script/text/records.h"
#include "setup/script/text/variables.h"
#include "setup/ui/programs_folder.h"
#include "setup/ui/resources/resource_ids.h"

namespace {

void SetProgressPosition(HWND bar, std::size_t position)
{
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// Makes PROGRAMGROUP a full path (a name without a colon lies in the
// Programs folder) and ensures the folder, logging it and its parents only
// when this run created them: an existing group may be the Programs folder
// itself, Startup or another product's folder, which the uninstaller must
// not remove. False when there is no group folder, so that no shortcut is
// tried: a Programs folder the shell cannot tell would otherwise put the
// group at the current drive's root.
bool PrepareProgramGroup()
{
    std::string group = gVariables.Get("PROGRAMGROUP");
    if (IsGroupInProgramsFolder(group)) {
        const std::optional<std::string> programs = ProgramsFolderPath();
        if (!programs)
            return false;
        group = GroupInProgramsFolder(*programs, group);
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
    if (CreateShortcut(installedPath, link, entry.shortcutName) != S_OK)
        return;
    gInstall.log.WritePrivateFile(link);
    if (gInstall.firstShortcutTarget.empty())
        gInstall.firstShortcutTarget = installedPath;
}

// A spread file is installed at its last piece, from its joined file,
// which goes whatever the outcome. One with a piece left out is never
// installed; the user learns which at that piece.
int InstallFilePiece(std::size_t index, std::string& installedPath)
{
    const FileEntry& entry = gRecords.files[index];
    const JoinedPiece piece = AppendFilePiece(index);
    switch (piece.outcome) {
    case PieceOutcome::kAppended:
        break;
    case PieceOutcome::kFileGivenUp:
        return 0;
    case PieceOutcome::kIgnored:
    case PieceOutcome::kQuit:
        Inform(ProgramPrompter(),
               "The file " + entry.destinationPath + " has not been installed, because not all of its parts could "
               "be joined.",
               LastPathComponent(entry.destinationPath));
        return piece.outcome == PieceOutcome::kQuit ? 1 : 0;
    }
    if (!entry.lastPiece)
        return 0;
    int result;
    {
        const OwnedHandle held(HoldJoinedFile(piece.joinedPath));
        result = InstallVersionedFile(piece.joinedPath, index);
    }
    DeleteFileA(piece.joinedPath.c_str());
    if (result == 0)
        installedPath = entry.destinationPath;
    return result;
}

// A quit confirmed while the run waited in a message box (Cancel on the
// copy page) would make every later question end unseen.
bool IsQuitPending()
{
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// The copy page's file name and file bar are painted at once on every
// change, which for small files costs about as much as installing them.
// So they follow the files at most every kFileProgressMs (faster than
// anyone reads them), and at once before any question about a file.
constexpr DWORD kFileProgressMs = 40;

struct FileProgress {
    HWND page = nullptr;
    std::string name;
    std::size_t position = 0;
    bool pending = false;
    DWORD shownAt = 0;
};

FileProgress gFileProgress;

void ShowFileProgress()
{
    if (!gFileProgress.pending)
        return;
    SetDlgItemTextA(gFileProgress.page, IDC_COPY_FILE, gFileProgress.name.c_str());
    SetProgressPosition(GetDlgItem(gFileProgress.page, IDC_COPY_FILE_BAR), gFileProgress.position);
    gFileProgress.pending = false;
    gFileProgress.shownAt = GetTickCount();
}

void SetFileProgress(HWND page, const std::string& name, std::size_t position)
{
    gFileProgress.page = page;
    gFileProgress.name = name;
    gFileProgress.position = position;
    gFileProgress.pending = true;
    if (GetTickCount() - gFileProgress.shownAt >= kFileProgressMs)
        ShowFileProgress();
}

std::size_t InstallChosenSections(HWND page, bool shortcuts)
{
    HWND sectionBar = GetDlgItem(page, IDC_COPY_SECTION_BAR);
    HWND fileBar = GetDlgItem(page, IDC_COPY_FILE_BAR);
    std::size_t position = 0;
    for (const SectionEntry& section : gRecords.sections) {
        if (!IsSectionChosen(section))
            continue;
        ShowFileProgress();  // the last file of the section before, so that the bar is left as it was
        SetProgressPosition(sectionBar, position++);
        SetProgressRange(fileBar, CountSectionFiles(gRecords.files, section.name));
        SetDlgItemTextA(page, IDC_COPY_SECTION, section.name.c_str());
        std::size_t count = 0;
        for (std::size_t index = 0; index < gRecords.files.size(); ++index) {
            if (gRecords.files[index].sectionName != section.name)
                continue;
            SetFileProgress(page, LastPathComponent(gRecords.files[index].destinationPath), count++);
            std::string installedPath;
            if (IsQuitPending() || InstallFileEntry(index, installedPath) != 0)
                return index + 1;
            const FileEntry& entry = gRecords.files[index];
            if (shortcuts && entry.shortcut != 0 && !installedPath.empty())
                CreateEntryShortcut(entry, installedPath);
        }
    }
    return 0;
}

}  // namespace

void SetProgressRange(HWND bar, std::size_t steps)
{
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, ProgressMaximum(steps)));
}

int InstallFileEntry(std::size_t index, std::string& installedPath)
{
    installedPath.clear();
    FileEntry& entry = gRecords.files[index];
    ExpandDestinationPath(entry);
    CollapseBackslashes(entry.destinationPath);
    if (!entry.split) {
        if (InstallVersionedFile(entry.sourcePath, index) != 0)
            return 1;
        installedPath = entry.destinationPath;
        return 0;
    }
    return InstallFilePiece(index, installedPath);
}

std::size_t InstallSections(HWND page)
{
    const bool shortcuts = gInstall.CreateShortcuts != 0 && PrepareProgramGroup();
    const std::size_t aborted = InstallChosenSections(page, shortcuts);
    ShowFileProgress();
    return aborted;
}

void ShowPendingFileProgress()
{
    ShowFileProgress();
}
