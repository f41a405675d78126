#include "setup/ui/text/program_group.h"

std::optional<std::string> NewGroupPath(const std::string& programsFolder, const std::string& name)
{
    std::string path = programsFolder + "\\" + name + "\\";
    if (path.size() > kMaxGroupPath)
        return std::nullopt;
    return path;
}
