// An INI file edited in place: Wininit.ini holds other programs' pending
// renames and deletions (often several lines with the key NUL), so editing
// one key must keep every other line, its text and its position.
#pragma once

#include <list>
#include <map>
#include <string>

struct IniLine {
    std::string text;        // as read, without its line feed
    std::string ending;      // "\n", or empty for a last line without one
    std::string key;         // of a key line in a section
    std::string value;       // may be changed through the section
    std::string readValue;   // the value as read: the line is rewritten only when they differ
    bool isNew = false;
};

class IniSection {
public:
    // The value of the key's last line in the section. A missing key gets a
    // new line after the section's last key line (or its header).
    std::string& operator[](const std::string& key);

private:
    friend class IniFile;
    using LineIterator = std::list<IniLine>::iterator;
    std::list<IniLine>* lines_ = nullptr;
    LineIterator insertAfter_;
    std::map<std::string, LineIterator> keys_;
};

class IniFile {
public:
    IniFile() = default;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Reads the file's bytes; the caller reads and writes the file itself.
    void Parse(const std::string& bytes);
    // The bytes to write back.
    std::string Text() const;

    // The section of that name (exact, case-sensitive). A missing one is
    // added at the end of the file as its header followed by an empty line.
    IniSection& operator[](const std::string& name);

private:
    void AddLine(std::string text, std::string ending, std::string& currentSection);
    std::list<IniLine> lines_;
    std::map<std::string, IniSection> sections_;
};
