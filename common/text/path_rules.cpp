#include "common/text/path_rules.h"

#include <algorithm>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A name Windows keeps as written: no character it forbids or reads
// otherwise, and not only dots and blanks. An empty one is a doubled
// separator.
bool IsPlainComponent(std::string_view component)
{
    for (const char c : component)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view(":*?\"<>|").find(c) != std::string_view::npos)
            return false;
    return component.empty() || component.find_first_not_of(". ") != std::string_view::npos;
}

// Splits `rest` at separators; false at the first component that is not plain.
bool AreComponentsPlain(std::string_view rest)
{
    for (;;) {
        const auto separator = std::find_if(rest.begin(), rest.end(), IsSeparator);
        const std::size_t length = static_cast<std::size_t>(separator - rest.begin());
        if (!IsPlainComponent(rest.substr(0, length)))
            return false;
        if (separator == rest.end())
            return true;
        rest.remove_prefix(length + 1);
    }
}

// "\\server\share", both named; the rest of the path is `rest`.
bool IsShareRoot(std::string_view path, std::string_view& rest)
{
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return false;
    std::string_view parts = path.substr(2);
    for (int part = 0; part < 2; ++part) {
        const auto separator = std::find_if(parts.begin(), parts.end(), IsSeparator);
        const std::size_t length = static_cast<std::size_t>(separator - parts.begin());
        if (length == 0 || !IsPlainComponent(parts.substr(0, length)))
            return false;
        parts.remove_prefix(separator == parts.end() ? length : length + 1);
    }
    rest = parts;
    return true;
}

std::string_view WithoutTrailingSeparators(std::string_view path)
{
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    return path;
}

// Separators collapsed and none at the end, for comparing folders.
std::string FolderKey(std::string_view folder)
{
    std::string key;
    for (std::size_t i = 0; i < folder.size(); ++i)
        if (!(i > 1 && IsSeparator(folder[i]) && IsSeparator(key.back())))
            key += IsSeparator(folder[i]) ? '\\' : LowerAscii(folder[i]);
    while (!key.empty() && key.back() == '\\')
        key.pop_back();
    return key;
}

bool HasWildcard(std::string_view name)
{
    return name.find_first_of("*?") != std::string_view::npos;
}

// A pattern's name is plain once its wildcards stand for letters.
bool IsPlainPattern(std::string_view name)
{
    std::string letters(name);
    std::replace_if(letters.begin(), letters.end(), [](char c) { return c == '*' || c == '?'; }, 'x');
    return !letters.empty() && IsPlainComponent(letters);
}

}  // namespace

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsFullPlainPath(std::string_view path)
{
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]))
        return AreComponentsPlain(path.substr(3));
    std::string_view rest;
    return IsShareRoot(path, rest) && AreComponentsPlain(rest);
}

bool LiesBelow(std::string_view base, std::string_view path)
{
    base = WithoutTrailingSeparators(base);
    path = WithoutTrailingSeparators(path);
    return path.size() > base.size() + 1 && IsSeparator(path[base.size()]) &&
           SameIgnoringAsciiCase(path.substr(0, base.size()), base);
}

std::vector<std::string> FoldersBetween(std::string_view base, std::string_view path)
{
    std::vector<std::string> folders;
    if (!LiesBelow(base, path))
        return folders;
    base = WithoutTrailingSeparators(base);
    path = WithoutTrailingSeparators(path);
    for (std::size_t at = base.size() + 1; at < path.size(); ++at)
        if (IsSeparator(path[at]) && !IsSeparator(path[at - 1]))
            folders.emplace_back(path.substr(0, at));
    return folders;
}

bool IsSameOrBelow(std::string_view folder, std::string_view path)
{
    return SameIgnoringAsciiCase(WithoutTrailingSeparators(folder), WithoutTrailingSeparators(path)) ||
           LiesBelow(folder, path);
}

bool IsRootFolder(std::string_view folder)
{
    folder = WithoutTrailingSeparators(folder);
    if (folder.size() == 2 && IsDriveLetter(folder[0]) && folder[1] == ':')
        return true;
    std::string_view rest;
    return IsShareRoot(folder, rest) && WithoutTrailingSeparators(rest).empty();
}

std::string UninstallProgramOf(const std::string& uninstallString)
{
    if (uninstallString.size() >= 2 && uninstallString.front() == '"') {
        const size_t close = uninstallString.find('"', 1);
        if (close != std::string::npos)
            return uninstallString.substr(1, close - 1);
    }
    return uninstallString;
}

std::optional<DeletionTarget> ReadDeletionTarget(std::string_view path)
{
    if (!path.empty() && IsSeparator(path.back())) {
        const std::string_view folder = WithoutTrailingSeparators(path);
        if (!IsFullPlainPath(path) || IsRootFolder(folder))
            return std::nullopt;
        return DeletionTarget{DeletionForm::kFolder, std::string(folder), ""};
    }
    const std::size_t separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos || !IsFullPlainPath(path.substr(0, separator + 1)))
        return std::nullopt;
    const std::string_view name = path.substr(separator + 1);
    const std::string folder(WithoutTrailingSeparators(path.substr(0, separator + 1)));
    if (HasWildcard(name))
        return IsPlainPattern(name) ? std::optional<DeletionTarget>({DeletionForm::kPattern, folder, std::string(name)})
                                    : std::nullopt;
    if (name.empty() || !IsFullPlainPath(path))
        return std::nullopt;
    return DeletionTarget{DeletionForm::kFile, folder, std::string(name)};
}

bool IsKeptFolder(std::string_view folder, const std::vector<std::string>& kept,
                  const std::vector<std::string>& profileParents)
{
    if (IsRootFolder(folder))
        return true;
    const std::string key = FolderKey(folder);
    const std::string parent = key.substr(0, key.rfind('\\'));
    for (const std::string& keptFolder : kept)
        if (!keptFolder.empty() && FolderKey(keptFolder) == key)
            return true;
    for (const std::string& profiles : profileParents)
        if (!profiles.empty() && (FolderKey(profiles) == key || FolderKey(profiles) == parent))
            return true;
    return false;
}
