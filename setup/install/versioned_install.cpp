#include "setup/install/versioned_install.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/find_files.h"
#include "common/installed_library.h"
#include "common/server_64.h"
#include "common/text/szdd_expander.h"
#include "common/windows64.h"
#include "setup/install/deferred_replacement.h"
#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "setup/install/libraries.h"
#include "setup/install/shared_counts.h"
#include "setup/install/source_sizes.h"
#include "setup/install/version_calls.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/text/source_header.h"
#include "setup/install/packaged_medium.h"
#include "setup/install/uninstall_log.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"
#include "setup/system/system_libraries.h"

namespace {

const char kInUseMessage[] = "File is in use and setup is not able to overwrite the file.";

struct SourceFile {
    std::string directory;  // with its trailing backslash
    std::string name;       // the 8.3 name, the caption of every message about the file
    std::string Path() const { return directory + name; }
};

SourceFile SplitSource(const std::string& sourcePath)
{
    const std::string shortPath = ShortPath(sourcePath).value_or(sourcePath);
    const std::size_t slash = shortPath.rfind('\\');
    if (slash == std::string::npos)
        return {"", shortPath};
    return {shortPath.substr(0, slash + 1), shortPath.substr(slash + 1)};
}

std::vector<char> Writable(const std::string& text)
{
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

// The arguments of the repeated calls for one file. The temporary file name
// and its length carry over from call to call, as the function expects when
// a forced call follows one that left a temporary copy.
class InstallCall {
public:
    InstallCall(const SourceFile& source, std::string destinationName, std::string destinationDirectory,
                std::optional<std::string> currentDirectory)
        : source_(source),
          destinationName_(std::move(destinationName)),
          destinationDirectory_(std::move(destinationDirectory)),
          currentDirectory_(std::move(currentDirectory))
    {
    }

    DWORD Run(DWORD flags)
    {
        std::vector<char> sourceName = Writable(source_.name);
        std::vector<char> destinationName = Writable(destinationName_);
        std::vector<char> sourceDirectory = Writable(source_.directory);
        std::vector<char> destinationDirectory = Writable(destinationDirectory_);
        std::vector<char> currentDirectory = Writable(currentDirectory_.value_or(""));
        return sys::VerInstallFileA(flags, sourceName.data(), destinationName.data(), sourceDirectory.data(),
                               destinationDirectory.data(), currentDirectory_ ? currentDirectory.data() : nullptr,
                               temporaryName_, &temporaryLength_);
    }

    // Deletes the temporary copies the calls left in the destination
    // directory, once the file is not going to be installed from them.
    void DiscardTemporaryCopy() const
    {
        DiscardInstallTemporaries(destinationDirectory_, temporaryName_, started_);
    }

private:
    const InstallStart started_;
    const SourceFile& source_;
    std::string destinationName_;
    std::string destinationDirectory_;
    std::optional<std::string> currentDirectory_;
    char temporaryName_[MAX_PATH] = {};
    UINT temporaryLength_ = MAX_PATH;
};

bool PathsFit(const SourceFile& source, const std::string& directory, const std::string& name,
              Prompter& prompter)
{
    const std::string target = directory + "\\" + name;
    std::string tooLong;
    if (source.Path().size() >= MAX_PATH)
        tooLong = source.Path();
    else if (!TargetFits(directory, name))
        tooLong = target;
    if (tooLong.empty())
        return true;
    Inform(prompter, "The path " + tooLong + " is too long, setup cannot install the file.", source.name);
    return false;
}

// How the messages and questions about a file name it in their caption:
// by the source's name, unless the source is compressed, whose name (or a
// temporary short name of it) the user never saw; then by the installed
// file's path.
std::string Caption(const SourceFile& source, const std::string& target)
{
    return IsCompressedSource(source.Path()) ? target : source.name;
}

void DeferFileInUse(const SourceFile& source, const std::string& target, Prompter& prompter)
{
    if (ReplaceFileAtRestart(source.Path(), target, prompter) == Deferral::kVersionUnreadable)
        Inform(prompter, kInUseMessage, Caption(source, target));
}

// A file that this product's removed installation left: Unskein cannot
// remove itself, and it leaves the shared files, whose counts it took back.
bool IsLeftByRemoval(const std::string& loggedPath)
{
    return gInstall.log.EarlierInstallationRemoved() && gInstall.log.EarlierLogListsOwnFile(loggedPath);
}

// A file that this product installed before: one its removal left, or, on
// an upgrade (SetAppVersion), one the installed version installed.
bool IsProductsOwnFile(const std::string& loggedPath)
{
    return (gInstall.upgrades || gInstall.log.EarlierInstallationRemoved()) &&
           gInstall.log.EarlierLogListsOwnFile(loggedPath);
}

// The uninstall entry tells the list of programs how much this run installed.
void CountInstalledBytes(const std::string& path)
{
    if (const std::optional<WIN32_FIND_DATAA> found = FindEntry(path))
        gInstall.installedBytes += (static_cast<uint64_t>(found->nFileSizeHigh) << 32) | found->nFileSizeLow;
}

// A 64-bit installation's shared library: the 64-bit regsvr32 registers it.
void RegisterShared64BitFile(const std::string& path, Prompter& prompter)
{
    switch (RegisterWith64BitServer(path)) {
    case ServerOutcome::kRegistered:
        gInstall.log.WriteRegistration(Registration::kRegistered);
        break;
    case ServerOutcome::kNotRegistrable:
        gInstall.log.WriteRegistration(Registration::kNotRegistrable);
        break;
    case ServerOutcome::kFailed:
        TellRegistrationFailed(path, prompter);
        gInstall.log.WriteRegistration(Registration::kRegistered);
        break;
    case ServerOutcome::kNotModule:
        break;
    }
}

// Counts this product's use of an installed shared file, writes its SHARED
// record and offers the file its self-registration. A product counts a file
// once: a log that holds the record already (this product's earlier log,
// carried forward) tells that it counted. A file that the product's removal
// left without a count was not another product's: it counts as new. The count comes before the record,
// so that a setup ended in between leaves one count too many, which keeps
// the file, and never one that Unskein takes back without it being added.
void RegisterSharedFile(const std::string& path, bool wasThere, Prompter& prompter)
{
    const bool use64 = IsInstallation64();
    HMODULE module = use64 ? nullptr : LoadInstalledLibrary(path);
    if (!gInstall.log.HoldsSharedFile(path))
        CountSharedFile(path, wasThere && !IsLeftByRemoval(path));
    gInstall.log.WriteSharedFile(path);
    if (use64) {
        RegisterShared64BitFile(path, prompter);
        return;
    }
    if (!module)
        return;
    gInstall.log.WriteRegistration(CallRegisterServer(module, path, prompter));
    FreeLibrary(module);
}

// Runs the installation call until the file is installed, skipped, found in
// use or the run is ended: a retry runs it again as it was, a forced one
// again with force. Whatever is not installed leaves no temporary copy.
InstallVerdict RunUntilDecided(InstallCall& call, const InstallSubject& file, DWORD flags, Prompter& prompter)
{
    for (;;) {
        const InstallVerdict verdict = InterpretInstallResult(call.Run(flags), file, prompter);
        switch (verdict) {
        case InstallVerdict::kInstalled:
            return verdict;
        case InstallVerdict::kRetryInstall:
            break;
        case InstallVerdict::kForceInstall:
            flags |= VIFF_FORCEINSTALL;
            break;
        case InstallVerdict::kSkipFile:
        case InstallVerdict::kFileInUse:
        case InstallVerdict::kAbortRun:
            call.DiscardTemporaryCopy();
            return verdict;
        }
    }
}

// Where VerFindFileA places a shared file: the directory it chooses, the one
// a copy is in already, and whether that copy is in use.
struct SharedPlace {
    std::string chosenDirectory;
    std::string currentDirectory;
    bool inUse = false;
};

// Nothing, after telling the user, when the directory does not fit the call.
std::optional<SharedPlace> FindSharedPlace(const SourceFile& source, const std::string& destinationName,
                                           Prompter& prompter)
{
    char currentDirectory[MAX_PATH] = {};
    char chosenDirectory[MAX_PATH] = {};
    UINT currentLength = MAX_PATH;
    UINT chosenLength = MAX_PATH;
    std::vector<char> sourceName = Writable(source.name);
    std::vector<char> windowsDirectory = Writable(gVariables.Get("WINPATH"));
    std::vector<char> applicationDirectory = Writable(gVariables.Get("DP"));
    const DWORD found = sys::VerFindFileA(VFFF_ISSHAREDFILE, sourceName.data(), windowsDirectory.data(),
                                          applicationDirectory.data(), currentDirectory, &currentLength,
                                          chosenDirectory, &chosenLength);
    if (found & VFF_BUFFTOOSMALL) {
        Inform(prompter, "The directory for " + destinationName + " is too long, setup cannot install the file.",
               source.name);
        return std::nullopt;
    }
    return SharedPlace{chosenDirectory, currentDirectory, (found & VFF_FILEINUSE) != 0};
}

// A shared file goes where VerFindFileA places it (the system directory, or
// where a copy is already), whatever directory its entry names.
RunOutcome InstallSharedFile(const SourceFile& source, const std::string& destinationName, std::size_t index,
                             Prompter& prompter)
{
    const std::optional<SharedPlace> place = FindSharedPlace(source, destinationName, prompter);
    if (!place || !PathsFit(source, place->chosenDirectory, destinationName, prompter))
        return RunOutcome::kGoOn;
    const std::string target = place->chosenDirectory + "\\" + destinationName;
    if (place->inUse) {
        DeferFileInUse(source, target, prompter);
        return RunOutcome::kGoOn;
    }
    const bool wasThere = FindEntry(target).has_value();
    InstallCall call(source, destinationName, place->chosenDirectory, place->currentDirectory);
    switch (RunUntilDecided(call, {Caption(source, target), source.Path(), target, index}, 0, prompter)) {
    case InstallVerdict::kInstalled:
        CountInstalledBytes(target);
        CopyLastWriteTime(source.Path(), target);
        RegisterSharedFile(target, wasThere, prompter);
        return RunOutcome::kGoOn;
    case InstallVerdict::kFileInUse:
        DeferFileInUse(source, target, prompter);
        return RunOutcome::kGoOn;
    case InstallVerdict::kAbortRun:
        return RunOutcome::kAbortRun;
    default:
        return RunOutcome::kGoOn;
    }
}

bool CanBeRead(const std::string& path)
{
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsOpen();
}

bool WriteWhole(HANDLE target, const void* bytes, DWORD count)
{
    DWORD written = 0;
    return WriteFile(target, bytes, count, &written, nullptr) && written == count;
}

// A source's bytes, read from the start: from its file on the medium, or
// from the package that a starter left it in.
class SourceBytes {
public:
    explicit SourceBytes(const std::string& path)
        : packaged_(FindPackagedFile(path)),
          file_(packaged_ ? INVALID_HANDLE_VALUE
                          : CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {
    }
    bool IsOpen() const { return packaged_ || file_.IsOpen(); }

    bool Read(char* buffer, DWORD size, DWORD& read)
    {
        if (!packaged_)
            return ReadFile(file_.get(), buffer, size, &read, nullptr) != FALSE;
        read = static_cast<DWORD>(std::min<uint64_t>(size, packaged_->size - at_));
        if (!ReadPackagedFile(*packaged_, at_, buffer, read))
            return false;
        at_ += read;
        return true;
    }

    // The file's; a packaged one's as the package records it (one of an
    // older package, which records none, is as new as the starter would
    // have unpacked it).
    bool LastWriteTime(FILETIME& time) const
    {
        if (!packaged_)
            return GetFileTime(file_.get(), nullptr, nullptr, &time) != FALSE;
        if (!PackagedTime(*packaged_, time))
            GetSystemTimeAsFileTime(&time);
        return true;
    }

private:
    const PackagedFile* packaged_;
    OwnedHandle file_;
    uint64_t at_ = 0;
};

// Writes the source from its current position to the end of the target as
// it is to be installed: as it is, or expanded by `expander`. It starts with
// the bytes of the buffer from `offset` to `read`. Returns the bytes written
// in all; nothing on a failure, also for a compressed file that expands to
// another size than its header states.
std::optional<uint64_t> WriteRest(SourceBytes& source, HANDLE target, std::vector<char>& buffer, DWORD offset,
                                  DWORD read, std::optional<SzddExpander>& expander)
{
    uint64_t written = 0;
    std::vector<uint8_t> expanded;
    while (read > offset) {
        const char* bytes = buffer.data() + offset;
        const DWORD count = read - offset;
        if (expander) {
            expanded.clear();
            if (!expander->Expand(reinterpret_cast<const uint8_t*>(bytes), count, expanded) ||
                !WriteWhole(target, expanded.data(), static_cast<DWORD>(expanded.size())))
                return std::nullopt;
            written += expanded.size();
        } else {
            if (!WriteWhole(target, bytes, count))
                return std::nullopt;
            written += count;
        }
        offset = 0;
        if (!source.Read(buffer.data(), static_cast<DWORD>(buffer.size()), read))
            return std::nullopt;
    }
    if (expander && !expander->Complete())
        return std::nullopt;
    return written;
}

// The new destination, created empty, with its record written: the record
// comes before the bytes, so that a setup ended midway leaves nothing the
// log does not cover.
HANDLE CreateLoggedFile(const std::string& destination)
{
    const HANDLE target =
        CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target != INVALID_HANDLE_VALUE)
        gInstall.log.WritePrivateFile(ShortPath(destination).value_or(destination));
    return target;
}

// A plain or SZDD source whose destination does not exist yet is written
// without the installation call, which for it does nothing else but costs
// twice as much and leaves a temporary file of its own choosing in the
// destination directory: the target gets the source's bytes (expanded) and
// last write time and the attributes of a new file, as the call gives them.
// Returns the bytes written; nothing, with nothing left behind, when the
// source is compressed otherwise, the destination exists or anything fails:
// the installation call then takes the file with its questions and messages.
std::optional<uint64_t> WriteNewFile(const std::string& sourcePath, const std::string& destination)
{
    constexpr DWORD kCopyChunk = 256 * 1024;
    SourceBytes source(sourcePath);
    if (!source.IsOpen())
        return std::nullopt;
    // One buffer for every file: a new one for each of thousands of files,
    // zeroed and faulted in page by page, took a third as long as decoding
    // them from a solid package.
    static std::vector<char> buffer(kCopyChunk);
    DWORD read = 0;
    FILETIME lastWrite;
    if (!source.Read(buffer.data(), kCopyChunk, read) || !source.LastWriteTime(lastWrite))
        return std::nullopt;
    const auto* start = reinterpret_cast<const uint8_t*>(buffer.data());
    std::optional<SzddExpander> expander;
    if (IsSzdd(start, read))
        expander.emplace(szdd::ExpandedSize(start));
    else if (LooksCompressed(start, read))
        return std::nullopt;
    std::optional<uint64_t> written;
    {
        OwnedHandle target(CreateLoggedFile(destination));
        if (!target.IsOpen())
            return std::nullopt;
        written = WriteRest(source, target.get(), buffer, expander ? szdd::kHeaderSize : 0, read, expander);
        if (written && !SetFileTime(target.get(), nullptr, nullptr, &lastWrite))
            written.reset();
    }
    if (!written)
        DeleteFileA(destination.c_str());
    return written;
}

// The destination's directory, made where it is missing and each new folder
// logged. False, after telling the user, when it cannot be made; a path too
// long for the directory is told as such later.
bool PrepareDirectory(const std::string& directory, const std::string& name, const std::string& sourcePath,
                      Prompter& prompter)
{
    std::vector<std::string> created;
    const int ensured = EnsureDirectory(directory, created);
    LogCreatedDirectories(created);
    if (ensured < 0 && TargetFits(directory, name)) {
        Inform(prompter, "Could not create the directory " + directory + ", setup cannot install the file.",
               SplitSource(sourcePath).name);
        return false;
    }
    return true;
}

// Whether an existing destination may be overwritten: always once the user
// chose to overwrite every file, which forces the language conflicts too,
// and a file of this product's own (IsProductsOwnFile).
bool MayOverwrite(const std::string& destination, Prompter& prompter)
{
    if (gInstall.overwriteAll || !CanBeRead(destination) ||
        IsProductsOwnFile(ShortPath(destination).value_or(destination)))
        return true;
    const ConflictAnswer answer = prompter.AskOverwrite(destination);
    if (answer == ConflictAnswer::kAll) {
        gInstall.overwriteAll = true;
        gInstall.installAll = true;
    }
    return answer != ConflictAnswer::kNo;
}

// A private file goes exactly to its destination. It is installed under its
// long name, since the installation call creates the file under the name it
// is given and an 8.3 alias would become the file's only name; the log gets
// the 8.3 path of the installed file. An existing file is overwritten only
// after the user agreed, and nothing touches it before the installation
// call replaces it, so a skipped or failed file leaves it as it was.
RunOutcome InstallPrivateFile(const std::string& sourcePath, const std::string& destination, std::size_t index,
                              Prompter& prompter)
{
    const std::size_t slash = destination.rfind('\\');
    const std::string directory = destination.substr(0, slash);
    const std::string name = destination.substr(slash + 1);
    if (!PrepareDirectory(directory, name, sourcePath, prompter))
        return RunOutcome::kGoOn;
    if (sourcePath.size() < MAX_PATH && TargetFits(directory, name)) {
        if (const std::optional<uint64_t> written = WriteNewFile(sourcePath, destination)) {
            gInstall.installedBytes += *written;
            return RunOutcome::kGoOn;
        }
    }
    UnpackPackagedFile(sourcePath);
    const SourceFile source = SplitSource(sourcePath);
    if (!PathsFit(source, directory, name, prompter) || !MayOverwrite(destination, prompter))
        return RunOutcome::kGoOn;
    InstallCall call(source, name, directory, std::nullopt);
    switch (RunUntilDecided(call, {Caption(source, destination), source.Path(), destination, index}, VIFF_FORCEINSTALL, prompter)) {
    case InstallVerdict::kInstalled:
        CountInstalledBytes(destination);
        CopyLastWriteTime(source.Path(), destination);
        gInstall.log.WritePrivateFile(ShortPath(destination).value_or(destination));
        return RunOutcome::kGoOn;
    case InstallVerdict::kFileInUse:
        Inform(prompter, kInUseMessage, Caption(source, destination));
        return RunOutcome::kAbortRun;
    case InstallVerdict::kAbortRun:
        return RunOutcome::kAbortRun;
    default:
        return RunOutcome::kGoOn;
    }
}

enum class FailureAction { kMessage, kInUse, kDiskPrompt };

struct FailureBit {
    DWORD bit;
    FailureAction action;
    const char* message;
};

// The failures after the version conflicts, in the order they are examined.
const FailureBit kFailureBits[] = {
    {VIF_FILEINUSE, FailureAction::kInUse, nullptr},
    {VIF_OUTOFSPACE, FailureAction::kMessage,
     "The file cannot be saved, because there is insufficient harddisk space."},
    {VIF_ACCESSVIOLATION, FailureAction::kInUse, nullptr},
    {VIF_SHARINGVIOLATION, FailureAction::kMessage, "Sharing violation occured, setup cannot install the file."},
    {VIF_CANNOTCREATE, FailureAction::kMessage, "Could not create the file, setup cannot install the file"},
    {VIF_CANNOTDELETE, FailureAction::kInUse, nullptr},
    {VIF_OUTOFMEMORY, FailureAction::kMessage,
     "Out of memory error, file cannot be installed. This may be an internal error."},
    {VIF_CANNOTREADSRC, FailureAction::kDiskPrompt, nullptr},
    {VIF_CANNOTREADDST, FailureAction::kMessage, "Couldn\xB4t read destination, file cannot be installed."},
    {VIF_BUFFTOOSMALL, FailureAction::kMessage, "VIF_BUFFTOOSMALL // INTERNAL ERROR!!!"},
};

// Asks for the disk until the user retries, ignores the file or quits,
// which ends the run at once.
InstallVerdict AskForSourceDisk(const std::string& caption, std::size_t index, Prompter& prompter)
{
    for (;;) {
        switch (AskForDisk(prompter, gRecords.files[index].disk, caption)) {
        case DiskAnswer::kRetry:
            return InstallVerdict::kRetryInstall;
        case DiskAnswer::kIgnore:
            return InstallVerdict::kSkipFile;
        case DiskAnswer::kQuit:
            return InstallVerdict::kAbortRun;
        case DiskAnswer::kQuitDeclined:
            break;
        }
    }
}

bool RemoveWriteProtection(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
           SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

InstallVerdict InterpretFailure(DWORD result, const InstallSubject& file, Prompter& prompter)
{
    const std::string& caption = file.caption;
    if (result & VIF_WRITEPROT) {
        if (prompter.ShowMessage(MessageOwner::kNone,
                                 "File cannot be written to, because it is write protected. Do you want to "
                                 "remove write protection and overwrite the file?",
                                 caption, MB_YESNO) == IDYES) {
            if (RemoveWriteProtection(file.target))
                return InstallVerdict::kForceInstall;
            Inform(prompter, "Failed to remove write protection.", caption);
        }
    }
    for (const FailureBit& failure : kFailureBits) {
        if (!(result & failure.bit))
            continue;
        switch (failure.action) {
        case FailureAction::kMessage:
            Inform(prompter, failure.message, caption);
            break;
        case FailureAction::kInUse:
            return InstallVerdict::kFileInUse;
        case FailureAction::kDiskPrompt:
            return AskForSourceDisk(caption, file.index, prompter);
        }
    }
    return InstallVerdict::kAbortRun;
}

}  // namespace

InstallVerdict InterpretInstallResult(DWORD result, const InstallSubject& file, Prompter& prompter)
{
    const std::string& caption = file.caption;
    if (result == 0)
        return InstallVerdict::kInstalled;
    if (result & VIF_TEMPFILE)
        Inform(prompter, "Temporary file, file cannot be copied.", caption);
    if (result & VIF_MISMATCH) {
        const int answer = prompter.ShowMessage(
            MessageOwner::kNone,
            "The file to install and the old file differ in one or more attributes. If you want to, you can "
            "install it though. Do you want to install the file (not recommended)?",
            caption, MB_YESNO | MB_DEFBUTTON2);
        return answer == IDYES ? InstallVerdict::kForceInstall : InstallVerdict::kSkipFile;
    }
    if (result & VIF_SRCOLD)
        return InstallVerdict::kSkipFile;
    if (result & (VIF_DIFFCODEPG | VIF_DIFFLANG)) {
        if (gInstall.installAll)
            return InstallVerdict::kForceInstall;
        const ConflictAnswer answer = prompter.AskLanguageConflict(file.source, file.target);
        if (answer == ConflictAnswer::kAll)
            gInstall.installAll = true;
        return answer == ConflictAnswer::kNo ? InstallVerdict::kSkipFile : InstallVerdict::kForceInstall;
    }
    return InterpretFailure(result, file, prompter);
}

RunOutcome InstallVersionedFile(const std::string& sourcePath, std::size_t index, Prompter& prompter)
{
    FileEntry& entry = gRecords.files[index];
    ExpandDestinationPath(entry);
    std::string destination = entry.destinationPath;
    CollapseBackslashes(destination);
    const std::size_t slash = destination.rfind('\\');
    if (slash == std::string::npos || slash == 0) {
        Inform(prompter, "The destination " + destination + " names no directory, setup cannot install the file there.",
               SplitSource(sourcePath).name);
        return RunOutcome::kGoOn;
    }
    if (entry.shared) {
        UnpackPackagedFile(sourcePath);
        return InstallSharedFile(SplitSource(sourcePath), destination.substr(slash + 1), index, prompter);
    }
    return InstallPrivateFile(sourcePath, destination, index, prompter);
}
