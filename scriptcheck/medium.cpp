#include "scriptcheck/medium.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/text/payload.h"
#include "scriptcheck/suggest.h"

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The entry of `folder` whose name equals `name` ignoring case, as Windows
// finds it; empty when there is none.
fs::path FindFolder(const fs::path& folder, const std::string& name)
{
    std::error_code error;
    if (fs::is_directory(folder / name, error))
        return folder / name;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (EqualIgnoringCase(entry.path().filename().string(), name) && entry.is_directory(error))
            return entry.path();
    return {};
}

}  // namespace

Medium::Medium(const std::string& folder, MediumKind kind) : shown_(folder), kind_(kind)
{
    std::error_code error;
    fs::path absolute = fs::absolute(folder, error);
    folder_ = (error ? fs::path(folder) : absolute).lexically_normal().string();
    while (folder_.size() > 1 && IsSeparator(folder_.back()) && folder_[folder_.size() - 2] != ':')
        folder_.pop_back();
}

MediumSearch Medium::Search(const std::string& pattern) const
{
    MediumSearch result;
    std::string rest;
    if (pattern.size() >= folder_.size() && EqualIgnoringCase(pattern.substr(0, folder_.size()), folder_)) {
        rest = pattern.substr(folder_.size());
        if (!rest.empty() && !IsSeparator(rest[0]) && !IsSeparator(folder_.back())) {
            result.outcome = SearchOutcome::JoinedToMedium;
            return result;
        }
    } else if (!pattern.empty() && (IsSeparator(pattern[0]) || (pattern.size() > 1 && pattern[1] == ':'))) {
        result.outcome = SearchOutcome::OutsideMedium;
        return result;
    } else {
        rest = pattern;  // setup searches relative patterns in the folder it started in
    }

    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (i == rest.size() || IsSeparator(rest[i])) {
            parts.push_back(rest.substr(start, i - start));
            start = i + 1;
        }
    }
    const std::string last = parts.back();
    parts.pop_back();

    fs::path folder = folder_;
    for (const std::string& part : parts) {
        if (part.find_first_of("*?") != std::string::npos) {
            result.outcome = SearchOutcome::WildcardInFolder;
            return result;
        }
        if (part.empty() || part == ".")
            continue;
        folder = part == ".." ? folder.parent_path() : FindFolder(folder, part);
        if (folder.empty())
            return result;
    }
    if (last.empty())
        return result;

    result.folder = folder.string();
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (MatchesSearchPattern(last, name))
            result.matches.push_back({name, entry.is_directory(error)});
    }
    std::sort(result.matches.begin(), result.matches.end(),
              [](const FoundFile& a, const FoundFile& b) { return a.name < b.name; });
    return result;
}

namespace {

// The tree below `top`: names that begin with a dot left out, as setup
// leaves them out, with what is below them.
void ListTree(const fs::path& top, const std::string& pattern, FoundTree& tree)
{
    std::error_code error;
    for (auto at = fs::recursive_directory_iterator(top, error); !error && at != fs::recursive_directory_iterator();
         at.increment(error)) {
        const std::string name = at->path().filename().string();
        if (name[0] == '.') {
            at.disable_recursion_pending();
            continue;
        }
        std::string below = at->path().lexically_relative(top).generic_string();
        std::replace(below.begin(), below.end(), '/', '\\');
        if (at->is_directory(error))
            tree.folders.push_back(below);
        else if (MatchesSearchPattern(pattern, name))
            tree.files.push_back(below);
    }
    const auto byLowerName = [](const std::string& a, const std::string& b) {
        return payload::LowerName(a) < payload::LowerName(b);
    };
    std::sort(tree.folders.begin(), tree.folders.end(), byLowerName);
    std::sort(tree.files.begin(), tree.files.end(), byLowerName);
}

}  // namespace

MediumSearch Medium::SearchTree(const std::string& source, const std::string& pattern) const
{
    std::string top = source;
    while (top.size() > 1 && IsSeparator(top.back()))
        top.pop_back();
    MediumSearch result = Search(top);
    const size_t slash = top.find_last_of("\\/");
    const std::string name = top.substr(slash == std::string::npos ? 0 : slash + 1);
    const auto found = std::find_if(result.matches.begin(), result.matches.end(), [&](const FoundFile& match) {
        return match.isDirectory && EqualIgnoringCase(match.name, name);
    });
    result.folder = found == result.matches.end() ? "" : (fs::path(result.folder) / found->name).string();
    result.matches.clear();
    if (!result.folder.empty())
        ListTree(result.folder, pattern, result.tree);
    return result;
}

bool Medium::IsTop(const MediumSearch& search) const
{
    return !search.folder.empty() && fs::path(search.folder).lexically_normal() == fs::path(folder_);
}

const char* ProgramOfTesselpack(const std::string& pattern)
{
    const size_t slash = pattern.find_last_of("\\/");
    const std::string last = pattern.substr(slash == std::string::npos ? 0 : slash + 1);
    for (const char* program : {"setup.exe", "Unskein.exe"})
        if (EqualIgnoringCase(last, program))
            return program;
    return nullptr;
}

SourceFinding MissingSourceFinding(const Medium& medium, const std::string& quotedPattern)
{
    if (medium.Kind() == MediumKind::kTesselpackSource)
        return {Severity::Error, "the source pattern " + quotedPattern + " matches no file in '" + medium.Shown() +
                          "': put the file there or correct the pattern"};
    return {Severity::Warning, "the source pattern " + quotedPattern + " matches no file in the medium folder " +
                       Quoted(medium.Shown()) + ": setup adds nothing"};
}

SourceFinding MissingFolderFinding(const Medium& medium, const std::string& quotedFolder)
{
    if (medium.Kind() == MediumKind::kTesselpackSource)
        return {Severity::Error, "the source folder " + quotedFolder + " is not in '" + medium.Shown() +
                          "': put the folder there or correct the path"};
    return {Severity::Warning, "the source folder " + quotedFolder + " is not in the medium folder " +
                       Quoted(medium.Shown()) + ": setup adds nothing"};
}
