#include "uninstall/text/removal_texts.h"

namespace {

// A message box taller than the screen hides its buttons.
constexpr std::size_t kFilesNamed = 10;

}  // namespace

std::string FilesInUseText(const std::vector<std::string>& files)
{
    std::string text = "These files are in use, or you may not delete them:\n\n";
    for (std::size_t i = 0; i < files.size() && i < kFilesNamed; ++i)
        text += files[i] + "\n";
    if (files.size() > kFilesNamed)
        text += "and " + std::to_string(files.size() - kFilesNamed) + " more\n";
    return text + "\nClose the programs that use them, then choose Retry. Ignore removes the files in use when "
                  "Windows restarts. Abort removes nothing.";
}
