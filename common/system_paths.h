// The paths the system gives, spelled for the "A" calls, and the platform
// they come from.
//
// The programs keep 8-bit strings in this system's ANSI code page, so that
// they run on Windows 95. On Windows NT a folder's name may hold letters
// that code page lacks (a Greek or Chinese user name on a Western system),
// which the "A" calls turn into "?". There every path here comes from the
// wide call, and one that the code page cannot spell is taken in its short
// 8.3 form, whose letters every code page holds. Windows 95, 98 and ME are
// ANSI throughout: there the "A" calls give the path as it is.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Windows NT (NT 4.0 up to 11), as opposed to Windows 95, 98 and ME.
bool IsWindowsNt();

// A function of a DLL the program has loaded, looked up on Windows NT only:
// on Windows 95, 98 and ME most wide functions are stubs that fail, and some
// are missing, so the import table must not name them. Null elsewhere.
FARPROC FindWideFunction(const char* module, const char* name);

template <typename Function>
Function FindWideFunction(const char* module, const char* name)
{
    return reinterpret_cast<Function>(FindWideFunction(module, name));
}

struct SystemPath {
    std::string path;     // empty when the system gives none
    bool spelled = true;  // false: neither the path nor a short form fits the code page; `path` then shows it
                          // with the code page's stand-in for each letter it lacks, for messages only
    bool IsUsable() const { return spelled && !path.empty(); }
};

// A path the system gave in wide characters (zero-terminated): as it is when the code page
// holds every letter, otherwise its short form. A path that has no short form
// (the volume keeps no 8.3 names, or the path does not exist) is not spelled.
SystemPath SpelledPath(const wchar_t* path);

// The sentence that says why such a folder cannot be used, naming it as far
// as the code page shows it.
std::string UnspelledFolderText(const std::string& shownFolder);

// The 8.3 form of an existing path as the system gives it, whole however
// long; nothing when the path does not exist.
std::optional<std::string> SystemShortPath(const std::string& path);

// A path in the form the system keeps for it, so that a long and a short
// spelling of the same file compare equal; as given when it does not exist.
std::string ShortForm(const std::string& path);

// Without a trailing backslash, but for TemporaryDirectory, which the
// system gives with one.
SystemPath WindowsDirectory();
SystemPath SystemDirectory();
SystemPath CurrentDirectory();
SystemPath TemporaryDirectory();
// The running program's own file; the wide form (with its terminating zero)
// is empty on Windows 95, 98 and ME.
SystemPath ProgramPath();
std::vector<wchar_t> WideProgramPath();
