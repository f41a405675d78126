// What the script's commands describe: sections, files, custom controls on
// pages, actions tied to pages, and the look of the background window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The window handle type of the platform, declared without its header.
struct HWND__;
using WindowHandle = HWND__*;

// A script number: the C atoi rules (leading blanks, sign, digits up to the
// first other character; anything else gives 0), kept within 32 bits.
int32_t ScriptNumber(const std::string& text);
// A script flag: 1 when the number is nonzero, else 0.
int32_t ScriptFlag(const std::string& text);
// A COLORREF from three script numbers, each cut to its low 8 bits.
uint32_t ScriptColor(const std::string& red, const std::string& green, const std::string& blue);

struct SectionEntry {
    std::string name;
    int32_t mandatory = 0;  // stored as written: 2 is "mandatory" too
    std::string comment;
    int32_t selected = 0;   // written by the sections page
};

struct FileEntry {
    std::string sourcePath;
    std::string destinationPath;  // keeps its [NAME] references until installed
    bool destinationExpanded = false;
    std::string shortcutName;
    std::string sectionName;
    int32_t shared = 0;
    int16_t disk = 0;
    int32_t split = 0;
    int32_t lastPiece = 0;
    int32_t shortcut = 0;
};

// An AddShortcut: made after its section's files. Everything but the place
// and the section keeps its [NAME] references until the copy page.
struct ShortcutEntry {
    std::string place;  // "GROUP", "DESKTOP", ... or a folder ending in a backslash
    std::string name;   // without ".lnk"; a backslash in it makes subfolders
    std::string target;
    std::string arguments;
    std::string icon;   // "" for the target's own, or "path,index"
    std::string sectionName;
};

// An AddFinishAction: a check box on the finish page.
struct FinishAction {
    std::string kind;  // "RUN" or "OPEN"
    std::string target;     // expanded on the finish page
    std::string arguments;  // expanded on the finish page
    std::string text;
    int32_t checked = 0;
};

// AddRegistry, AddIniValue and RegisterLibrary, each installed with its
// section after the section's files. Their paths, keys, names and data keep
// their [NAME] references until installed, as a file's destination does;
// the words (root, type, removal) are taken as written.
struct RegistryEntry {
    std::string root, key, name, type, data, sectionName, removal;
};
struct IniEntry {
    std::string file, iniSection, key, value, sectionName, removal;
};
struct LibraryEntry {
    std::string path, sectionName;
};

struct CustomWindow {
    WindowHandle window = nullptr;  // while its page is open
    std::string kind;
    std::string name;
    std::string page;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::string text;
};

struct ActionRecord {
    std::string command;  // "ShowMessage", "SetNextDynamicState" or "CheckButton"
    std::vector<std::string> arguments;

    // A ShowMessage's text and caption, the control whose click shows it,
    // and its trigger: "COMMAND" for such a click (a "NOW" message is shown
    // at once and never recorded), anything else for never.
    const std::string& MessageText() const { return arguments[0]; }
    const std::string& MessageCaption() const { return arguments[1]; }
    const std::string& Control() const { return arguments[2]; }
    const std::string& Trigger() const { return arguments[3]; }
};

// A folder of an AddFolder tree, made with its section before the
// section's files, so that the tree's empty folders are there too.
struct FolderEntry {
    std::string destinationPath;  // keeps its [NAME] references until made
    std::string sectionName;
};

// Files the program makes itself, which Unskein deletes too.
struct UninstallDeletion {
    std::string path;  // keeps its [NAME] references until installed
    bool ask = false;  // Unskein asks first
};

struct Rgb {
    int32_t red, green, blue;  // not limited to 0-255: only the low 8 bits paint
};

struct DisplaySettings {
    Rgb topColor{0, 0, 255};
    Rgb bottomColor{0, 0, 0};
    int32_t redrawWait = 0;    // milliseconds, 0 to kMaxRedrawWait
    int32_t captionSize = 65;  // points
    uint32_t captionColor1 = 0x00FFFFFF;
    uint32_t captionColor2 = 0;
    int32_t caption1X = 30, caption1Y = 30;
    int32_t caption2X = 40, caption2Y = 40;
};

// The longest pause after a repaint: every repaint blocks setup for that
// long, so "-1" (forever) and weeks are cut to this.
constexpr int32_t kMaxRedrawWait = 10000;

struct InstallationRecords {
    std::vector<SectionEntry> sections;
    std::vector<FileEntry> files;
    std::vector<FolderEntry> folders;  // AddFolder's, parents first
    std::vector<RegistryEntry> registryEntries;
    std::vector<IniEntry> iniEntries;
    std::vector<LibraryEntry> libraries;
    std::vector<CustomWindow> windows;
    std::vector<ActionRecord> actions;
    std::vector<ShortcutEntry> shortcuts;
    std::vector<FinishAction> finishActions;
    DisplaySettings display;
    std::vector<UninstallDeletion> uninstallDeletions;
    bool cleanUninstall = false;  // Unskein removes itself, the log and the empty folders
    bool install64 = false;  // SetInstall64: the 64-bit folders and registry view where Windows has them
    std::vector<std::string> obsoleteFiles;  // DeleteOnInstall's patterns, expanded at the copy page
};

extern InstallationRecords gRecords;

// The longest source pattern the system's directory search takes: a path
// buffer of 260 bytes less its terminating zero.
constexpr std::size_t kMaxSourcePattern = 259;

// One match of an AddFile source pattern, as the directory search found it.
struct FoundFile {
    std::string name;
    bool isDirectory;
};

// What an AddFolder search found below its source folder, as paths below
// it with backslashes.
struct FoundTree {
    std::vector<std::string> folders;  // every folder of the tree, parents first
    std::vector<std::string> files;    // the files whose names match the pattern
};

// Whether `name` matches a search pattern with * and ?, with the rules of
// Windows: names compare ignoring case, "*.*" also matches names without a dot.
bool MatchesSearchPattern(const std::string& pattern, const std::string& name);

// The building operations; `args` are the command's arguments after expansion.
void AppendSection(InstallationRecords& records, const std::vector<std::string>& args);
void AppendFileEntries(InstallationRecords& records, const std::vector<std::string>& args,
                       const std::vector<FoundFile>& matches);
// AddFolder: a private file entry for each file of the tree, at the same
// path below the destination, and a folder entry for the destination and
// each folder of the tree.
void AppendFolderTree(InstallationRecords& records, const std::vector<std::string>& args, const FoundTree& tree);
void AppendCustomWindow(InstallationRecords& records, const std::vector<std::string>& args);
void AppendAction(InstallationRecords& records, const std::string& command,
                  const std::vector<std::string>& args);
// Expands the destination's [NAME] references, once: the expanded path is
// plain text, whatever brackets its folder names hold.
void ExpandDestinationPath(FileEntry& entry);
void AppendShortcut(InstallationRecords& records, const std::vector<std::string>& args);
void AppendFinishAction(InstallationRecords& records, const std::vector<std::string>& args);
// SetSectionSelected: every section of that name created so far starts out
// chosen or not.
void PreselectSection(InstallationRecords& records, const std::vector<std::string>& args);
void SetBackgroundColors(DisplaySettings& display, const std::vector<std::string>& args);
void SetCaptionColors(DisplaySettings& display, const std::vector<std::string>& args);
void SetCaptionPositions(DisplaySettings& display, const std::vector<std::string>& args);
