#include "uninstall/text/logged_links.h"

#include <optional>

#include "common/text/log_records.h"

std::vector<LoggedLink> LoggedLinks(const UninstallLog& log)
{
    const LogKindInfo& link = InfoOf(LogKind::kLink);
    std::vector<LoggedLink> links;
    for (const LogRecord& record : log.records) {
        if (record.kind != link.word)
            continue;
        if (const std::optional<std::vector<std::string>> fields = DecodeLogFields(record.path, link.fields))
            links.push_back({(*fields)[0], (*fields)[1]});
    }
    return links;
}
