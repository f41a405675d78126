// An INI file edited in place: Wininit.ini holds other programs' pending
// renames and deletions (often several lines with the key NUL), so adding a
// line must keep every other line, its text and its position. Section names
// and keys compare as Windows compares them: without regard to case.
#pragma once

#include <list>
#include <map>
#include <string>

struct IniLine {
    std::string text;        // as read, without its line feed
    std::string ending;      // "\n", or empty for a last line without one
    std::string key;         // of a key line in a section
    std::string value;
    bool isNew = false;      // added: written as key=value
};

// Orders names as Windows matches them in an INI file: ASCII letters
// without regard to case.
struct IniNameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

class IniSection {
public:
    // The value of the key's last line in the section; null when it has none.
    const std::string* Find(const std::string& key) const;
    // A new line after the section's last key line (or its header), also
    // when the key has lines already: Windows 95, 98 and ME carry out every
    // line of the section "rename" in order.
    void Add(const std::string& key, const std::string& value);

private:
    friend class IniFile;
    using LineIterator = std::list<IniLine>::iterator;
    std::list<IniLine>* lines_ = nullptr;
    LineIterator insertAfter_;
    std::map<std::string, LineIterator, IniNameLess> keys_;
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

    // The section of that name. A missing one is added at the end of the
    // file as its header followed by an empty line.
    IniSection& operator[](const std::string& name);

private:
    void AddLine(std::string text, std::string ending, std::string& currentSection);
    std::list<IniLine> lines_;
    std::map<std::string, IniSection, IniNameLess> sections_;
};
