#include "setup/install/entry_log.h"

#include "setup/install/install_state.h"

bool LogEntry(LogKind kind, const std::vector<std::string>& fields, const std::string& shown, Prompter& prompter)
{
    if (!FitsLogLine(fields)) {
        Inform(prompter,
               shown + " does not fit a line of " + std::to_string(kMaxLogLine) +
                   " characters in the uninstall log, setup will not install it.",
               "Error");
        return false;
    }
    gInstall.log.WriteEntry(kind, fields);
    return true;
}
