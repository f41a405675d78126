#include "setup/install/text/uninstall_log_writer.h"

#include <utility>

namespace {

const char kLineEnd[] = "\r\n";

}  // namespace

void UninstallLogWriter::Open(std::unique_ptr<LogOutput> output, const LogDate& date)
{
    output_ = std::move(output);
    const std::string dateLine =
        "DATE:" + std::to_string(date.month) + "/" + std::to_string(date.day) + "/" + std::to_string(date.year);
    WriteLines({"ZYNTRAK V1",
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
}

void UninstallLogWriter::WriteDirectory(const std::string& path)
{
    WriteLines({path, "DIR"});
}

void UninstallLogWriter::WritePrivateFile(const std::string& shortPath)
{
    WriteLines({shortPath, "NONSHARED"});
}

void UninstallLogWriter::WriteSharedFile(const std::string& path)
{
    WriteLines({path, "SHARED"});
}

void UninstallLogWriter::WriteRegistration(Registration registration)
{
    WriteLines({registration == Registration::kRegistered ? "AUTOREGSVR" : "NOAUTOREGSVR"});
}

void UninstallLogWriter::StartRegistrySection()
{
    WriteLines({"[REGISTRY]"});
}

void UninstallLogWriter::WriteRegistryKey(const std::string& keyPath)
{
    WriteLines({keyPath});
}

void UninstallLogWriter::WriteLines(std::initializer_list<std::string_view> lines)
{
    if (!IsOpen())
        return;
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += kLineEnd;
    }
    output_->Append(text);
}
