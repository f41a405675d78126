#include "setup/install/starter_folder.h"

#include <windows.h>

#include <optional>
#include <string>

#include "common/system_paths.h"
#include "common/whole_file.h"
#include "setup/install/install_state.h"

namespace {

// A batch file reads "%" as the start of a variable.
std::string BatchQuoted(const std::string& path)
{
    std::string quoted = "\"";
    for (const char c : path)
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    return quoted + "\"";
}

// Tries until the folder is gone, for a while (a program the user started
// from the folder may hold it meanwhile), then deletes itself: a second
// apart and for two minutes at most on Windows NT; on Windows 95, 98 and
// ME, which know neither "rd /s" nor counting, with deltree, a fixed
// number of times.
std::string RemovalBatch(const std::string& folder)
{
    constexpr int kAttempts = 120;
    const std::string target = BatchQuoted(folder);
    if (!IsWindowsNt()) {
        std::string batch = "@echo off\r\n";
        for (int attempt = 0; attempt < kAttempts; ++attempt)
            batch += "deltree /y " + target + " >nul\r\nif not exist " + BatchQuoted(folder + "\\nul") +
                     " goto done\r\n";
        return batch + ":done\r\ndel %0\r\n";
    }
    return "@echo off\r\nset n=0\r\n:again\r\nrd /s /q " + target + " 2>nul\r\nif not exist " + target +
           " goto done\r\nset /a n+=1\r\nif %n% lss " + std::to_string(kAttempts) +
           " (ping -n 2 127.0.0.1 >nul\r\ngoto again)\r\n:done\r\ndel \"%~f0\"\r\n";
}

// A batch file of a new name beside the folder, in its short form, which
// needs no quotes on the command line.
std::optional<std::string> WriteBatch(const std::string& directory, const std::string& text)
{
    char reserved[MAX_PATH] = {};
    if (directory.size() + 14 >= MAX_PATH || !GetTempFileNameA(directory.c_str(), "tsl", 0, reserved))
        return std::nullopt;
    const std::string batch = std::string(reserved) + ".bat";
    const bool written = MoveFileA(reserved, batch.c_str()) && WriteWholeFile(batch, text);
    DeleteFileA(reserved);
    if (!written) {
        DeleteFileA(batch.c_str());
        return std::nullopt;
    }
    return ShortForm(batch);
}

bool StarterHasEnded()
{
    const PackagedMedium& medium = gInstall.packagedMedium;
    return !medium.folder.empty() && medium.starter && WaitForSingleObject(medium.starter, 0) == WAIT_OBJECT_0;
}

}  // namespace

void RemoveFolderOfEndedStarter()
{
    if (!StarterHasEnded())
        return;
    const std::string folder = ShortForm(gInstall.packagedMedium.folder);
    const std::string parent = folder.substr(0, folder.rfind('\\'));
    const std::optional<std::string> batch = WriteBatch(parent, RemovalBatch(folder));
    char shell[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("COMSPEC", shell, MAX_PATH);
    if (!batch || length == 0 || length >= MAX_PATH)
        return;
    std::string commandLine = "\"" + std::string(shell) + "\" /c " + *batch;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    // Started in the folder's parent: a current directory inside would keep the folder.
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, parent.c_str(), &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        DeleteFileA(batch->c_str());
    }
}
