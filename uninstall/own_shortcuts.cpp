#include "uninstall/own_shortcuts.h"

#include <objbase.h>

#include <algorithm>
#include <optional>

#include "common/shell_link.h"
#include "common/system_paths.h"
#include "uninstall/text/log_reader.h"
#include "uninstall/text/logged_links.h"

namespace {

bool IsShortcut(const std::string& path)
{
    return path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".lnk") == 0;
}

// Whether `path` lies inside `folder`, in the spelling both are given in.
bool LiesInside(const std::string& path, std::string folder)
{
    if (folder.empty())
        return false;
    if (folder.back() != '\\')
        folder += '\\';
    return path.size() > folder.size() && lstrcmpiA(path.substr(0, folder.size()).c_str(), folder.c_str()) == 0;
}

class Ownership {
public:
    Ownership(const UninstallLog& log, const std::string& installFolder)
        : links_(LoggedLinks(log)), folder_(installFolder), shortFolder_(ShortForm(installFolder))
    {
        for (const LogRecord& record : log.records)
            listed_.push_back(ShortForm(record.path));
    }

    bool Owns(const std::string& shortcut, const std::string& target) const
    {
        const std::string shortTarget = ShortForm(target);
        if (LiesInside(target, folder_) || LiesInside(shortTarget, shortFolder_))
            return true;
        const auto same = [&](const std::string& path) { return SameProgramPath(path, shortTarget); };
        if (std::any_of(listed_.begin(), listed_.end(), same))
            return true;
        const std::string shortShortcut = ShortForm(shortcut);
        return std::any_of(links_.begin(), links_.end(), [&](const LoggedLink& link) {
            return SameProgramPath(ShortForm(link.shortcut), shortShortcut) &&
                   (SameProgramPath(link.target, target) || SameProgramPath(ShortForm(link.target), shortTarget));
        });
    }

private:
    std::vector<LoggedLink> links_;
    std::vector<std::string> listed_;  // every path the log records, in short form
    std::string folder_;
    std::string shortFolder_;
};

}  // namespace

void DropTakenOverShortcuts(std::vector<std::string>& files, const UninstallLog& log,
                            const std::string& installFolder)
{
    if (std::none_of(files.begin(), files.end(), IsShortcut))
        return;
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    const Ownership ownership(log, installFolder);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const std::string& file) {
                                   if (!IsShortcut(file))
                                       return false;
                                   const std::optional<std::string> target = ShortcutTarget(file);
                                   return target && !target->empty() && !ownership.Owns(file, *target);
                               }),
                files.end());
    if (com)
        CoUninitialize();
}
