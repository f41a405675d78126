#include "setup/guard/text/process_names.h"

#include <algorithm>

void LowerAsciiLetters(std::string& text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

void AddProcessName(ProcessNameTable& table, const std::string& executable)
{
    std::string name = executable.substr(executable.rfind('\\') + 1);
    LowerAsciiLetters(name);
    table.push_back(std::move(name));
}

bool TableHoldsName(const ProcessNameTable& table, const std::string& name)
{
    return !name.empty() && std::find(table.begin(), table.end(), name) != table.end();
}

bool IsVirtualDosMachine(const std::string& executable)
{
    const std::string suffix = "ntvdm.exe";
    if (executable.size() < suffix.size())
        return false;
    std::string tail = executable.substr(executable.size() - suffix.size());
    LowerAsciiLetters(tail);
    return tail == suffix;
}
