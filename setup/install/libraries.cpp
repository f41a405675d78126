#include "setup/install/libraries.h"

#include "common/installed_library.h"
#include "setup/install/entry_log.h"
#include "setup/install/install_state.h"
#include "setup/install/text/install_paths.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

namespace {

void TellRegistrationFailed(const std::string& path, Prompter& prompter)
{
    prompter.ShowMessage(MessageOwner::kPage, "Registration of " + path + " failed, setup will continue.",
                         "Server registration", MB_ICONERROR);
}

void RegisterLibrary(const LibraryEntry& entry, Prompter& prompter)
{
    std::string path = entry.path;
    ExpandVariables(path);
    CollapseBackslashes(path);
    if (!LogEntry(LogKind::kLibrary, {path}, "The library " + path, prompter))
        return;
    const HMODULE module = LoadInstalledLibrary(path);
    if (!module || CallRegisterServer(module, path, prompter) == Registration::kNotRegistrable)
        TellRegistrationFailed(path, prompter);
    if (module)
        FreeLibrary(module);
}

}  // namespace

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
