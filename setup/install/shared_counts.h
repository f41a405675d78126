// This product's count of a shared file it installed.
#pragma once

#include <string>

// Adds one to the count of the file at `path`. A file that `wasThere`
// without a count was put there by someone who did not count: it is taken as
// counted once before this product, so that it becomes 2.
void CountSharedFile(const std::string& path, bool wasThere);
