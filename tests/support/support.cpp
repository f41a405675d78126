#include "tests/support/support.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace testing_support {

TempDir::TempDir(const std::string& hint)
{
    char base[MAX_PATH + 1];
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(base) + hint + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + path_);
    }
}

TempDir::~TempDir()
{
    RemoveTree(path_);
}

std::wstring Widened(const std::string& text, UINT codePage)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

std::string Narrowed(const std::wstring& path)
{
    std::string narrow(4 * path.size(), '\0');
    narrow.resize(WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &narrow[0],
                                      static_cast<int>(narrow.size()), nullptr, nullptr));
    return narrow;
}

NamedFolder::NamedFolder(const std::string& parent, const std::string& utf8Name)
    : wide(Widened(parent) + L"\\" + Widened(utf8Name, CP_UTF8))
{
    if (!CreateDirectoryW(wide.c_str(), nullptr))
        throw std::runtime_error("cannot create the folder " + utf8Name + " in " + parent);
    wchar_t shortForm[MAX_PATH] = L"";
    GetShortPathNameW(wide.c_str(), shortForm, MAX_PATH);
    path = Narrowed(Widened(Narrowed(wide)) == wide ? wide : shortForm);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path)
{
    for (const WIN32_FIND_DATAA& entry : DirectoryEntries(path)) {
        // A name this code page cannot spell is reached by its short form.
        const bool spelled = !std::strchr(entry.cFileName, '?') || !entry.cAlternateFileName[0];
        const std::string child = path + "\\" + (spelled ? entry.cFileName : entry.cAlternateFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(child);
        } else {
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(child.c_str());
        }
    }
    RemoveDirectoryA(path.c_str());
}

std::vector<WIN32_FIND_DATAA> DirectoryEntries(const std::string& directory, const std::string& pattern)
{
    std::vector<WIN32_FIND_DATAA> entries;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((directory + "\\" + pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..")
            entries.push_back(data);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return entries;
}

std::vector<std::string> DirectoryNames(const std::string& directory, const std::string& pattern)
{
    std::vector<std::string> names;
    for (const WIN32_FIND_DATAA& entry : DirectoryEntries(directory, pattern))
        names.push_back(entry.cFileName);
    return names;
}

Finished RunToEnd(const std::string& commandLine, const std::string& folder, DWORD timeoutMs, bool captureOutput)
{
    Finished finished;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (captureOutput) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
            return finished;
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
    }
    std::string command = commandLine;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE,
                                        captureOutput ? CREATE_NO_WINDOW : 0, nullptr,
                                        folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    if (captureOutput) {
        CloseHandle(writeEnd);
        char buffer[4096];
        for (DWORD n; started && ::ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0;)
            finished.output.append(buffer, n);
        CloseHandle(readEnd);
    }
    if (!started)
        return finished;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &finished.exitCode);
    else
        TerminateProcess(process.hProcess, DWORD(-1));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return finished;
}

Windows98Program::Windows98Program(const std::string& fileName)
    : keyPath_("Software\\Wine\\AppDefaults\\" + fileName)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
        RegCloseKey(key);
    }
}

Windows98Program::~Windows98Program()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
}

std::string Env(const char* name)
{
    std::vector<char> value(32768);
    const DWORD length = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    return std::string(value.data(), length < value.size() ? length : 0);
}

}  // namespace testing_support
