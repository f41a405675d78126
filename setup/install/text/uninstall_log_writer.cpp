#include "setup/install/text/uninstall_log_writer.h"

#include <algorithm>
#include <utility>

#include "common/text/path_rules.h"

namespace {

const char kLineEnd[] = "\r\n";

std::string LinesText(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

std::string LowerCased(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return LowerAscii(c); });
    return text;
}

}  // namespace

EarlierLog ReadEarlierLog(std::string_view bytes, const std::string& keyPath, bool entryExists)
{
    EarlierLog earlier{ReadUninstallLog(bytes), false, false};
    bool ours = false;
    for (const std::string& key : earlier.log.registryKeys)
        ours = ours || SameIgnoringAsciiCase(key, keyPath);
    earlier.sameProduct = ours && entryExists;
    earlier.removed = ours && !entryExists;
    return earlier;
}

void UninstallLogWriter::Open(std::unique_ptr<LogOutput> output, const LogDate& date, const EarlierLog& earlier)
{
    output_ = std::move(output);
    recordsEnd_ = 0;
    tail_.clear();
    held_.clear();
    earlierFiles_.clear();
    earlierRemoved_ = earlier.removed;
    lastRecordDropped_ = false;
    const std::string dateLine =
        "DATE:" + std::to_string(date.month) + "/" + std::to_string(date.day) + "/" + std::to_string(date.year);
    std::string text = LinesText({"ZYNTRAK V1",
                                  "",
                                  "TESSEL UNINSTALLATION LOG FILE",
                                  "",
                                  "MAKE NO CHANGES TO THIS FILE, ITS FORMAT IS EXACTLY DEFINED!",
                                  "NO REAL PARSER DOES EXIST, SO DON\xB4" "T MODIFY ANYTHING!",
                                  "ANY ERRORS COULD CAUSE CATASTROPHAL (!) DAMAGE TO YOUR SYSTEM, YOU",
                                  "COULD BE UNABLE TO RESTART WINDOWS",
                                  "",
                                  dateLine,
                                  "[FILES]"});
    const bool ours = earlier.sameProduct || earlier.removed;
    for (const LogRecord& record : earlier.log.records) {
        const std::string key = Key(record.path, record.kind);
        if (ours && (record.kind == "NONSHARED" || record.kind == "SHARED"))
            earlierFiles_.insert(LowerCased(record.path));
        if (ours && held_.count(key) != 0)
            continue;
        if (earlier.removed && record.kind == "SHARED")
            continue;
        // Another product's records all stay, and its shared files are this
        // product's to count and record again: each record is one count.
        if (ours || record.kind != "SHARED")
            held_.insert(key);
        text += LinesText({record.path, record.kind});
        if (!record.registration.empty())
            text += LinesText({record.registration});
    }
    carriedKeys_ = earlier.log.registryKeys;
    output_->WriteAt(0, text);
    recordsEnd_ = text.size();
}

void UninstallLogWriter::Close()
{
    Flush();
    output_.reset();
}

void UninstallLogWriter::Flush()
{
    if (IsOpen())
        output_->Flush();
}

bool UninstallLogWriter::WriteDirectory(const std::string& path)
{
    return WriteRecord(path, "DIR");
}

bool UninstallLogWriter::WritePrivateFile(const std::string& shortPath)
{
    return WriteRecord(shortPath, "NONSHARED");
}

bool UninstallLogWriter::WriteSharedFile(const std::string& path)
{
    return WriteRecord(path, "SHARED");
}

bool UninstallLogWriter::HoldsSharedFile(const std::string& path) const
{
    return held_.count(Key(path, "SHARED")) != 0;
}

bool UninstallLogWriter::WriteEntry(LogKind kind, const std::vector<std::string>& fields)
{
    return WriteRecord(EncodeLogFields(fields), InfoOf(kind).word);
}

bool UninstallLogWriter::EarlierLogListsOwnFile(const std::string& path) const
{
    return earlierFiles_.count(LowerCased(path)) != 0;
}

void UninstallLogWriter::WriteRegistration(Registration registration)
{
    if (!lastRecordDropped_)
        WriteLines({registration == Registration::kRegistered ? "AUTOREGSVR" : "NOAUTOREGSVR"});
}

void UninstallLogWriter::WriteRegistrySection(const std::string& keyPath)
{
    if (!IsOpen())
        return;
    tail_ = LinesText({"[REGISTRY]"});
    for (const std::string& key : carriedKeys_)
        if (!SameIgnoringAsciiCase(key, keyPath))
            tail_ += LinesText({key});
    tail_ += LinesText({keyPath});
    output_->WriteAt(recordsEnd_, tail_);
}

bool UninstallLogWriter::WriteRecord(const std::string& path, const char* kind)
{
    lastRecordDropped_ = IsOpen() && !held_.insert(Key(path, kind)).second;
    if (lastRecordDropped_)
        return false;
    WriteLines({path, kind});
    return true;
}

void UninstallLogWriter::WriteLines(std::initializer_list<std::string_view> lines)
{
    if (!IsOpen())
        return;
    const std::string text = LinesText(lines);
    output_->WriteAt(recordsEnd_, text + tail_);
    recordsEnd_ += text.size();
}
