#include "common/text/log_records.h"

namespace {

bool NeedsEscape(unsigned char c)
{
    return c < 0x20 || c == '%' || c == '|' || c == 0x7F;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;  // lower case is never written, so never read
}

}  // namespace

const std::vector<LogKindInfo>& LogKindTable()
{
    static const std::vector<LogKindInfo> table = {
        {LogKind::kRegistryValue, "REGVALUE", kRegistryFieldCount},
        {LogKind::kIniValue, "INIVALUE", kIniFieldCount},
        {LogKind::kLibrary, "REGLIBRARY", 1},
        {LogKind::kLink, "LINK", 2},
        {LogKind::kDeleteOnUninstall, "DELETEFILES", 3},
        {LogKind::kCleanUninstall, "CLEANUNINSTALL", 1},
        {LogKind::kInstall64, "INSTALL64", 1},
    };
    return table;
}

const LogKindInfo& InfoOf(LogKind kind)
{
    for (const LogKindInfo& info : LogKindTable())
        if (info.kind == kind)
            return info;
    return LogKindTable().front();  // every kind has its row
}

std::optional<LogKind> LogKindOf(const std::string& word)
{
    for (const LogKindInfo& info : LogKindTable())
        if (word == info.word)
            return info.kind;
    return std::nullopt;
}

std::string EncodeLogFields(const std::vector<std::string>& fields)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += '|';
        for (const char c : fields[i]) {
            const auto byte = static_cast<unsigned char>(c);
            if (NeedsEscape(byte)) {
                line += '%';
                line += kHex[byte >> 4];
                line += kHex[byte & 0x0F];
            } else {
                line += c;
            }
        }
    }
    return line;
}

bool FitsLogLine(const std::vector<std::string>& fields)
{
    return EncodeLogFields(fields).size() <= kMaxLogLine;
}

std::optional<std::vector<std::string>> DecodeLogFields(const std::string& what, std::size_t expected)
{
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < what.size(); ++i) {
        const auto byte = static_cast<unsigned char>(what[i]);
        if (what[i] == '|') {
            fields.emplace_back();
        } else if (what[i] == '%') {
            const int high = i + 2 < what.size() ? HexValue(what[i + 1]) : -1;
            const int low = high >= 0 ? HexValue(what[i + 2]) : -1;
            // An escape of a byte that needs none is never written either.
            if (low < 0 || !NeedsEscape(static_cast<unsigned char>(high * 16 + low)))
                return std::nullopt;
            fields.back() += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (NeedsEscape(byte)) {
            return std::nullopt;
        } else {
            fields.back() += what[i];
        }
    }
    if (fields.size() != expected)
        return std::nullopt;
    return fields;
}
