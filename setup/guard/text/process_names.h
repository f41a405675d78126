// The names under which running programs are compared with a ForbidProcess name.
#pragma once

#include <string>
#include <vector>

// The file names of the processes and 16-bit tasks of one walk, in
// enumeration order; as many as there are.
using ProcessNameTable = std::vector<std::string>;

// Lower-cases the letters A to Z in place; other bytes stay as they are.
void LowerAsciiLetters(std::string& text);

// Adds an executable's name as it is compared: lower case, without directory.
void AddProcessName(ProcessNameTable& table, const std::string& executable);

// Whether a lower-case file name is in the table. An empty name matches
// nothing, though processes whose name cannot be read are in the table empty.
bool TableHoldsName(const ProcessNameTable& table, const std::string& name);

// Whether an executable path names the virtual DOS machine, whose 16-bit
// tasks are listed on their own.
bool IsVirtualDosMachine(const std::string& executable);
