#include "setup/model/text/records.h"

#include <climits>

#include "common/text/path_rules.h"
#include "setup/model/text/variables.h"

InstallationRecords gRecords;

int32_t ScriptNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1)
            break;  // saturates below
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t ScriptFlag(const std::string& text)
{
    return ScriptNumber(text) != 0 ? 1 : 0;
}

uint32_t ScriptColor(const std::string& red, const std::string& green, const std::string& blue)
{
    auto low8 = [](const std::string& s) { return static_cast<uint32_t>(ScriptNumber(s)) & 0xFFu; };
    return low8(red) | low8(green) << 8 | low8(blue) << 16;
}

void AppendSection(InstallationRecords& records, const std::vector<std::string>& args)
{
    SectionEntry entry;
    entry.name = args[0];
    entry.mandatory = ScriptNumber(args[1]);
    entry.comment = args[3];
    records.sections.push_back(entry);
}

void AppendFileEntries(InstallationRecords& records, const std::vector<std::string>& args,
                       const std::vector<FoundFile>& matches)
{
    FileEntry entry;
    entry.destinationPath = args[1];
    entry.sectionName = args[2];
    entry.shared = ScriptFlag(args[3]);
    entry.disk = static_cast<int16_t>(static_cast<uint16_t>(ScriptNumber(args[4])));
    entry.split = ScriptFlag(args[5]);
    entry.lastPiece = ScriptFlag(args[6]);
    entry.shortcut = ScriptFlag(args[8]);
    entry.shortcutName = args[9];

    const std::string& pattern = args[0];
    const size_t slash = pattern.rfind('\\');
    const std::string directory = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
    const std::string& destination = args[1];
    const bool intoDirectory = !destination.empty() && destination.back() == '\\';
    for (const FoundFile& match : matches) {
        if (match.isDirectory || match.name.empty() || match.name[0] == '.')
            continue;
        entry.sourcePath = directory + match.name;
        entry.destinationPath = intoDirectory ? destination + match.name : destination;
        records.files.push_back(entry);
    }
}

namespace {

// `below` (a path below a folder, or empty for the folder itself) joined to
// the folder, whose final backslash is optional.
std::string PathBelow(const std::string& folder, const std::string& below)
{
    if (below.empty() || folder.empty() || folder.back() == '\\')
        return folder + below;
    return folder + "\\" + below;
}

bool Glob(const std::string& pattern, const std::string& name)
{
    size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesSearchPattern(const std::string& pattern, const std::string& name)
{
    if (Glob(pattern, name))
        return true;
    const bool noExtension = name.find('.') == std::string::npos;
    if (noExtension && pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0)
        return Glob(pattern.substr(0, pattern.size() - 2), name);
    if (noExtension && !pattern.empty() && pattern.back() == '.')
        return Glob(pattern.substr(0, pattern.size() - 1), name);
    return false;
}

void AppendFolderTree(InstallationRecords& records, const std::vector<std::string>& args, const FoundTree& tree)
{
    const std::string& source = args[0];
    const std::string& destination = args[1];
    const std::string& section = args[2];
    records.folders.push_back({destination, section});
    for (const std::string& folder : tree.folders)
        records.folders.push_back({PathBelow(destination, folder), section});
    FileEntry entry;
    entry.sectionName = section;
    entry.disk = 1;
    for (const std::string& file : tree.files) {
        entry.sourcePath = PathBelow(source, file);
        entry.destinationPath = PathBelow(destination, file);
        records.files.push_back(entry);
    }
}

void AppendCustomWindow(InstallationRecords& records, const std::vector<std::string>& args)
{
    CustomWindow record;
    record.page = args[0];
    record.name = args[1];
    record.kind = args[2];
    record.text = args[3];
    record.left = ScriptNumber(args[5]);
    record.top = ScriptNumber(args[6]);
    record.right = ScriptNumber(args[7]);
    record.bottom = ScriptNumber(args[8]);
    records.windows.push_back(record);
}

void AppendAction(InstallationRecords& records, const std::string& command,
                  const std::vector<std::string>& args)
{
    records.actions.push_back(ActionRecord{command, args});
}

void AppendShortcut(InstallationRecords& records, const std::vector<std::string>& args)
{
    records.shortcuts.push_back(ShortcutEntry{args[0], args[1], args[2], args[3], args[4], args[5]});
}

void AppendFinishAction(InstallationRecords& records, const std::vector<std::string>& args)
{
    records.finishActions.push_back(FinishAction{args[0], args[1], args[2], args[3], ScriptFlag(args[4])});
}

void PreselectSection(InstallationRecords& records, const std::vector<std::string>& args)
{
    for (SectionEntry& section : records.sections)
        if (section.name == args[0])
            section.selected = ScriptFlag(args[1]);
}

void SetBackgroundColors(DisplaySettings& display, const std::vector<std::string>& args)
{
    display.topColor = {ScriptNumber(args[0]), ScriptNumber(args[1]), ScriptNumber(args[2])};
    display.bottomColor = {ScriptNumber(args[3]), ScriptNumber(args[4]), ScriptNumber(args[5])};
}

void SetCaptionColors(DisplaySettings& display, const std::vector<std::string>& args)
{
    display.captionColor1 = ScriptColor(args[0], args[1], args[2]);
    display.captionColor2 = ScriptColor(args[3], args[4], args[5]);
}

void SetCaptionPositions(DisplaySettings& display, const std::vector<std::string>& args)
{
    display.caption1X = ScriptNumber(args[0]);
    display.caption1Y = ScriptNumber(args[1]);
    display.caption2X = ScriptNumber(args[2]);
    display.caption2Y = ScriptNumber(args[3]);
}

void ExpandDestinationPath(FileEntry& entry)
{
    if (entry.destinationExpanded)
        return;
    ExpandVariables(entry.destinationPath);
    entry.destinationExpanded = true;
}
