// Helpers shared by the Windows-side test programs.
#pragma once

#include <windows.h>

#include <string>

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

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
void RemoveTree(const std::string& path);

// An environment variable set by the test runner (TESSEL_BIN, TESSEL_SOURCE).
std::string Env(const char* name);

}  // namespace testing_support
