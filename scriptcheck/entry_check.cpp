#include "scriptcheck/entry_check.h"

#include <algorithm>

#include "common/text/log_records.h"
#include "common/text/registry_entries.h"
#include "scriptcheck/suggest.h"

namespace {

const char kNotWritten[] = ": setup does not install this entry";

std::vector<std::string> Expanded(const std::vector<std::string>& args, Command command, VariableStore& variables)
{
    std::vector<std::string> expanded = args;
    for (std::size_t i = 0; i < expanded.size(); ++i)
        if (IsExpandedAtCopy(command, static_cast<int>(i) + 1))
            ExpandVariables(variables, expanded[i]);
    return expanded;
}

void CheckSection(const std::string& section, const std::vector<std::string>& sections, Place at, Diagnostics& d)
{
    if (std::find(sections.begin(), sections.end(), section) == sections.end())
        d.Warning(at, "no CreateSection creates the section " + Quoted(section) + ": this entry is never installed" +
                          DidYouMean(section, sections));
}

void CheckLogLine(const std::vector<std::string>& fields, Place at, Diagnostics& d)
{
    const std::size_t length = EncodeLogFields(fields).size();
    if (length > kMaxLogLine)
        d.Error(at, "this entry needs a line of at least " + std::to_string(length) +
                        " characters in the uninstall log, which holds " + std::to_string(kMaxLogLine) + kNotWritten);
}

void CheckRegistry(const std::vector<std::string>& args, const std::function<Place(int)>& at, Diagnostics& d)
{
    const std::optional<RegistryRoot> root = RegistryRootOf(args[0]);
    const std::optional<RegistryType> type = RegistryTypeOf(args[3]);
    const std::optional<RegistryRemoval> removal = RegistryRemovalOf(args[6]);
    const std::optional<std::vector<std::string>> names = KeyNames(args[1]);
    if (!root)
        d.Error(at(1), Quoted(args[0]) + " is no root: \"HKLM\", \"HKCU\" or \"HKCR\"" + kNotWritten +
                           DidYouMean(args[0], {"HKLM", "HKCU", "HKCR"}));
    if (!names)
        d.Error(at(2), Quoted(args[1]) + " is no key: it needs a name, and none of its names may be empty" +
                           kNotWritten);
    if (!type)
        d.Error(at(4), Quoted(args[3]) + " is no value type: \"SZ\", \"EXPAND_SZ\", \"DWORD\" or \"NONE\"" +
                           kNotWritten + DidYouMean(args[3], {"SZ", "EXPAND_SZ", "DWORD", "NONE"}));
    else if (type == RegistryType::kNumber && !RegistryNumberOf(args[4]))
        d.Error(at(5), Quoted(args[4]) + " is no number for a DWORD: decimal, or hex as \"0x...\"" + kNotWritten);
    if (!removal)
        d.Error(at(7), Quoted(args[6]) + " is neither \"VALUE\", \"KEY\" nor \"KEEP\"" + kNotWritten +
                           DidYouMean(args[6], {"VALUE", "KEY", "KEEP"}));
    else if (removal == RegistryRemoval::kKey && root && names && GuardOf(*root, *names) != KeyGuard::kWhenCreated)
        d.Warning(at(7), "Unskein never deletes the key " + Quoted(args[0] + "\\" + args[1]) +
                             " with everything below it: it takes back the value and the keys setup created, as "
                             "with \"VALUE\"");
    if (removal && removal != RegistryRemoval::kKeep) {
        std::vector<std::string> fields(kRegistryFieldCount);
        fields[kRegistryRoot] = args[0];
        fields[kRegistryKey] = args[1];
        fields[kRegistryName] = args[2];
        fields[kRegistryType] = args[3];
        fields[kRegistryData] = args[4];
        fields[kRegistryRemoval] = args[6];
        fields[kRegistryCreated] = "0";
        CheckLogLine(fields, at(0), d);
    }
}

void CheckIniValue(const std::vector<std::string>& args, const std::function<Place(int)>& at, Diagnostics& d)
{
    if (args[5] != "VALUE" && args[5] != "KEEP")
        d.Error(at(6), Quoted(args[5]) + " is neither \"VALUE\" nor \"KEEP\"" + kNotWritten +
                           DidYouMean(args[5], {"VALUE", "KEEP"}));
    else if (args[5] == "VALUE")
        CheckLogLine({args[0], args[1], args[2], args[3], ""}, at(0), d);
}

}  // namespace

bool IsExpandedAtCopy(Command command, int number)
{
    switch (command) {
    case Command::AddFile:
    case Command::AddFolder: return number == 2;
    case Command::AddRegistry: return number == 2 || number == 3 || number == 5;
    case Command::AddIniValue: return number >= 1 && number <= 4;
    case Command::RegisterLibrary: return number == 1;
    case Command::DeleteOnUninstall: return number == 1;
    case Command::DeleteOnInstall: return number == 1;
    default: return false;
    }
}

void CheckEntryCall(const CommandInfo& info, const std::vector<std::string>& args,
                    const std::vector<std::string>& sections, VariableStore& variables,
                    const std::function<Place(int)>& at, Diagnostics& d)
{
    const std::vector<std::string> expanded = Expanded(args, info.command, variables);
    switch (info.command) {
    case Command::AddRegistry:
        CheckRegistry(expanded, at, d);
        CheckSection(args[5], sections, at(6), d);
        break;
    case Command::AddIniValue:
        CheckIniValue(expanded, at, d);
        CheckSection(args[4], sections, at(5), d);
        break;
    case Command::RegisterLibrary:
        CheckLogLine({expanded[0]}, at(0), d);
        CheckSection(args[1], sections, at(2), d);
        break;
    case Command::AddFolder:
        CheckSection(args[2], sections, at(3), d);
        break;
    default:
        break;
    }
}
