// The uninstall log that the setup program leaves for the uninstaller: its
// byte layout and the writer's operations.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/text/log_records.h"
#include "common/text/uninstall_log_reader.h"

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
    // Writes `bytes` at `offset` from the start; the file only grows.
    virtual void WriteAt(uint64_t offset, std::string_view bytes) = 0;
    // Makes what was written survive a power loss.
    virtual void Flush() = 0;
};

// The log of an earlier installation into the same folder, whose records the
// new log carries forward ahead of its own.
struct EarlierLog {
    UninstallLog log;
    // Whether it is this product's (it names the same uninstall key): none
    // of its records is then written again. Of another product's log only
    // the shared files are, since each record of one is one count.
    bool sameProduct = false;
    // Whether it is this product's log whose uninstall entry is gone:
    // Unskein removed the product and left the log beside itself. The new
    // installation is then a fresh one: the shared files' counts went with
    // the entry, so their records are not carried and the files are counted
    // again; the files it lists are the product's own to overwrite.
    bool removed = false;
};

// The earlier log's bytes as the installation of `keyPath` carries them
// forward; `entryExists` tells whether the uninstall entry at `keyPath` is
// there.
EarlierLog ReadEarlierLog(std::string_view bytes, const std::string& keyPath, bool entryExists = true);

// Every line ends with CR LF whatever the platform; writes while the log is
// not open are dropped. Once the registry section is written, every later
// record goes in before it, so the file is a whole log at every moment: a
// setup that ends abruptly leaves a log that names its entry.
class UninstallLogWriter {
public:
    // Takes the newly created (empty) file and writes the header, "[FILES]"
    // and the earlier log's records, in one piece.
    void Open(std::unique_ptr<LogOutput> output, const LogDate& date, const EarlierLog& earlier = {});
    bool IsOpen() const { return output_ != nullptr; }
    // Flushes the file and lets it go.
    void Close();
    void Flush();

    // Each returns false when the log holds the record already (from this
    // run, or from this product's earlier log) and writes nothing then.
    bool WriteDirectory(const std::string& path);
    bool WritePrivateFile(const std::string& shortPath);  // also a shortcut's ".lnk" path
    bool WriteSharedFile(const std::string& path);
    bool HoldsSharedFile(const std::string& path) const;
    // Whether this product's earlier log (of an installation that is there,
    // or that Unskein removed) lists the file, private or shared, by the
    // path it logs (case ignored).
    bool EarlierLogListsOwnFile(const std::string& path) const;
    bool EarlierInstallationRemoved() const { return earlierRemoved_; }
    // A record of one of the newer kinds, its fields encoded into one line;
    // the caller has held its length to kMaxLogLine.
    bool WriteEntry(LogKind kind, const std::vector<std::string>& fields);
    // The line after a shared file's record; a file that does not load as a
    // module gets none. Dropped with its record when that was held already.
    void WriteRegistration(Registration registration);
    // "[REGISTRY]", the keys an earlier log of another product named, and
    // `keyPath`.
    void WriteRegistrySection(const std::string& keyPath);

private:
    bool WriteRecord(const std::string& path, const char* kind);
    void WriteLines(std::initializer_list<std::string_view> lines);
    static std::string Key(const std::string& path, const std::string& kind) { return kind + '\n' + path; }

    std::unique_ptr<LogOutput> output_;
    uint64_t recordsEnd_ = 0;  // where the next record goes
    std::string tail_;         // the registry section, once written
    std::vector<std::string> carriedKeys_;
    std::set<std::string> held_;  // records that are not written again
    std::set<std::string> earlierFiles_;  // this product's earlier log's files, lower-cased
    bool earlierRemoved_ = false;
    bool lastRecordDropped_ = false;
};
