#include "scriptcheck/command_check.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>

#include "scriptcheck/platform_check.h"
#include "common/text/obsolete_files.h"
#include "scriptcheck/entry_check.h"
#include "scriptcheck/page_check.h"
#include "scriptcheck/shortcut_check.h"
#include "scriptcheck/suggest.h"
#include "scriptcheck/uninstall_check.h"
#include "setup/model/text/built_in_variables.h"
#include "setup/model/text/commands.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

namespace fs = std::filesystem;

namespace {

// Where the check pretends that Windows and Program Files lie on the target
// machine; only SP (the medium) is real.
const char kProgramFilesBase[] = "C:\\Program Files\\";
const char kWindowsFolder[] = "C:\\WINDOWS";
const char kSystemFolder[] = "C:\\WINDOWS\\SYSTEM";
const char kAppDataFolder[] = "C:\\WINDOWS\\Application Data";
const char kProfilesFolder[] = "C:\\WINDOWS\\Profiles";
const char kUninstaller[] = "Unskein.exe";

const std::vector<std::string> kControlKinds = {"CHECKBOX", "CHECKBOX_BTNSTYLE", "OPTION",
                                                "OPTION_BTNSTYLE", "LABEL", "EDIT"};
// Window classes that exist in setup's process: the system's and the common
// controls that setup registers at start-up.
const std::vector<std::string> kWindowClasses = {
    "Button", "Edit", "Static", "ListBox", "ComboBox", "ScrollBar", "SysListView32", "SysTreeView32",
    "SysHeader32", "ToolbarWindow32", "msctls_statusbar32", "msctls_trackbar32", "tooltips_class32",
    "SysTabControl32", "msctls_updown32", "msctls_progress32", "msctls_hotkey32", "SysAnimate32"};

std::string Plural(size_t count, const std::string& word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

bool Contains(const std::vector<std::string>& list, const std::string& text)
{
    return std::find(list.begin(), list.end(), text) != list.end();
}

bool ContainsIgnoringCase(const std::vector<std::string>& list, const std::string& text)
{
    return std::any_of(list.begin(), list.end(), [&](const std::string& s) { return EqualIgnoringCase(s, text); });
}

std::vector<std::string> PageNames()
{
    std::vector<std::string> pages;
    for (const CommandInfo& info : CommandTable())
        if (const char* page = PageName(info.command))
            pages.push_back(page);
    return pages;
}

std::vector<std::string> CommandNames()
{
    std::vector<std::string> names;
    for (const CommandInfo& info : CommandTable())
        names.push_back(info.name);
    return names;
}

// The variables a command writes, besides SetVariable's own.
std::vector<std::string> WrittenVariables(Command command)
{
    switch (command) {
    case Command::SetAppName: return {"APPNAME", "PROGRAMGROUP", "DP"};
    case Command::SetDeveloperName: return {"DEVELOPERNAME"};
    case Command::SetWelcomeString: return {"WELCOMESTRING_CAP", "WELCOMESTRING"};
    case Command::SetWelcomeString2: return {"WELCOMESTRING2"};
    case Command::SetCaption: return {"CAPTION"};
    case Command::SetAppVersion: return {"APPVERSION", "INSTALLEDVERSION"};
    default: return {};
    }
}

// The [NAME] references of a text, as setup's expansion would meet them.
std::vector<std::string> References(const std::string& text)
{
    std::vector<std::string> names;
    for (size_t open = text.find('['); open != std::string::npos; open = text.find('[', open)) {
        const size_t close = text.find(']', open);
        if (close == std::string::npos)
            break;
        names.push_back(text.substr(open + 1, close - open - 1));
        open = close;
    }
    return names;
}

std::string ArgumentName(int number, const std::string& command)
{
    return "argument " + std::to_string(number) + " of " + Quoted(command);
}

struct AddFileUse {
    size_t entry;
    std::vector<std::string> args;  // after the command's expansion
    size_t firstFile, fileCount;    // its file entries in the walk's records
};

struct Reference {
    Place at;
    std::string name;
    std::string usedBy;  // for references that the command does not expand
};

class ScriptWalk {
public:
    ScriptWalk(const ScriptStore& store, const std::vector<EntryLayout>& layouts, const Medium& medium,
               Diagnostics& diagnostics)
        : store_(store), layouts_(layouts), medium_(medium), d_(diagnostics)
    {
    }

    // Returns the AddFile calls carried out.
    std::vector<AddFileCall> Run();

private:
    Place EntryPlace(size_t entry) const
    {
        return {store_.Entries()[entry].line, store_.Entries()[entry].column};
    }
    // Where argument `number` (from 1) of an entry begins.
    Place ArgumentPlace(size_t entry, int number) const
    {
        const std::vector<Place>& arguments = layouts_[entry].arguments;
        return number >= 1 && static_cast<size_t>(number) <= arguments.size() ? arguments[number - 1]
                                                                              : EntryPlace(entry);
    }

    void Assign(const std::string& name, int line) { assigned_.emplace(name, line); }
    void StartUp();
    bool CheckCall(size_t entry, const CommandInfo*& info);
    void CheckNumbers(size_t entry, const CommandInfo& info, const std::vector<std::string>& args);
    void NoteReferences(size_t entry, const CommandInfo& info, const std::vector<std::string>& args);
    void Carry(size_t entry, const CommandInfo& info, std::vector<std::string>& args);
    void AddFiles(size_t entry, const std::vector<std::string>& args);
    void AddFolderTree(size_t entry, const std::vector<std::string>& args);
    void WarnIfAfterCopy(size_t entry, const std::string& command);
    void CheckDestination(size_t entry, const std::vector<std::string>& args, size_t files);
    bool IsTesselpacksOwn(const std::string& pattern, const MediumSearch& search) const;
    void CheckCopy(size_t entry);
    void CheckForbidProcess(size_t entry, const std::string& name);
    void CheckDeleteOnUninstall(size_t entry, const std::vector<std::string>& args);
    void ShowFile(size_t entry, const CommandInfo& info, const std::vector<std::string>& args);
    void CheckAppVersion(size_t entry, const std::string& version);
    void CheckObsoleteFiles(size_t entry, const std::string& pattern);
    void CheckEntryVariable(size_t entry, const std::string& name);

    void CheckReferences();
    void CheckWindows();
    void CheckActions();
    void CheckMessage(size_t entry, const ActionRecord& message);
    void CheckCheckButton(size_t entry, const std::vector<std::string>& args);
    void CheckNextCondition(size_t entry, const std::vector<std::string>& args);
    void CheckFileSections();
    void CheckSpreadFiles();
    void SuggestFolderTrees();
    void CheckEntryCalls();
    void CheckShortcutsAndFinish();

    std::vector<const CustomWindow*> ControlsNamed(const std::string& name) const;
    std::vector<std::string> ControlNames() const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> AssignedNames() const;
    std::vector<std::string> Destinations(const AddFileUse& use) const;

    const ScriptStore& store_;
    const std::vector<EntryLayout>& layouts_;
    const Medium& medium_;
    Diagnostics& d_;

    std::map<std::string, int> assigned_;  // variable -> line of its first setting (0: at start-up)
    std::vector<Reference> earlyReferences_, lateReferences_, literalReferences_;
    std::vector<size_t> windowEntries_, actionEntries_, sectionEntries_;  // the entry that made each record
    std::vector<AddFileUse> addFiles_;
    std::vector<std::pair<size_t, std::vector<std::string>>> entryCalls_;  // AddRegistry, AddIniValue, RegisterLibrary, AddFolder
    std::vector<AddFileCall> calls_;
    std::vector<SectionBinding> bindings_;
    int copies_ = 0;
    int firstPageLine_ = 0;  // 0 until a page is shown
    ShortcutCheck shortcuts_;

    // What setup's stores would hold, carried out with setup's own record building.
    VariableStore variables_;
    InstallationRecords records_;
};

std::vector<AddFileCall> ScriptWalk::Run()
{
    StartUp();
    for (size_t entry = 0; entry < store_.Entries().size(); ++entry) {
        const CommandInfo* info = nullptr;
        if (!CheckCall(entry, info))
            continue;
        std::vector<std::string> args = store_.Entries()[entry].arguments;
        CheckNumbers(entry, *info, args);
        NoteReferences(entry, *info, args);
        ExpandCommandArguments(*info, args, variables_);
        Carry(entry, *info, args);
    }
    CheckReferences();
    CheckWindows();
    CheckActions();
    CheckFileSections();
    CheckSpreadFiles();
    SuggestFolderTrees();
    CheckPlatformCover(bindings_, records_.sections, d_);
    CheckEntryCalls();
    CheckShortcutsAndFinish();
    return std::move(calls_);
}

void ScriptWalk::StartUp()
{
    const BuiltInFolders folders{medium_.Folder(), kWindowsFolder, kSystemFolder, kProgramFilesBase, kAppDataFolder, {}};
    for (const auto& [name, value] : BuiltInVariables(folders)) {
        variables_.SetOutside(name, value);
        Assign(name, 0);
    }
}

// Whether setup carries the entry out: a known command with its count.
bool ScriptWalk::CheckCall(size_t entry, const CommandInfo*& info)
{
    const ScriptEntry& call = store_.Entries()[entry];
    const EntryLayout& layout = layouts_[entry];
    info = FindCommand(call.name);
    if (!info) {
        if (!layout.explained && layout.commentLine == 0)
            d_.Error(EntryPlace(entry), Quoted(call.name) + " is no command: setup skips it" +
                                            DidYouMean(call.name, CommandNames()));
        return false;
    }
    if (layout.commentLine != 0)
        d_.Error(EntryPlace(entry), Quoted(call.name) + " stands in the text after '//' on line " +
                                        std::to_string(layout.commentLine) +
                                        ", which setup reads as commands: it is carried out");
    if (static_cast<int>(call.arguments.size()) != info->argumentCount) {
        const std::string takes = info->argumentCount == 0 ? "no arguments"
                                                           : Plural(info->argumentCount, "argument");
        d_.Error(EntryPlace(entry), Quoted(call.name) + " takes " + takes + ", not " +
                                        std::to_string(call.arguments.size()) +
                                        ": setup stops here with a syntax error");
        return false;
    }
    return true;
}

void ScriptWalk::CheckNumbers(size_t entry, const CommandInfo& info, const std::vector<std::string>& args)
{
    std::vector<int> numbers;
    for (int i = 0; i < info.argumentCount; ++i)
        if (info.Kind(i) == ArgumentKind::kNumber)
            numbers.push_back(i + 1);
    if (info.command == Command::SetNextDynamicState && args[3] == "VALUE")
        numbers.push_back(5);
    for (int number : numbers) {
        const std::string& text = args[number - 1];
        if (text.empty())
            continue;  // customary for "no" and for the arguments without effect
        size_t i = 0;
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const size_t digits = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        const std::string what = ArgumentName(number, info.name) + " is " + Quoted(text);
        const Place at = ArgumentPlace(entry, number);
        if (i == digits)
            d_.Warning(at, what + ", which is no number: setup reads 0");
        else if (i < text.size())
            d_.Warning(at, what + ": setup reads the number " + std::to_string(ScriptNumber(text)) +
                               " and ignores the rest");

        const int32_t value = ScriptNumber(text);
        const bool colour = info.command == Command::SetBackground || info.command == Command::SetCaptionColor;
        if (colour && (value < 0 || value > 255))
            d_.Warning(at, what + ", outside 0 to 255: only its low 8 bits count, which give " +
                               std::to_string(value & 0xFF));
        if (info.command == Command::AddFile && number == 5 && (value < -32768 || value > 32767))
            d_.Warning(at, what + ": disk numbers are kept in 16 bits, so setup asks for disk " +
                               std::to_string(static_cast<int16_t>(static_cast<uint16_t>(value))));
    }
}

void ScriptWalk::NoteReferences(size_t entry, const CommandInfo& info, const std::vector<std::string>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const Place at = ArgumentPlace(entry, number);
        for (const std::string& name : References(args[i])) {
            if (info.Kind(static_cast<int>(i)) == ArgumentKind::kExpanded) {
                if (!assigned_.count(name))
                    earlyReferences_.push_back({at, name, ""});
            } else if (IsExpandedAtCopy(info.command, number) || IsExpandedLater(info.command, number, args)) {
                lateReferences_.push_back({at, name, ""});  // expanded when the entry is installed
            } else {
                literalReferences_.push_back({at, name, ArgumentName(number, info.name)});
            }
        }
    }
}

void ScriptWalk::Carry(size_t entry, const CommandInfo& info, std::vector<std::string>& args)
{
    const int line = store_.Entries()[entry].line;
    switch (info.command) {
    case Command::AddFile:
        AddFiles(entry, args);
        break;
    case Command::AddFolder:
        AddFolderTree(entry, args);
        break;
    case Command::SetBackground:
        SetBackgroundColors(records_.display, args);
        break;
    case Command::ShowCopy:
        CheckCopy(entry);
        break;
    case Command::ForbidProcess:
        CheckForbidProcess(entry, args[0]);
        break;
    case Command::DeleteOnUninstall:
        CheckDeleteOnUninstall(entry, args);
        RunRecordingCommand(info, args, kProgramFilesBase, variables_, records_);
        break;
    case Command::AddShortcut:
    case Command::SetSectionSelected:
    case Command::AddFinishAction:
    case Command::ShowFinish:
        shortcuts_.Note(info.command, args, [&](int number) { return ArgumentPlace(entry, number); }, variables_,
                        records_.sections, copies_, d_);
        RunRecordingCommand(info, args, kProgramFilesBase, variables_, records_);
        break;
    case Command::ShowLicence:
    case Command::ShowText:
        ShowFile(entry, info, args);
        break;
    case Command::SetBackButton:
        CheckBeforePages(d_, EntryPlace(entry), info.name, firstPageLine_);
        break;
    case Command::RequireWindows:
        CheckBeforePages(d_, EntryPlace(entry), info.name, firstPageLine_);
        CheckWindowsVersion(d_, ArgumentPlace(entry, 1), args[0]);
        CheckWindowsVersion(d_, ArgumentPlace(entry, 2), args[1]);
        break;
    case Command::SetSectionPlatform: {  // the walk keeps every section, whatever the machine
        const SectionBinding binding{ArgumentPlace(entry, 1), ArgumentPlace(entry, 2), args[0], args[1]};
        if (CheckSectionBinding(binding, records_.sections, d_))
            bindings_.push_back(binding);
        break;
    }
    case Command::SetAppVersion:
        CheckAppVersion(entry, args[0]);
        break;
    case Command::DeleteOnInstall:
        CheckObsoleteFiles(entry, args[0]);
        RunRecordingCommand(info, args, kProgramFilesBase, variables_, records_);
        break;
    default:
        RunRecordingCommand(info, args, kProgramFilesBase, variables_, records_);
        break;
    }
    if (info.command == Command::SetVariable) {
        Assign(args[0], line);
        CheckEntryVariable(entry, args[0]);
    }
    if (info.command == Command::AddRegistry || info.command == Command::AddIniValue ||
        info.command == Command::RegisterLibrary || info.command == Command::AddFolder)
        entryCalls_.emplace_back(entry, args);
    for (const std::string& name : WrittenVariables(info.command))
        Assign(name, line);
    if (PageName(info.command) && firstPageLine_ == 0)
        firstPageLine_ = line;
    windowEntries_.resize(records_.windows.size(), entry);
    actionEntries_.resize(records_.actions.size(), entry);
    sectionEntries_.resize(records_.sections.size(), entry);
}

// The path as setup would expand it at the copy page, judged by Unskein's rules.
void ScriptWalk::CheckDeleteOnUninstall(size_t entry, const std::vector<std::string>& args)
{
    std::string path = args[0];
    ExpandVariables(variables_, path);
    const std::optional<std::string> reason = RefusedDeletionReason(
        path, {kWindowsFolder, kSystemFolder, kProgramFilesBase, kAppDataFolder}, {kProfilesFolder});
    const std::string shown = path == args[0] ? Quoted(path) : Quoted(args[0]) + " (" + Quoted(path) + " here)";
    if (reason)
        d_.Warning(ArgumentPlace(entry, 1), "Unskein deletes nothing through " + shown + ": " + *reason);
}

// The variables that setup itself reads for the list of programs; a name
// spelt nearly so is most likely meant as one of them.
void ScriptWalk::CheckEntryVariable(size_t entry, const std::string& name)
{
    const std::string meant = Suggest(name, {"APPVERSION", "APPURL"});
    if (!meant.empty())
        d_.Warning(ArgumentPlace(entry, 1), Quoted(name) + " is not " + Quoted(meant) +
                                                ", which the list of programs shows: names are exact and case-sensitive");
}

void ScriptWalk::AddFiles(size_t entry, const std::vector<std::string>& args)
{
    const Place at = ArgumentPlace(entry, 1);
    const std::string pattern = Quoted(store_.Entries()[entry].arguments[0]);
    if (args[0].size() > kMaxSourcePattern) {
        d_.Warning(at, "the source pattern " + pattern + " is " + std::to_string(args[0].size()) +
                           " characters long once expanded, more than the " + std::to_string(kMaxSourcePattern) +
                           " that Windows' search takes: setup says so and adds nothing");
        return;
    }
    const MediumSearch search = medium_.Search(args[0]);
    const size_t before = records_.files.size();
    AppendFileEntries(records_, args, search.matches);
    const size_t added = records_.files.size() - before;
    addFiles_.push_back({entry, args, before, added});
    calls_.push_back({entry, args, search});

    // A pattern that finds nothing stops tesselpack, which cannot put the file on the medium.
    const Severity nothingFound =
        medium_.Kind() == MediumKind::kTesselpackSource ? Severity::Error : Severity::Warning;
    switch (search.outcome) {
    case SearchOutcome::JoinedToMedium:
        d_.Add(at, nothingFound, "the source pattern " + pattern + " runs on from the setup folder's name without a "
                                 "backslash (SP has none at its end): write [SP]\\ before the folder or file");
        break;
    case SearchOutcome::WildcardInFolder:
        d_.Add(at, nothingFound, "the source pattern " + pattern + " has * or ? before its last backslash: setup's "
                                 "search finds nothing, only the last part may hold wildcards");
        break;
    case SearchOutcome::Searched:
        if (added == 0 && !IsTesselpacksOwn(args[0], search)) {
            const SourceFinding finding = MissingSourceFinding(medium_, pattern);
            d_.Add(at, finding.severity, finding.message);
        }
        break;
    case SearchOutcome::OutsideMedium:
        break;
    }
    CheckDestination(entry, args, added);
    WarnIfAfterCopy(entry, "AddFile");
}

void ScriptWalk::WarnIfAfterCopy(size_t entry, const std::string& command)
{
    if (copies_ > 0)
        d_.Warning(EntryPlace(entry), command + " after ShowCopy: the installation has run, so these files are never "
                                                "installed");
}

// A source folder outside the medium is the target machine's: not checked.
void ScriptWalk::AddFolderTree(size_t entry, const std::vector<std::string>& args)
{
    WarnIfAfterCopy(entry, "AddFolder");
    const MediumSearch search = medium_.SearchTree(args[0], args[3]);
    if (search.outcome != SearchOutcome::Searched)
        return;
    calls_.push_back({entry, args, search, false, true});
    if (!search.folder.empty()) {
        AppendFolderTree(records_, args, search.tree);
        return;
    }
    const SourceFinding finding = MissingFolderFinding(medium_, Quoted(store_.Entries()[entry].arguments[0]));
    d_.Add(ArgumentPlace(entry, 1), finding.severity, finding.message);
}

// Three or more AddFile lines whose sources lie in different folders of one
// folder below the medium's top: one AddFolder installs them all, and the
// folders added later too.
void ScriptWalk::SuggestFolderTrees()
{
    struct Group {
        size_t firstEntry;
        std::set<std::string> folders;
    };
    std::map<std::string, Group> groups;  // by the folder that holds the sources' folders
    for (const AddFileCall& call : calls_) {
        if (call.shownFile || call.folderTree || call.search.outcome != SearchOutcome::Searched ||
            call.search.folder.empty())
            continue;
        const fs::path folder = fs::path(call.search.folder).lexically_normal();
        if (folder.parent_path() == fs::path(medium_.Folder()).lexically_normal() || folder == folder.parent_path())
            continue;
        Group& group = groups.emplace(folder.parent_path().string(), Group{call.entry, {}}).first->second;
        group.folders.insert(folder.string());
    }
    for (const auto& [parent, group] : groups) {
        if (group.folders.size() < 3)
            continue;
        std::string written = store_.Entries()[group.firstEntry].arguments[0];
        written = written.substr(0, written.find_last_of("\\/"));
        written = written.substr(0, written.find_last_of("\\/"));
        d_.Warning(ArgumentPlace(group.firstEntry, 1),
                   "AddFile lines install from " + std::to_string(group.folders.size()) + " folders in " +
                       Quoted(written) + ": one AddFolder installs the whole tree, also the folders added later");
    }
}

// A program that tesselpack puts at the top of the medium it writes, which
// its source folder need not hold.
bool ScriptWalk::IsTesselpacksOwn(const std::string& pattern, const MediumSearch& search) const
{
    return medium_.Kind() == MediumKind::kTesselpackSource && ProgramOfTesselpack(pattern) && medium_.IsTop(search);
}

// AddFile appends a file's name only to a destination written with a final
// backslash; otherwise the destination is the file's full path.
void ScriptWalk::CheckDestination(size_t entry, const std::vector<std::string>& args, size_t files)
{
    const std::string& destination = args[1];
    if (!destination.empty() && destination.back() == '\\')
        return;
    std::string expanded = destination;
    ExpandVariables(variables_, expanded);
    if (expanded.empty() || expanded.back() == '\\')
        d_.Warning(ArgumentPlace(entry, 2), "the destination " + Quoted(destination) + " names a folder only "
                                            "once expanded, but AddFile takes a destination without a final "
                                            "backslash as the file's full path: write " +
                                            Quoted(destination + "\\") + " to keep the file's name");
    else if (files > 1 && ScriptFlag(args[5]) == 0)
        d_.Warning(ArgumentPlace(entry, 2), "the source pattern matches " + Plural(files, "file") +
                                                ", and all are installed as the one file " + Quoted(destination) +
                                                ": end the destination with a backslash to keep their names");
}

void ScriptWalk::CheckCopy(size_t entry)
{
    if (++copies_ > 1) {
        d_.Warning(EntryPlace(entry), "a second ShowCopy installs nothing: its page stays open until the user "
                                      "cancels");
        return;
    }
    if (!assigned_.count("APPNAME"))
        d_.Warning(EntryPlace(entry), "ShowCopy without SetAppName before it: the files go into the Program "
                                      "Files folder itself and the uninstall entry has no name");

    const AddFileUse* uninstaller = nullptr;
    for (const AddFileUse& use : addFiles_) {
        for (const std::string& destination : Destinations(use)) {
            if (destination.compare(0, 4, "[DP]") != 0)
                continue;
            const size_t name = destination.find_first_not_of('\\', 4);
            if (name != std::string::npos && EqualIgnoringCase(destination.substr(name), kUninstaller))
                uninstaller = &use;
        }
    }
    if (!uninstaller) {
        d_.Warning(EntryPlace(entry), "no AddFile before ShowCopy installs Unskein.exe into [DP]: the uninstall "
                                      "entry will name a program that is not there");
        return;
    }
    if (ScriptFlag(uninstaller->args[3]) != 0)
        d_.Warning(ArgumentPlace(uninstaller->entry, 4),
                   "Unskein.exe is installed as a shared file, which Windows may place elsewhere: the uninstall "
                   "entry names [DP]Unskein.exe; write \"0\"");
    const std::string& section = uninstaller->args[2];
    bool mandatory = false, exists = false;
    for (const SectionEntry& s : records_.sections) {
        if (s.name == section) {
            exists = true;
            mandatory = mandatory || s.mandatory != 0;
        }
    }
    if (exists && !mandatory)
        d_.Warning(ArgumentPlace(uninstaller->entry, 3),
                   "Unskein.exe is in the optional section " + Quoted(section) +
                       ": when the user leaves it out, the uninstall entry names a program that is not there");
}

// The file a licence or text page shows goes onto the medium as AddFile's
// sources do.
void ScriptWalk::ShowFile(size_t entry, const CommandInfo& info, const std::vector<std::string>& args)
{
    const MediumSearch search = medium_.Search(args[0]);
    CheckShownFile(d_, ArgumentPlace(entry, 1), info.name, store_.Entries()[entry].arguments[0], search, medium_);
    calls_.push_back({entry, args, search, true});
}

// The installed version is looked up by the application's name, and
// SetAppName sets DP and PROGRAMGROUP anew.
void ScriptWalk::CheckAppVersion(size_t entry, const std::string& version)
{
    variables_.Set("APPVERSION", version);
    variables_.Set("INSTALLEDVERSION", "");
    if (!assigned_.count("APPNAME"))
        d_.Warning(EntryPlace(entry), "SetAppVersion before SetAppName: setup looks for the installed version "
                                      "under no name, and finds none");
}

// The pattern as it stands now; setup expands it at the copy page.
void ScriptWalk::CheckObsoleteFiles(size_t entry, const std::string& pattern)
{
    std::string expanded = pattern;
    ExpandVariables(variables_, expanded);
    if (!CheckObsoletePattern(expanded, {{kWindowsFolder, kSystemFolder}, {kProgramFilesBase}}))
        d_.Warning(ArgumentPlace(entry, 1),
                   "DeleteOnInstall " + Quoted(pattern) + " deletes nothing: setup deletes only in a full path "
                   "that is no root or system folder, with * and ? in its last part only");
}

void ScriptWalk::CheckForbidProcess(size_t entry, const std::string& name)
{
    if (name.empty())
        d_.Warning(ArgumentPlace(entry, 1), "ForbidProcess with an empty name never finds a program");
    else if (name.find_first_of("\\/") != std::string::npos)
        d_.Warning(ArgumentPlace(entry, 1), "ForbidProcess compares file names without their folder, so " +
                                                Quoted(name) + " never matches: give the file name alone");
}

void ScriptWalk::CheckReferences()
{
    const std::vector<std::string> names = AssignedNames();
    for (const Reference& ref : earlyReferences_) {
        const std::string what = "[" + ref.name + "]";
        auto later = assigned_.find(ref.name);
        if (later != assigned_.end())
            d_.Warning(ref.at, Quoted(what) + " expands to the empty text here: " + ref.name +
                                   " is set only later, on line " + std::to_string(later->second));
        else
            d_.Warning(ref.at, Quoted(what) + " expands to the empty text: no variable " + Quoted(ref.name) +
                                   " is ever set" + DidYouMean(ref.name, names));
    }
    for (const Reference& ref : lateReferences_)
        if (!assigned_.count(ref.name))
            d_.Warning(ref.at, Quoted("[" + ref.name + "]") + " expands to the empty text: no variable " +
                                   Quoted(ref.name) + " is ever set" + DidYouMean(ref.name, names));
    for (const Reference& ref : literalReferences_)
        if (assigned_.count(ref.name))
            d_.Warning(ref.at, Quoted("[" + ref.name + "]") + " stays as written: setup replaces no variables in " +
                                   ref.usedBy);
}

void ScriptWalk::CheckWindows()
{
    const std::vector<std::string> pages = PageNames();
    for (size_t i = 0; i < records_.windows.size(); ++i) {
        const CustomWindow& window = records_.windows[i];
        const size_t entry = windowEntries_[i];
        if (!Contains(pages, window.page))
            d_.Warning(ArgumentPlace(entry, 1), Quoted(window.page) + " is no page: this control is never shown" +
                                                    DidYouMean(window.page, pages));
        if (!Contains(kControlKinds, window.kind)) {
            const std::string kind = Quoted(window.kind);
            if (ContainsIgnoringCase(kControlKinds, window.kind))
                d_.Warning(ArgumentPlace(entry, 3), kind + " is no control kind (kinds compare exactly): setup "
                                                           "looks for a window class of that name and finds none" +
                                                           DidYouMean(window.kind, kControlKinds));
            else if (!ContainsIgnoringCase(kWindowClasses, window.kind))
                d_.Warning(ArgumentPlace(entry, 3),
                           kind + " is neither a control kind nor a standard window class: the control appears "
                                  "only if a window class of that name exists" +
                               DidYouMean(window.kind, kControlKinds));
        }
        if (window.right <= window.left || window.bottom <= window.top)
            d_.Warning(ArgumentPlace(entry, 6), "the control's rectangle (" + std::to_string(window.left) + ", " +
                                                    std::to_string(window.top) + ", " +
                                                    std::to_string(window.right) + ", " +
                                                    std::to_string(window.bottom) +
                                                    ") has no area: right must exceed left and bottom top");
    }
}

void ScriptWalk::CheckActions()
{
    for (size_t i = 0; i < records_.actions.size(); ++i) {
        const ActionRecord& action = records_.actions[i];
        if (action.command == "ShowMessage")
            CheckMessage(actionEntries_[i], action);
        else if (action.command == "CheckButton")
            CheckCheckButton(actionEntries_[i], action.arguments);
        else
            CheckNextCondition(actionEntries_[i], action.arguments);
    }
}

std::vector<const CustomWindow*> ScriptWalk::ControlsNamed(const std::string& name) const
{
    std::vector<const CustomWindow*> controls;
    for (const CustomWindow& window : records_.windows)
        if (window.name == name)
            controls.push_back(&window);
    return controls;
}

std::vector<std::string> ScriptWalk::ControlNames() const
{
    std::vector<std::string> names;
    for (const CustomWindow& window : records_.windows)
        names.push_back(window.name);
    return names;
}

void ScriptWalk::CheckMessage(size_t entry, const ActionRecord& message)
{
    const std::string& trigger = message.Trigger();
    if (trigger != "COMMAND") {
        d_.Warning(ArgumentPlace(entry, 4), "the trigger " + Quoted(trigger) +
                                                " is neither \"NOW\" nor \"COMMAND\": this message is never shown" +
                                                DidYouMean(trigger, {"NOW", "COMMAND"}));
        return;
    }
    const std::string& control = message.Control();
    const std::vector<const CustomWindow*> controls = ControlsNamed(control);
    if (controls.empty())
        d_.Warning(ArgumentPlace(entry, 3), Quoted(control) + " names no control (AddWindow): this message is "
                                                              "never shown" + DidYouMean(control, ControlNames()));
    else if (std::all_of(controls.begin(), controls.end(), [](const CustomWindow* w) { return w->kind == "LABEL"; }))
        d_.Warning(ArgumentPlace(entry, 3), Quoted(control) + " is a LABEL, which reports no clicks: this "
                                                              "message is never shown");
}

void ScriptWalk::CheckCheckButton(size_t entry, const std::vector<std::string>& args)
{
    const std::vector<const CustomWindow*> controls = ControlsNamed(args[0]);
    if (controls.empty())
        d_.Warning(ArgumentPlace(entry, 1), Quoted(args[0]) + " names no control (AddWindow): CheckButton has "
                                                              "no effect" + DidYouMean(args[0], ControlNames()));
    else if (std::all_of(controls.begin(), controls.end(),
                         [](const CustomWindow* w) { return w->kind == "LABEL" || w->kind == "EDIT"; }))
        d_.Warning(ArgumentPlace(entry, 1), Quoted(args[0]) + " is of kind " + controls[0]->kind +
                                                ", which cannot be checked");
}

void ScriptWalk::CheckNextCondition(size_t entry, const std::vector<std::string>& args)
{
    const std::vector<std::string> pages = PageNames();
    const std::string& page = args[0];
    if (!Contains(pages, page)) {
        d_.Warning(ArgumentPlace(entry, 1), Quoted(page) + " is no page: this condition never applies" +
                                                DidYouMean(page, pages));
        return;
    }
    if (page == PageName(Command::ShowCopy)) {
        d_.Warning(ArgumentPlace(entry, 1), "the copy page has no Next button: this condition has no effect");
        return;
    }

    if (args[3] != "VALUE" && args[3] != "TEXT")
        d_.Warning(ArgumentPlace(entry, 4), Quoted(args[3]) + " is neither \"VALUE\" nor \"TEXT\": this "
                                                              "condition has no effect" +
                                                DidYouMean(args[3], {"VALUE", "TEXT"}));
    if (args[1] == "VARIABLE") {
        if (!assigned_.count(args[2]))
            d_.Warning(ArgumentPlace(entry, 3), "no variable " + Quoted(args[2]) + " is ever set: it reads as "
                                                "the empty text" + DidYouMean(args[2], AssignedNames()));
        return;
    }
    if (args[1] != "CONTROL") {
        d_.Warning(ArgumentPlace(entry, 2), Quoted(args[1]) + " is neither \"CONTROL\" nor \"VARIABLE\": this "
                                                              "condition has no effect" +
                                                DidYouMean(args[1], {"CONTROL", "VARIABLE"}));
        return;
    }
    const std::vector<const CustomWindow*> controls = ControlsNamed(args[2]);
    if (controls.empty()) {
        d_.Warning(ArgumentPlace(entry, 3), Quoted(args[2]) + " names no control (AddWindow): this condition "
                                                              "has no effect" + DidYouMean(args[2], ControlNames()));
        return;
    }
    std::vector<const CustomWindow*> onPage;
    for (const CustomWindow* control : controls)
        if (control->page == page)
            onPage.push_back(control);
    if (onPage.empty()) {
        d_.Warning(ArgumentPlace(entry, 3), "control " + Quoted(args[2]) + " is on " + Quoted(controls[0]->page) +
                                                ", not on " + Quoted(page) + ": while " + page +
                                                " is shown it reads as unchecked and empty");
    } else if (args[3] == "VALUE" &&
               std::all_of(onPage.begin(), onPage.end(),
                           [](const CustomWindow* w) { return w->kind == "LABEL" || w->kind == "EDIT"; })) {
        d_.Warning(ArgumentPlace(entry, 4), "\"VALUE\" reads a check state, and " + Quoted(args[2]) +
                                                " is of kind " + onPage[0]->kind + ", whose check state is always 0");
    }
}

std::vector<std::string> ScriptWalk::SectionNames() const
{
    std::vector<std::string> names;
    for (const SectionEntry& section : records_.sections)
        names.push_back(section.name);
    return names;
}

std::vector<std::string> ScriptWalk::AssignedNames() const
{
    std::vector<std::string> names;
    for (const auto& [name, line] : assigned_)
        names.push_back(name);
    return names;
}

void ScriptWalk::CheckFileSections()
{
    const std::vector<std::string> sections = SectionNames();
    for (size_t i = 0; i < sections.size(); ++i) {
        const size_t first = std::find(sections.begin(), sections.end(), sections[i]) - sections.begin();
        if (first < i)
            d_.Warning(ArgumentPlace(sectionEntries_[i], 1),
                       "the section " + Quoted(sections[i]) + " exists already (line " +
                           std::to_string(store_.Entries()[sectionEntries_[first]].line) +
                           "): each installs all files of that name, so they are installed twice");
    }
    for (const AddFileUse& use : addFiles_)
        if (!Contains(sections, use.args[2]))
            d_.Warning(ArgumentPlace(use.entry, 3), "no CreateSection creates the section " + Quoted(use.args[2]) +
                                                        ": these files are never installed" +
                                                        DidYouMean(use.args[2], sections));
}

// The destination paths an AddFile gives its entries, as written; for a
// pattern that matched nothing, what they would be if its one file existed.
std::vector<std::string> ScriptWalk::Destinations(const AddFileUse& use) const
{
    std::vector<std::string> destinations;
    for (size_t i = 0; i < use.fileCount; ++i)
        destinations.push_back(records_.files[use.firstFile + i].destinationPath);
    if (!destinations.empty())
        return destinations;
    const std::string& pattern = use.args[0];
    const std::string& destination = use.args[1];
    const std::string file = pattern.substr(pattern.find_last_of("\\/") + 1);
    const bool intoFolder = !destination.empty() && destination.back() == '\\';
    if (file.find_first_of("*?") == std::string::npos)
        destinations.push_back(intoFolder ? destination + file : destination);
    else if (!intoFolder)
        destinations.push_back(destination);
    return destinations;
}

void ScriptWalk::CheckSpreadFiles()
{
    struct Piece {
        size_t use;
        bool last;
    };
    std::map<std::string, std::vector<Piece>> pieces;  // by destination, in script order
    std::vector<std::string> order;
    for (size_t i = 0; i < addFiles_.size(); ++i) {
        const AddFileUse& use = addFiles_[i];
        const bool split = ScriptFlag(use.args[5]) != 0, last = ScriptFlag(use.args[6]) != 0;
        if (!split) {
            if (last)
                d_.Warning(ArgumentPlace(use.entry, 7), "argument 7 (last piece) counts only for a piece of a "
                                                        "spread file, which argument 6 marks");
            continue;
        }
        if (last && use.fileCount > 1)
            d_.Warning(ArgumentPlace(use.entry, 1), "the last piece's pattern matches " +
                                                        Plural(use.fileCount, "file") +
                                                        ", and each becomes a last piece: give the last piece an "
                                                        "AddFile of its own");
        for (const std::string& destination : Destinations(use)) {
            if (!pieces.count(destination))
                order.push_back(destination);
            pieces[destination].push_back({i, last});
        }
    }
    for (const std::string& destination : order) {
        const Piece& final = pieces[destination].back();
        if (!final.last)
            d_.Error(ArgumentPlace(addFiles_[final.use].entry, 7),
                     "the spread file " + Quoted(destination) + " has no last piece after this one: its pieces "
                     "are joined but never installed; write \"1\" as argument 7 of its final piece");
    }
}

// Checked once the script is walked: the copy page expands them with the
// variables as the script leaves them.
void ScriptWalk::CheckEntryCalls()
{
    const std::vector<std::string> sections = SectionNames();
    for (const auto& [entry, args] : entryCalls_)
        CheckEntryCall(*FindCommand(store_.Entries()[entry].name), args, sections, variables_,
                       [&, entry = entry](int number) { return ArgumentPlace(entry, number); }, d_);
}

void ScriptWalk::CheckShortcutsAndFinish()
{
    std::vector<std::string> destinations;
    for (const AddFileUse& use : addFiles_)
        for (const std::string& destination : Destinations(use))
            destinations.push_back(destination);
    shortcuts_.Report(destinations, SectionNames(), d_);
}

}  // namespace

std::vector<AddFileCall> CheckCommands(const ScriptStore& store, const std::vector<EntryLayout>& layouts,
                                       const Medium& medium, Diagnostics& diagnostics)
{
    return ScriptWalk(store, layouts, medium, diagnostics).Run();
}
