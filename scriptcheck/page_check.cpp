#include "scriptcheck/page_check.h"

#include "setup/model/text/windows_versions.h"

void CheckShownFile(Diagnostics& d, Place at, const std::string& command, const std::string& written,
                    const MediumSearch& search, const Medium& medium)
{
    if (search.outcome == SearchOutcome::OutsideMedium)
        return;
    const bool wildcard = written.find_first_of("*?") != std::string::npos;
    if (wildcard || search.outcome != SearchOutcome::Searched || search.matches.size() != 1 ||
        search.matches[0].isDirectory)
        d.Error(at, "the file " + Quoted(written) + " of " + command + " is not in the medium folder " +
                        Quoted(medium.Shown()) + " (one file, no wildcards): setup says it cannot read it and ends");
}

void CheckWindowsVersion(Diagnostics& d, Place at, const std::string& version)
{
    if (!ReadWindowsVersion(version))
        d.Error(at, Quoted(version) + " is no Windows version: write major.minor, such as \"4.10\" for Windows 98 "
                                      "or \"5.1\" for XP, or \"0\"; setup sets no limit for this family");
}

void CheckBeforePages(Diagnostics& d, Place at, const std::string& command, int firstPageLine)
{
    if (firstPageLine == 0)
        return;
    const std::string page = "the first page (line " + std::to_string(firstPageLine) + ")";
    if (command == "SetBackButton")
        d.Warning(at, "SetBackButton after " + page + ": the pages before it have no Back button; write it "
                                                     "before the first page");
    else
        d.Warning(at, "RequireWindows after " + page + ": the user answers pages before setup finds that "
                                                      "this Windows is not supported; write it first");
}
