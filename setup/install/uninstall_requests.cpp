#include "setup/install/uninstall_requests.h"

#include <string>
#include <vector>

#include "common/text/log_records.h"
#include "setup/install/install_state.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

namespace {

void LogUninstallDeletion(const UninstallDeletion& deletion, Prompter& prompter)
{
    std::string path = deletion.path;
    ExpandVariables(path);
    const std::vector<std::string> fields = {path, deletion.ask ? "1" : "0", gVariables.Get("APPNAME")};
    if (EncodeLogFields(fields).size() > kMaxLogLine) {
        Inform(prompter, "Uninstall will not remove " + path + ", because the path is too long for the log file.",
               "Setup");
        return;
    }
    gInstall.log.WriteEntry(LogKind::kDeleteOnUninstall, fields);
}

}  // namespace

void LogUninstallRequests(Prompter& prompter)
{
    if (gRecords.cleanUninstall)
        gInstall.log.WriteEntry(LogKind::kCleanUninstall, {"1"});
    for (const UninstallDeletion& deletion : gRecords.uninstallDeletions)
        LogUninstallDeletion(deletion, prompter);
    gInstall.log.Flush();
}
