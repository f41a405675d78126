#include "uninstall/text/path_rules.h"

std::string SkippedRecordsText(std::size_t count)
{
    if (count == 1)
        return "Skipped 1 entry of the log file that is not a full path or lies behind a linked folder.";
    return "Skipped " + std::to_string(count) +
           " entries of the log file that are not full paths or lie behind linked folders.";
}
