#include "scriptcheck/uninstall_check.h"

#include "common/text/path_rules.h"

std::optional<std::string> RefusedDeletionReason(const std::string& path, const std::vector<std::string>& kept,
                                                 const std::vector<std::string>& profileParents)
{
    const std::optional<DeletionTarget> target = ReadDeletionTarget(path);
    if (!target)
        return std::string("it is no full path of a file, a pattern, or a folder ending in '\\'");
    if (target->form != DeletionForm::kFile && IsKeptFolder(target->folder, kept, profileParents))
        return std::string("it is a root, the Windows or system folder, Program Files, the application data folder "
                           "itself or a profile's root");
    return std::nullopt;
}
