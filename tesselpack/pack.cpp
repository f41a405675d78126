#include "tesselpack/pack.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "scriptcheck/check.h"
#include "setup/model/text/records.h"
#include "tesselpack/text/disk_plan.h"
#include "tesselpack/text/script_edit.h"
#include "tesselpack/text/szdd.h"

namespace fs = std::filesystem;

namespace {

const char kScriptName[] = "SetupScript.INI";
const char kUninstaller[] = "Unskein.exe";
const char kWorkFolder[] = ".tesselpack-work";

// A failure that ends the run after the medium was begun: kErrors for what
// the author has to change, kCannotRun for what the machine refused.
struct PackFailure : std::runtime_error {
    PackFailure(const std::string& message, ExitStatus status = kCannotRun)
        : std::runtime_error(message), status(status)
    {
    }
    ExitStatus status;
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// 1234567 as "1,234,567".
std::string Grouped(uint64_t n)
{
    std::string digits = std::to_string(n), text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw PackFailure("cannot read '" + path.string() + "'");
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw PackFailure("cannot read '" + path.string() + "'");
    return bytes;
}

// One file of STAGING that the script installs, as it goes on the medium.
struct MediumFile {
    fs::path source;        // in STAGING
    std::string folder;     // its folder below STAGING, with backslashes, empty at the top
    std::string name;       // its real name
    uint64_t size = 0;
    bool givenPiece = false;  // the script already spreads it: stored as it is
    bool shown = false;       // a page shows it: stored whole and as it is, on disk 1
    bool inTree = false;      // AddFolder's: found under its own name, so the same, on disk 1
    bool compress = false;    // chosen for compression
    bool compressed = false;  // stored compressed (it shrank)
    fs::path stored;          // what goes on the medium: the source, or its compressed copy
    uint64_t storedSize = 0;
    std::string StoredName() const { return compressed ? CompressedName(name) : name; }
    bool AsItIs() const { return givenPiece || shown || inTree; }
};

// The files of one AddFile call, in the order setup finds them.
struct PackedCall {
    size_t entry;
    std::vector<size_t> files;  // into the medium's files
    bool shownFile;
    bool folderTree = false;               // AddFolder's, whose source is a folder
    std::string folder;                    // the tree's folder below STAGING
    std::vector<std::string> treeFolders;  // the tree's folders below it, parents first
};

struct Finding {
    int line, column;
    std::string message;
};

class Packer {
public:
    Packer(const PackRequest& request, std::vector<std::string>* written) : r_(request), written_(written) {}
    ExitStatus Run();

private:
    bool ReadScript();
    bool CollectFiles();
    void CollectCallFiles(const AddFileCall& call);
    void CollectTreeFiles(const AddFileCall& call);
    std::string FolderBelowStaging(const fs::path& folder) const;
    void AddFoundFile(const AddFileCall& call, const fs::path& folder, const std::string& below,
                      const std::string& name, PackedCall& packed);
    void AddError(const AddFileCall& call, const std::string& message);
    bool ChooseCompression();
    void BeginMedium();
    void CompressFiles();
    void Lay();
    std::string RewrittenScript(const DiskPlan& plan) const;
    fs::path MakeFolders(fs::path folder, const std::string& below);
    void WriteMedium(const DiskPlan& plan, const std::string& script);
    ExitStatus CheckMedium();
    void PrintSummary() const;
    void RemoveBegunMedium();

    fs::path Created(const fs::path& path);
    void CopyRange(const fs::path& from, uint64_t offset, uint64_t length, const fs::path& to);
    void Report(const Finding& finding, const char* severity) const;
    const std::string& Shown() const { return r_.shownAs.empty() ? r_.medium : r_.shownAs; }

    const PackRequest& r_;
    std::vector<std::string>* written_;
    std::string bytes_;
    CheckedScript checked_;
    FindingCounts found_;  // in the author's script
    std::vector<MediumFile> files_;
    std::map<std::string, size_t> fileIndex_;  // source path -> index in files_
    std::vector<PackedCall> calls_;
    bool uninstaller_ = false;
    std::vector<Finding> errors_;
    std::vector<fs::path> created_;  // what this run made in MEDIUM, in order
    DiskPlan plan_;
    std::string script_;
};

void Packer::Report(const Finding& finding, const char* severity) const
{
    std::printf("%s:%d:%d: %s: %s\n", r_.script.c_str(), finding.line, finding.column, severity,
                finding.message.c_str());
}

bool Packer::ReadScript()
{
    std::ifstream file(r_.script, std::ios::binary);
    if (!file)
        return false;
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

// Checks the script as scriptcheck --tesselpack does (its errors stop the
// run, as they stop setup, and so does a source that is not in STAGING),
// tells its findings at the author's lines, and finds the files of its
// AddFile and AddFolder calls and of its pages in STAGING. The pages' files
// and the trees come first, so that they lie on disk 1, which setup reads
// before it asks for another: a page when it shows, a tree when the script
// runs AddFolder.
bool Packer::CollectFiles()
{
    checked_ = CheckScript(bytes_, Medium(r_.staging, MediumKind::kTesselpackSource));
    found_ = PrintFindings(checked_.diagnostics, r_.script);
    if (found_.errors > 0)
        return false;
    for (bool onDisk1 : {true, false})
        for (const AddFileCall& call : checked_.addFiles)
            if ((call.shownFile || call.folderTree) == onDisk1)
                CollectCallFiles(call);
    for (const Finding& finding : errors_)
        Report(finding, "error");
    return errors_.empty();
}

// The files one AddFile call finds in STAGING: none for a file of the target
// machine, and none for a program that tesselpack puts on the medium itself.
void Packer::CollectCallFiles(const AddFileCall& call)
{
    if (call.search.outcome != SearchOutcome::Searched)
        return;
    if (call.folderTree)
        return CollectTreeFiles(call);
    const fs::path folder = fs::path(call.search.folder).lexically_normal();
    const std::string below = FolderBelowStaging(folder);
    if (const char* program = ProgramOfTesselpack(call.args[0]); !call.shownFile && program && below.empty()) {
        uninstaller_ = uninstaller_ || program == std::string(kUninstaller);
        return;
    }
    PackedCall packed{call.entry, {}, call.shownFile, false, {}, {}};
    for (const FoundFile& match : call.search.matches)
        if (!match.isDirectory && !match.name.empty() && match.name[0] != '.')
            AddFoundFile(call, folder, below, match.name, packed);
    calls_.push_back(std::move(packed));
}

// The files of an AddFolder tree, with its folders, which the medium holds
// even where they are empty.
void Packer::CollectTreeFiles(const AddFileCall& call)
{
    const fs::path top = fs::path(call.search.folder).lexically_normal();
    PackedCall packed{call.entry, {}, false, true, FolderBelowStaging(top), call.search.tree.folders};
    for (const std::string& below : call.search.tree.files) {
        const size_t slash = below.rfind('\\');
        const std::string folder = slash == std::string::npos ? "" : below.substr(0, slash);
        std::string path = folder;
        std::replace(path.begin(), path.end(), '\\', '/');
        AddFoundFile(call, top / path, packed.folder + (folder.empty() ? "" : "\\" + folder), below.substr(slash + 1),
                     packed);
    }
    calls_.push_back(std::move(packed));
}

// A folder below STAGING with backslashes, empty for STAGING itself.
std::string Packer::FolderBelowStaging(const fs::path& folder) const
{
    const fs::path staging = fs::absolute(r_.staging).lexically_normal();
    std::string below = folder.lexically_relative(staging).generic_string();
    if (below == ".")
        below.clear();
    std::replace(below.begin(), below.end(), '/', '\\');
    return below;
}

// Adds a found file to the call: to the medium once, however many calls
// find it.
void Packer::AddFoundFile(const AddFileCall& call, const fs::path& folder, const std::string& below,
                          const std::string& name, PackedCall& packed)
{
    const fs::path source = folder / name;
    const auto found = fileIndex_.find(source.string());
    if (found != fileIndex_.end()) {
        packed.files.push_back(found->second);
        return;
    }
    MediumFile file;
    file.source = source;
    file.folder = below;
    file.name = name;
    std::error_code error;
    file.size = fs::file_size(source, error);
    if (error) {
        AddError(call, "cannot read '" + source.string() + "'");
        return;
    }
    file.shown = call.shownFile;
    file.inTree = call.folderTree;
    file.givenPiece = !file.shown && !file.inTree && ScriptFlag(call.args[5]) != 0;
    fileIndex_.emplace(source.string(), files_.size());
    packed.files.push_back(files_.size());
    files_.push_back(file);
}

// An error found in a call, placed at its source pattern.
void Packer::AddError(const AddFileCall& call, const std::string& message)
{
    const EntryLayout& layout = checked_.layouts[call.entry];
    errors_.push_back({layout.arguments[0].line, layout.arguments[0].column, message});
}

bool Packer::ChooseCompression()
{
    std::vector<bool> used(r_.compressPatterns.size(), false);
    for (MediumFile& file : files_) {
        // A file that must stay as it is still counts as named.
        const bool compressible = !file.AsItIs() && file.size <= kSzddMaxSize;
        for (size_t p = 0; p < r_.compressPatterns.size(); ++p)
            if (MatchesSearchPattern(r_.compressPatterns[p], file.name)) {
                used[p] = true;
                file.compress = file.compress || compressible;
            }
        if (r_.compressAll)
            file.compress = compressible;
    }
    bool allUsed = true;
    for (size_t p = 0; p < used.size(); ++p)
        if (!used[p]) {
            std::fprintf(stderr, "tesselpack: the pattern '%s' of --compress matches none of the files the script installs\n",
                         r_.compressPatterns[p].c_str());
            allUsed = false;
        }
    return allUsed;
}

fs::path Packer::Created(const fs::path& path)
{
    created_.push_back(path);
    return path;
}

void Packer::BeginMedium()
{
    std::error_code error;
    const fs::path medium = r_.medium;
    if (fs::exists(medium, error)) {
        if (!fs::is_directory(medium, error))
            throw PackFailure("'" + r_.medium + "' is a file, not a folder for the medium");
        if (!fs::is_empty(medium, error))
            throw PackFailure("the medium folder '" + r_.medium +
                                        "' is not empty: give a new or empty folder, so that nothing of an "
                                        "older medium stays in it");
    } else if (!fs::create_directories(medium, error) || error) {
        throw PackFailure("cannot create the medium folder '" + r_.medium + "': " + error.message());
    } else {
        Created(medium);
    }
    if (!fs::create_directory(medium / kWorkFolder, error) || error)
        throw PackFailure("cannot write in the medium folder '" + r_.medium + "': " + error.message());
    Created(medium / kWorkFolder);
}

// Compresses the chosen files into the work folder; a file that does not
// shrink stays as it is.
void Packer::CompressFiles()
{
    for (size_t i = 0; i < files_.size(); ++i) {
        MediumFile& file = files_[i];
        file.stored = file.source;
        file.storedSize = file.size;
        if (!file.compress)
            continue;
        std::fprintf(stderr, "tesselpack: compressing %zu of %zu: %s%s%s (%s bytes)\n", i + 1, files_.size(),
                     file.folder.c_str(), file.folder.empty() ? "" : "\\", file.name.c_str(),
                     Grouped(file.size).c_str());
        const std::string data = ReadBytes(file.source);
        const std::vector<uint8_t> packed = CompressSzdd(reinterpret_cast<const uint8_t*>(data.data()), data.size(),
                                                         file.name.empty() ? ' ' : file.name.back());
        if (packed.size() >= data.size())
            continue;
        const fs::path stored = Created(fs::path(r_.medium) / kWorkFolder / std::to_string(i));
        std::ofstream out(stored, std::ios::binary);
        out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
        if (!out.flush())
            throw PackFailure("cannot write '" + stored.string() + "'");
        file.compressed = true;
        file.stored = stored;
        file.storedSize = packed.size();
    }
    // Two files must not meet under one name: a compressed name that another
    // file of the folder has already stays uncompressed.
    std::map<std::string, size_t> names;
    for (size_t i = 0; i < files_.size(); ++i)
        names.emplace(Lower(files_[i].folder + "\\" + files_[i].name), i);
    for (size_t i = 0; i < files_.size(); ++i) {
        MediumFile& file = files_[i];
        if (!file.compressed)
            continue;
        const auto [holder, added] = names.emplace(Lower(file.folder + "\\" + file.StoredName()), i);
        if (!added && holder->second != i) {
            file.compressed = false;
            file.stored = file.source;
            file.storedSize = file.size;
        }
    }
}

// Lays the files over the disks; the script grows with every piece, and it
// stands on disk 1, so the layout is repeated until the script fits it.
void Packer::Lay()
{
    std::vector<StoredFile> root{{"", "setup.exe", fs::file_size(fs::path(r_.programs) / "setup.exe"), false}};
    if (uninstaller_)
        root.push_back({"", kUninstaller, fs::file_size(fs::path(r_.programs) / kUninstaller), false});
    root.push_back({"", kScriptName, bytes_.size(), false});
    // The folders of AddFolder's trees, empty ones too, come first, since
    // they stand on disk 1; the files' folders are made as the files need them.
    std::vector<StoredFile> stored;
    for (const PackedCall& call : calls_) {
        if (call.folderTree)
            stored.push_back({call.folder, "", 0, false});
        for (const std::string& folder : call.treeFolders)
            stored.push_back({call.folder + (call.folder.empty() ? "" : "\\") + folder, "", 0, false});
    }
    const size_t treeFolders = stored.size();
    for (const MediumFile& file : files_)
        stored.push_back({file.folder, file.StoredName(), file.storedSize, !file.AsItIs()});
    for (;;) {
        plan_ = PlanDisks(stored, r_.disk, root);
        if (!plan_.fits) {
            uint64_t rootSize = 0;
            for (const StoredFile& file : root)
                rootSize += file.size;
            if (plan_.tooLarge < 0)
                throw PackFailure("the disk size " + Grouped(r_.disk.Bytes()) + " is smaller than setup.exe" +
                                            (uninstaller_ ? ", Unskein.exe" : "") + " and the script together (" +
                                            Grouped(rootSize) + " bytes), which disk 1 holds",
                                  kErrors);
            const MediumFile& file = files_[plan_.tooLarge - treeFolders];  // a folder is never too large
            throw PackFailure("'" + file.source.string() + "' (" + Grouped(file.storedSize) +
                                        " bytes) is one piece of a file that the script spreads itself and "
                                        "is larger than a disk",
                                  kErrors);
        }
        for (size_t f = 0; f < treeFolders; ++f)
            if (plan_.pieces[f][0].disk != 1)
                throw PackFailure("the folders that AddFolder makes do not fit on disk 1 beside setup.exe and the "
                                  "script, where setup reads them", kErrors);
        plan_.pieces.erase(plan_.pieces.begin(), plan_.pieces.begin() + treeFolders);
        for (size_t f = 0; f < files_.size(); ++f)
            if ((files_[f].shown || files_[f].inTree) && plan_.pieces[f][0].disk != 1)
                throw PackFailure("'" + files_[f].source.string() + "' (" + Grouped(files_[f].size) + " bytes), " +
                                      (files_[f].shown ? "which a page shows" : "which AddFolder installs") +
                                      ", does not fit on disk 1 beside setup.exe and the script, where setup reads it",
                                  kErrors);
        script_ = RewrittenScript(plan_);
        if (script_.size() <= root.back().size)
            return;
        root.back().size = script_.size();
    }
}

std::string Packer::RewrittenScript(const DiskPlan& plan) const
{
    std::vector<TextChange> changes;
    for (const PackedCall& call : calls_) {
        const ScriptEntry& entry = checked_.store.Entries()[call.entry];
        const EntryLayout& layout = checked_.layouts[call.entry];
        std::vector<LineColumn> quotes;
        for (const Place& quote : layout.arguments)
            quotes.push_back({quote.line, quote.column});
        const CallText text = LocateCall(bytes_, {layout.name.line, layout.name.column}, quotes);
        if (call.folderTree) {
            const std::string folder = "[SP]\\Disk1" + (call.folder.empty() ? "" : "\\" + call.folder);
            changes.push_back({text.begin, text.end, RepeatCall(bytes_, text, {{{0, folder}}})});
            continue;
        }

        std::vector<ArgumentValues> variants;
        for (size_t f : call.files) {
            const MediumFile& file = files_[f];
            const std::vector<Piece>& pieces = plan.pieces[f];
            const bool cut = pieces.size() > 1;
            const std::string& destination = entry.arguments[1];
            for (size_t p = 0; p < pieces.size(); ++p) {
                ArgumentValues values;
                values[0] = "[SP]\\Disk" + std::to_string(pieces[p].disk) + "\\" + file.folder +
                            (file.folder.empty() ? "" : "\\") + file.StoredName();
                if (call.shownFile) {  // the page reads it where it lies
                    variants.push_back(values);
                    continue;
                }
                // Setup names the installed file after the source unless the
                // destination is a full path.
                if ((file.compressed || cut) && !destination.empty() && destination.back() == '\\')
                    values[1] = destination + file.name;
                values[4] = std::to_string(pieces[p].disk);
                if (cut) {
                    values[5] = "1";
                    values[6] = p + 1 == pieces.size() ? "1" : "0";
                }
                variants.push_back(values);
            }
        }
        changes.push_back({text.begin, text.end, RepeatCall(bytes_, text, variants)});
    }
    return ApplyChanges(bytes_, changes);
}

void Packer::CopyRange(const fs::path& from, uint64_t offset, uint64_t length, const fs::path& to)
{
    std::ifstream in(from, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::ofstream out(Created(to), std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (length > 0 && in && out) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(length, buffer.size()));
        in.read(buffer.data(), static_cast<std::streamsize>(chunk));
        out.write(buffer.data(), in.gcount());
        length -= static_cast<uint64_t>(in.gcount());
        if (static_cast<size_t>(in.gcount()) < chunk)
            break;
    }
    if (length > 0 || !in || !out.flush())
        throw PackFailure("cannot write '" + to.string() + "'");
}

// A file on the medium, compressed or a piece, has the time of its source,
// which setup gives the installed file; one whose time cannot be set keeps
// the time of packing.
void KeepSourceTime(const fs::path& source, const fs::path& stored)
{
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(source, error);
    if (!error)
        fs::last_write_time(stored, time, error);
}

// The folders of `below` (backslashes) in `folder`, each that this run makes
// noted; returns the last.
fs::path Packer::MakeFolders(fs::path folder, const std::string& below)
{
    for (size_t start = 0; !below.empty();) {
        const size_t end = below.find('\\', start);
        folder /= below.substr(start, end - start);
        if (!fs::exists(folder))
            fs::create_directory(Created(folder));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return folder;
}

void Packer::WriteMedium(const DiskPlan& plan, const std::string& script)
{
    const fs::path medium = r_.medium;
    CopyRange(fs::path(r_.programs) / "setup.exe", 0, fs::file_size(fs::path(r_.programs) / "setup.exe"),
              medium / "setup.exe");
    if (uninstaller_)
        CopyRange(fs::path(r_.programs) / kUninstaller, 0, fs::file_size(fs::path(r_.programs) / kUninstaller),
                  medium / kUninstaller);
    {
        std::ofstream out(Created(medium / kScriptName), std::ios::binary);
        out << script;
        if (!out.flush())
            throw PackFailure("cannot write '" + (medium / kScriptName).string() + "'");
    }
    for (size_t f = 0; f < files_.size(); ++f) {
        const MediumFile& file = files_[f];
        for (const Piece& piece : plan.pieces[f]) {
            const fs::path target =
                MakeFolders(medium, "Disk" + std::to_string(piece.disk) + (file.folder.empty() ? "" : "\\" + file.folder)) /
                file.StoredName();
            if (fs::exists(target))  // a file that several AddFile lines install is stored once
                continue;
            CopyRange(file.stored, piece.offset, piece.length, target);
            KeepSourceTime(file.source, target);
            if (written_) {
                std::string below = target.lexically_relative(medium).generic_string();
                std::replace(below.begin(), below.end(), '/', '\\');
                written_->push_back(below);
            }
        }
    }
    for (const PackedCall& call : calls_) {
        const std::string top = "Disk1" + (call.folder.empty() ? "" : "\\" + call.folder);
        if (call.folderTree)
            MakeFolders(medium, top);
        for (const std::string& folder : call.treeFolders)
            MakeFolders(medium, top + "\\" + folder);
    }
}

// The author's script had its say (CollectFiles): the written one must pass
// the check without an error, or tesselpack wrote it wrong.
ExitStatus Packer::CheckMedium()
{
    const std::string path = (fs::path(Shown()) / kScriptName).string();
    if (PrintFindings(CheckScript(script_, Medium(r_.medium)).diagnostics, path, Severity::Error).errors > 0)
        return kErrors;
    return found_.Status();
}

void Packer::RemoveBegunMedium()
{
    std::error_code error;
    bool complete = true;
    for (auto path = created_.rbegin(); path != created_.rend(); ++path)
        if (fs::exists(*path, error) && !fs::remove(*path, error))
            complete = false;
    if (created_.empty())
        return;
    if (complete)
        std::fprintf(stderr, "tesselpack: removed what it had written of the medium '%s'\n", Shown().c_str());
    else
        std::fprintf(stderr, "tesselpack: the medium '%s' is incomplete and could not be removed entirely: "
                             "do not ship it\n", Shown().c_str());
}

ExitStatus Stop(ExitStatus status, const std::string& why)
{
    std::fprintf(stderr, "tesselpack: %s\n", why.c_str());
    return status;
}

ExitStatus Packer::Run()
{
    std::error_code error;
    if (!fs::is_directory(r_.staging, error))
        return Stop(kCannotRun, "the folder '" + r_.staging + "' (--from) does not exist");
    if (!ReadScript())
        return Stop(kCannotRun, "cannot open the script '" + r_.script + "'");
    if (!CollectFiles() || !ChooseCompression())
        return Stop(kErrors, "no medium written");
    for (const char* program : {"setup.exe", uninstaller_ ? kUninstaller : "setup.exe"})
        if (!fs::is_regular_file(fs::path(r_.programs) / program, error))
            return Stop(kCannotRun, std::string(program) + " is not in '" + r_.programs +
                                        "', where tesselpack takes it from");

    ExitStatus status;
    try {
        BeginMedium();
        CompressFiles();
        Lay();
        WriteMedium(plan_, script_);
        fs::remove_all(fs::path(r_.medium) / kWorkFolder);
        status = CheckMedium();
        if (status == kErrors)
            throw PackFailure("the written script does not pass scriptcheck; this is a fault of tesselpack", kErrors);
    } catch (const PackFailure& failure) {
        Stop(failure.status, failure.what());
        RemoveBegunMedium();
        return failure.status;
    } catch (const std::exception& failure) {
        Stop(kCannotRun, failure.what());
        RemoveBegunMedium();
        return kCannotRun;
    }
    PrintSummary();
    return status;
}

void Packer::PrintSummary() const
{
    uint64_t before = 0, after = 0;
    for (const MediumFile& file : files_) {
        before += file.size;
        after += file.storedSize;
    }
    const double share = before ? 100.0 * static_cast<double>(after) / static_cast<double>(before) : 100.0;
    std::printf("tesselpack: %zu file%s, %s bytes, %s bytes on the medium (%.1f%%), %d disk%s", files_.size(),
                files_.size() == 1 ? "" : "s", Grouped(before).c_str(), Grouped(after).c_str(), share, plan_.disks,
                plan_.disks == 1 ? "" : "s");
    if (!r_.disk.Unlimited())
        std::printf(" of %s bytes", Grouped(r_.disk.Bytes()).c_str());
    std::printf(", in '%s'\n", Shown().c_str());
    if (r_.disk.Unlimited())
        return;
    for (size_t d = 0; d < plan_.used.size(); ++d)
        std::printf("tesselpack: Disk%zu takes %s bytes on the medium, %s bytes left\n", d + 1,
                    Grouped(plan_.used[d] * r_.disk.unit).c_str(),
                    Grouped((r_.disk.units - plan_.used[d]) * r_.disk.unit).c_str());
}

}  // namespace

ExitStatus Pack(const PackRequest& request, std::vector<std::string>* written)
{
    return Packer(request, written).Run();
}
