// The uninstall log that the setup program leaves for the uninstaller: its
// byte layout and the writer's operations.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

struct LogDate {
    int month;
    int day;
    int year;
};

// What became of offering an installed shared file its self-registration.
enum class Registration {
    kRegistered,      // it exports DllRegisterServer, which was called
    kNotRegistrable,  // it loaded but exports none
};

// Where the log's bytes go: the setup program's file. Each call must reach
// the file at once, so that the records made so far survive a setup that
// ends abruptly.
class LogOutput {
public:
    virtual ~LogOutput() = default;
    virtual void Append(std::string_view bytes) = 0;
};

// Every line ends with CR LF whatever the platform; writes while the log is
// not open are dropped.
class UninstallLogWriter {
public:
    // Takes the newly created (empty) file and writes the header and "[FILES]".
    void Open(std::unique_ptr<LogOutput> output, const LogDate& date);
    bool IsOpen() const { return output_ != nullptr; }
    void Close() { output_.reset(); }

    void WriteDirectory(const std::string& path);
    void WritePrivateFile(const std::string& shortPath);  // also a shortcut's ".lnk" path
    void WriteSharedFile(const std::string& path);
    // The line after a shared file's record; a file that does not load as a
    // module gets none.
    void WriteRegistration(Registration registration);
    void StartRegistrySection();
    void WriteRegistryKey(const std::string& keyPath);

private:
    void WriteLines(std::initializer_list<std::string_view> lines);
    std::unique_ptr<LogOutput> output_;
};
