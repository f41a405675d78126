// Helpers shared by the Windows-side test programs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// A directory of its own under the system's temporary directory, removed
// with everything in it when the object goes.
class TempDir {
public:
    explicit TempDir(const std::string& hint = "tessel");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// A new folder below `parent` whose name (`utf8Name`) may hold letters this
// system's code page lacks. The test reaches it through the "A" calls by its
// short form, and starts programs there by its real name, as Explorer does.
struct NamedFolder {
    NamedFolder(const std::string& parent, const std::string& utf8Name);
    std::wstring wide;  // the real path
    std::string path;   // the short form, or the real path where the code page holds it
};
std::wstring Widened(const std::string& text, UINT codePage = CP_ACP);
// The path as this code page shows it, each letter it lacks replaced.
std::string Narrowed(const std::wstring& path);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
void RemoveTree(const std::string& path);
// The entries of a directory that match `pattern`, without "." and "..".
std::vector<WIN32_FIND_DATAA> DirectoryEntries(const std::string& directory, const std::string& pattern = "*");
// Their names only.
std::vector<std::string> DirectoryNames(const std::string& directory, const std::string& pattern = "*");

// A program that was run to its end.
struct Finished {
    DWORD exitCode = DWORD(-1);  // -1 when it could not start or did not end in time
    std::string output;          // its output and error output, when captured
};
// Runs a command line in `folder` (empty: this program's) and waits for it
// to end; one that takes longer than `timeoutMs` is ended. Without
// `captureOutput` it writes where this program writes.
Finished RunToEnd(const std::string& commandLine, const std::string& folder, DWORD timeoutMs,
                  bool captureOutput = false);

// Wine shows Windows 98 to programs of this file name while the object lives.
class Windows98Program {
public:
    explicit Windows98Program(const std::string& fileName);
    ~Windows98Program();
    Windows98Program(const Windows98Program&) = delete;
    Windows98Program& operator=(const Windows98Program&) = delete;

private:
    std::string keyPath_;
};

// An environment variable set by the test runner (TESSEL_BIN, TESSEL_SOURCE).
std::string Env(const char* name);

}  // namespace testing_support
