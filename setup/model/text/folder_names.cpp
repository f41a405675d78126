#include "setup/model/text/folder_names.h"

namespace {

bool IsForbiddenInFileName(char c)
{
    switch (c) {
    case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        return true;
    default:
        return static_cast<unsigned char>(c) < 0x20;
    }
}

}  // namespace

std::string FolderNameFor(const std::string& name)
{
    std::string folder;
    for (char c : name)
        if (!IsForbiddenInFileName(c))
            folder += c;
    const std::size_t end = folder.find_last_not_of(". ");
    folder.erase(end == std::string::npos ? 0 : end + 1);
    return folder;
}
