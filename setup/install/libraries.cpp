#include "setup/install/libraries.h"

#include "common/installed_library.h"
#include "common/server_64.h"
#include "common/windows64.h"
#include "setup/install/entry_log.h"
#include "setup/install/install_state.h"
#include "setup/install/text/install_paths.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

namespace {

void RegisterLibrary(const LibraryEntry& entry, Prompter& prompter)
{
    std::string path = entry.path;
    ExpandVariables(path);
    CollapseBackslashes(path);
    if (!LogEntry(LogKind::kLibrary, {path}, "The library " + path, prompter))
        return;
    if (IsInstallation64()) {
        // The file system redirection is off for the 64-bit regsvr32.
        const FileRedirectionOff redirection(true);
        if (RegisterWith64BitServer(path) != ServerOutcome::kRegistered)
            TellRegistrationFailed(path, prompter);
        return;
    }
    const HMODULE module = LoadInstalledLibrary(path);
    if (!module || CallRegisterServer(module, path, prompter) == Registration::kNotRegistrable)
        TellRegistrationFailed(path, prompter);
    if (module)
        FreeLibrary(module);
}

}  // namespace

void TellRegistrationFailed(const std::string& path, Prompter& prompter)
{
    prompter.ShowMessage(MessageOwner::kPage, "Registration of " + path + " failed, setup will continue.",
                         "Server registration", MB_ICONERROR);
}

Registration CallRegisterServer(HMODULE module, const std::string& path, Prompter& prompter)
{
    using RegisterServer = HRESULT(STDAPICALLTYPE*)();
    const auto registerServer = reinterpret_cast<RegisterServer>(GetProcAddress(module, "DllRegisterServer"));
    if (!registerServer)
        return Registration::kNotRegistrable;
    if (registerServer() != S_OK)
        TellRegistrationFailed(path, prompter);
    return Registration::kRegistered;
}

void RegisterSectionLibraries(const std::string& sectionName, Prompter& prompter)
{
    for (const LibraryEntry& entry : gRecords.libraries)
        if (entry.sectionName == sectionName)
            RegisterLibrary(entry, prompter);
}
