#include "common/text/uninstall_log_reader.h"

#include <utility>

namespace {

const char kFilesLine[] = "[FILES]";
const char kRegistryLine[] = "[REGISTRY]";

// Setup writes one of these after a SHARED kind line when the file loaded as a module.
bool IsRegistrationLine(const std::string& line)
{
    return line == "AUTOREGSVR" || line == "NOAUTOREGSVR";
}

// Takes the next line off `rest`; false at the end of the bytes.
bool NextLine(std::string_view& rest, std::string& line)
{
    if (rest.empty())
        return false;
    const size_t feed = rest.find('\n');
    std::string_view text = rest.substr(0, feed);
    rest.remove_prefix(feed == std::string_view::npos ? rest.size() : feed + 1);
    if (feed != std::string_view::npos && !text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    line.assign(text);
    return true;
}

}  // namespace

UninstallLog ReadUninstallLog(std::string_view bytes)
{
    UninstallLog log;
    std::string line;
    bool filesSection = false;
    while (!filesSection && NextLine(bytes, line))
        filesSection = line == kFilesLine;
    if (!filesSection)
        return log;

    std::vector<std::string> lines;
    while (NextLine(bytes, line)) {
        if (line == kRegistryLine) {
            log.hasRegistrySection = true;
            break;
        }
        lines.push_back(std::move(line));
    }
    for (size_t next = 0; next < lines.size();) {
        LogRecord record{std::move(lines[next]), next + 1 < lines.size() ? std::move(lines[next + 1]) : "", ""};
        next += 2;
        if (record.kind == "SHARED" && next < lines.size() && IsRegistrationLine(lines[next]))
            record.registration = std::move(lines[next++]);
        log.records.push_back(std::move(record));
    }

    if (log.hasRegistrySection) {
        while (NextLine(bytes, line))
            if (!line.empty())
                log.registryKeys.push_back(line);
    }
    return log;
}
