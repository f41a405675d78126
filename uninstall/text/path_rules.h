// Which paths of the log Unskein acts on (the rules it shares with setup are
// in common/text/path_rules.h), and what it tells of the records it skipped.
#pragma once

#include <cstddef>
#include <string>

#include "common/text/path_rules.h"

// Told once after the removal when `count` records were left alone.
std::string SkippedRecordsText(std::size_t count);
