#include "uninstall/files_in_use.h"

#include <windows.h>

#include "common/handles.h"
#include "common/system_paths.h"
#include "uninstall/text/log_reader.h"
#include "uninstall/text/removal_texts.h"

namespace {

enum class Hold { kFree, kInUse, kBarred };

// Opening for writing (without truncating) fails as deleting would: with
// a sharing violation while a program holds the file, with access denied
// when the user may not change it. A write-protected file is refused too,
// and deleting it has always failed without a word, so it does not count.
Hold HoldOn(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return Hold::kFree;
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsOpen())
        return Hold::kFree;
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return Hold::kInUse;
    return error == ERROR_ACCESS_DENIED ? Hold::kBarred : Hold::kFree;
}

std::vector<std::string> HeldFiles(const std::vector<std::string>& files, const std::string& ownProgram)
{
    std::vector<std::string> held;
    for (const std::string& file : files)
        if (!SameProgramPath(SystemShortPath(file).value_or(file), ownProgram) && HoldOn(file) != Hold::kFree)
            held.push_back(file);
    return held;
}

}  // namespace

bool IsInUse(const std::string& path)
{
    return HoldOn(path) == Hold::kInUse;
}

bool ProceedWhenFilesAreFree(const std::vector<std::string>& files, const std::string& ownProgram)
{
    for (;;) {
        const std::vector<std::string> held = HeldFiles(files, ownProgram);
        if (held.empty())
            return true;
        const int answer = MessageBoxA(nullptr, FilesInUseText(held).c_str(), "Uninstall", MB_ABORTRETRYIGNORE);
        if (answer == IDIGNORE)
            return true;
        if (answer != IDRETRY)
            return false;
    }
}
