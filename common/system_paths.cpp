#include "common/system_paths.h"

#include <algorithm>
#include <vector>

namespace {

// A path that a system call writes into a caller's buffer, whole whatever its
// length, followed by its terminating zero (alone when the call fails):
// `get(buffer, size)` returns the length, or the size needed when the buffer
// is too small (GetModuleFileName: the buffer's size), or 0.
template <typename Char, typename Getter>
std::vector<Char> ReadPath(Getter get)
{
    std::vector<Char> path(MAX_PATH);
    for (;;) {
        const DWORD length = get(path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length + 1);
            path[length] = Char();
            return path;
        }
        path.resize(std::max<size_t>(length + 1, 2 * path.size()));
    }
}

std::string Text(const std::vector<char>& path)
{
    return std::string(path.data(), path.size() - 1);
}

bool SameText(const wchar_t* a, const wchar_t* b)
{
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

struct Narrowed {
    std::string text;
    bool exact = false;
};

// Whether the code page holds the text is told by reading it back: a letter
// it lacks comes out as its stand-in or as a look-alike letter, and neither
// reads back as the original. (WideCharToMultiByte's own report of a stand-in
// misses the look-alikes, and fails where the code page is UTF-8.)
Narrowed Narrow(const wchar_t* wide)
{
    // The sizes count the terminating zero.
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::vector<char> narrow(size);
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow.data(), size, nullptr, nullptr);
    const int backSize = MultiByteToWideChar(CP_ACP, 0, narrow.data(), -1, nullptr, 0);
    std::vector<wchar_t> back(backSize > 0 ? backSize : 1);
    if (backSize > 0)
        MultiByteToWideChar(CP_ACP, 0, narrow.data(), -1, back.data(), backSize);
    return {Text(narrow), SameText(back.data(), wide)};
}

}  // namespace

bool IsWindowsNt()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

FARPROC FindWideFunction(const char* module, const char* name)
{
    const HMODULE loaded = IsWindowsNt() ? GetModuleHandleA(module) : nullptr;
    return loaded ? GetProcAddress(loaded, name) : nullptr;
}

SystemPath SpelledPath(const wchar_t* path)
{
    const Narrowed asItIs = Narrow(path);
    if (asItIs.exact)
        return {asItIs.text};
    using ShortPathFunction = decltype(&GetShortPathNameW);
    if (const auto shortPath = FindWideFunction<ShortPathFunction>("KERNEL32.DLL", "GetShortPathNameW")) {
        const std::vector<wchar_t> shortForm =
            ReadPath<wchar_t>([&](wchar_t* buffer, DWORD size) { return shortPath(path, buffer, size); });
        const Narrowed spelled = Narrow(shortForm.data());
        if (shortForm.size() > 1 && spelled.exact)
            return {spelled.text};
    }
    return {asItIs.text, false};
}

std::string UnspelledFolderText(const std::string& shownFolder)
{
    return "The name of the folder " + shownFolder +
           " has letters that this system's code page cannot hold, and the drive keeps no short name for it.";
}

std::optional<std::string> SystemShortPath(const std::string& path)
{
    const std::string shortPath = Text(ReadPath<char>(
        [&](char* buffer, DWORD size) { return GetShortPathNameA(path.c_str(), buffer, size); }));
    if (shortPath.empty())
        return std::nullopt;
    return shortPath;
}

// Each from the wide call on Windows NT, from the "A" call elsewhere.

SystemPath WindowsDirectory()
{
    if (const auto wide = FindWideFunction<decltype(&GetWindowsDirectoryW)>("KERNEL32.DLL", "GetWindowsDirectoryW"))
        return SpelledPath(ReadPath<wchar_t>([&](wchar_t* buffer, DWORD size) { return wide(buffer, size); }).data());
    return {Text(ReadPath<char>([](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); }))};
}

SystemPath SystemDirectory()
{
    if (const auto wide = FindWideFunction<decltype(&GetSystemDirectoryW)>("KERNEL32.DLL", "GetSystemDirectoryW"))
        return SpelledPath(ReadPath<wchar_t>([&](wchar_t* buffer, DWORD size) { return wide(buffer, size); }).data());
    return {Text(ReadPath<char>([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); }))};
}

SystemPath CurrentDirectory()
{
    if (const auto wide = FindWideFunction<decltype(&GetCurrentDirectoryW)>("KERNEL32.DLL", "GetCurrentDirectoryW"))
        return SpelledPath(ReadPath<wchar_t>([&](wchar_t* buffer, DWORD size) { return wide(size, buffer); }).data());
    return {Text(ReadPath<char>([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); }))};
}

SystemPath TemporaryDirectory()
{
    if (const auto wide = FindWideFunction<decltype(&GetTempPathW)>("KERNEL32.DLL", "GetTempPathW"))
        return SpelledPath(ReadPath<wchar_t>([&](wchar_t* buffer, DWORD size) { return wide(size, buffer); }).data());
    return {Text(ReadPath<char>([](char* buffer, DWORD size) { return GetTempPathA(size, buffer); }))};
}

std::vector<wchar_t> WideProgramPath()
{
    const auto wide = FindWideFunction<decltype(&GetModuleFileNameW)>("KERNEL32.DLL", "GetModuleFileNameW");
    if (!wide)
        return {};
    return ReadPath<wchar_t>([&](wchar_t* buffer, DWORD size) { return wide(nullptr, buffer, size); });
}

SystemPath ProgramPath()
{
    if (const std::vector<wchar_t> wide = WideProgramPath(); !wide.empty())
        return SpelledPath(wide.data());
    return {Text(ReadPath<char>([](char* buffer, DWORD size) { return GetModuleFileNameA(nullptr, buffer, size); }))};
}

std::string ShortForm(const std::string& path)
{
    return SystemShortPath(path).value_or(path);
}
