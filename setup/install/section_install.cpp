#include "setup/install/section_install.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "common/handles.h"
#include "common/windows64.h"
#include "setup/install/file_system.h"
#include "setup/install/folder_trees.h"
#include "setup/install/install_state.h"
#include "setup/install/libraries.h"
#include "setup/install/packaged_medium.h"
#include "setup/install/registry_entries.h"
#include "setup/install/shortcuts.h"
#include "setup/install/source_files.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/text/installation_run.h"
#include "setup/install/versioned_install.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"
#include "setup/system/programs_folder.h"
#include "setup/system/system_libraries.h"

namespace {

// A spread file is installed at its last piece, from its joined file,
// which goes whatever the outcome. One with a piece left out is never
// installed; the user learns which at that piece.
RunOutcome InstallFilePiece(std::size_t index, std::string& installedPath, Prompter& prompter)
{
    const FileEntry& entry = gRecords.files[index];
    const JoinedPiece piece = AppendFilePiece(index, prompter);
    switch (piece.outcome) {
    case PieceOutcome::kAppended:
        break;
    case PieceOutcome::kFileGivenUp:
        return RunOutcome::kGoOn;
    case PieceOutcome::kIgnored:
    case PieceOutcome::kQuit:
        Inform(prompter,
               "The file " + entry.destinationPath + " has not been installed, because not all of its parts could "
               "be joined.",
               LastPathComponent(entry.destinationPath));
        return piece.outcome == PieceOutcome::kQuit ? RunOutcome::kAbortRun : RunOutcome::kGoOn;
    }
    if (!entry.lastPiece)
        return RunOutcome::kGoOn;
    RunOutcome outcome;
    {
        const OwnedHandle held(HoldJoinedFile(piece.joinedPath));
        outcome = InstallVersionedFile(piece.joinedPath, index, prompter);
    }
    DeleteFileA(piece.joinedPath.c_str());
    if (outcome == RunOutcome::kGoOn)
        installedPath = entry.destinationPath;
    return outcome;
}

// A quit confirmed while the run waited in a message box (Cancel on the
// copy page) would make every later question end unseen.
bool IsQuitPending()
{
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// A 64-bit installation's file operations see the 64-bit system folder;
// everything else (the pages, the shortcuts' COM servers) keeps the
// redirection, which the libraries it loads rely on.
RunOutcome InstallFileEntryAsSeen(std::size_t index, std::string& installedPath, Prompter& prompter)
{
    const FileRedirectionOff redirection(IsInstallation64());
    return InstallFileEntry(index, installedPath, prompter);
}

// From a solid package, decoding takes the time, so progress counts the
// bytes each file entry reads from it; elsewhere it counts file entries.
ProgressUnit SectionProgressUnit()
{
    return gInstall.packagedMedium.streams ? ProgressUnit::kBytes : ProgressUnit::kFiles;
}

uint64_t FileEntryUnits(const FileEntry& entry, ProgressUnit unit)
{
    if (unit == ProgressUnit::kFiles)
        return 1;
    const PackagedFile* packaged = FindPackagedFile(entry.sourcePath);
    return packaged ? packaged->size : 0;
}

uint64_t SectionUnits(const std::string& sectionName, ProgressUnit unit)
{
    if (unit == ProgressUnit::kFiles)
        return CountSectionFiles(gRecords.files, sectionName);
    uint64_t bytes = 0;
    for (const FileEntry& entry : gRecords.files)
        if (entry.sectionName == sectionName)
            bytes += FileEntryUnits(entry, unit);
    return bytes;
}

RunOutcome InstallChosenSections(bool shortcuts, Prompter& prompter, Progress& progress)
{
    const ProgressUnit unit = SectionProgressUnit();
    for (const SectionEntry& section : gRecords.sections) {
        if (!IsSectionChosen(section))
            continue;
        progress.StartSection(section.name, unit, SectionUnits(section.name, unit));
        MakeSectionFolders(section.name, prompter);
        uint64_t done = 0;
        for (std::size_t index = 0; index < gRecords.files.size(); ++index) {
            if (gRecords.files[index].sectionName != section.name)
                continue;
            progress.StartFile(LastPathComponent(gRecords.files[index].destinationPath), done);
            done += FileEntryUnits(gRecords.files[index], unit);
            std::string installedPath;
            if (IsQuitPending() || InstallFileEntryAsSeen(index, installedPath, prompter) == RunOutcome::kAbortRun)
                return RunOutcome::kAbortRun;
            const FileEntry& entry = gRecords.files[index];
            if (shortcuts && entry.shortcut != 0 && !installedPath.empty())
                CreateEntryShortcut(entry, installedPath);
        }
        RegisterSectionLibraries(section.name, prompter);
        WriteSectionRegistry(section.name, prompter);
        WriteSectionIniValues(section.name, prompter);
        CreateSectionShortcuts(section.name, shortcuts);
    }
    return RunOutcome::kGoOn;
}

}  // namespace

void ChooseShortcuts(bool wanted)
{
    gInstall.createShortcuts = wanted ? 1 : 0;
}

RunOutcome InstallFileEntry(std::size_t index, std::string& installedPath, Prompter& prompter)
{
    installedPath.clear();
    FileEntry& entry = gRecords.files[index];
    ExpandDestinationPath(entry);
    CollapseBackslashes(entry.destinationPath);
    if (!entry.split) {
        if (InstallVersionedFile(entry.sourcePath, index, prompter) == RunOutcome::kAbortRun)
            return RunOutcome::kAbortRun;
        installedPath = entry.destinationPath;
        return RunOutcome::kGoOn;
    }
    return InstallFilePiece(index, installedPath, prompter);
}

RunOutcome InstallSections(Prompter& prompter, Progress& progress)
{
    if (IsInstallation64())
        LoadSystemLibraries();
    const bool shortcuts = gInstall.createShortcuts != 0 && PrepareProgramGroup(prompter);
    FollowPackagedReads(&progress);
    const RunOutcome outcome = InstallChosenSections(shortcuts, prompter, progress);
    FollowPackagedReads(nullptr);
    NotifyFileTypesChanged();
    return outcome;
}
