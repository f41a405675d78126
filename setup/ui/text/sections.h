// What the sections page computes without asking the system: the bytes a
// section's files take once installed, and how the page shows them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "setup/model/text/records.h"

// The installed bytes of the file entries that belong to `section` (exact,
// case-sensitive name), each measured by `sizeOf` from its index in
// `files`. Summed in 64 bits, so that a section of 4 GB and more does not
// wrap around.
uint64_t SumSectionSize(const std::vector<FileEntry>& files, const std::string& section,
                        const std::function<uint32_t(std::size_t)>& sizeOf);

// Whether the page shows the section's size: not for a section without
// files that holds shortcuts, registry entries or INI values, which is a
// choice such as "Create a desktop icon" rather than a part to install. An
// empty section shows its size of 0, as it always has.
bool ShowsSectionSize(const InstallationRecords& records, const std::string& section);

// The size column's text: the bytes as an unsigned decimal number, so that
// a section of 2 GB and more never shows a negative size.
std::string SectionSizeText(uint64_t bytes);
