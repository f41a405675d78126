#include "common/text/ini_file.h"

#include <algorithm>
#include <iterator>

#include "common/text/path_rules.h"

namespace {

const char kNewLineEnd[] = "\r\n";

// The part of a line that counts: up to a carriage return, then up to a
// semicolon (the rest is a comment).
std::string Content(const std::string& text)
{
    std::string content = text.substr(0, text.find('\r'));
    return content.substr(0, content.find(';'));
}

}  // namespace

bool IniNameLess::operator()(const std::string& a, const std::string& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
    });
}

const std::string* IniSection::Find(const std::string& key) const
{
    const auto found = keys_.find(key);
    return found == keys_.end() ? nullptr : &found->second->value;
}

void IniSection::Add(const std::string& key, const std::string& value)
{
    IniLine line;
    line.key = key;
    line.value = value;
    line.ending = kNewLineEnd;
    line.isNew = true;
    insertAfter_ = lines_->insert(std::next(insertAfter_), line);
    keys_[key] = insertAfter_;
}

void IniFile::Parse(const std::string& bytes)
{
    lines_.clear();
    sections_.clear();
    std::string currentSection;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t feed = bytes.find('\n', start);
        if (feed == std::string::npos) {
            AddLine(bytes.substr(start), "", currentSection);
            break;
        }
        AddLine(bytes.substr(start, feed - start), "\n", currentSection);
        start = feed + 1;
    }
}

// Sorts the line into the section view: a header when it has "[" before any
// "=", a key line when it has "=" and a section has begun; other lines
// (blank, comment, text without "=") are only kept.
void IniFile::AddLine(std::string text, std::string ending, std::string& currentSection)
{
    IniLine line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    const std::string content = Content(line.text);
    const std::size_t open = content.find('[');
    const std::size_t equals = content.find('=');
    if (open != std::string::npos && (equals == std::string::npos || open < equals)) {
        const std::size_t close = content.find(']', open);
        // A header without "]" names the rest of its line.
        currentSection = content.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
        lines_.push_back(line);
        IniSection& section = sections_[currentSection];
        if (!section.lines_ || section.keys_.empty())
            section.insertAfter_ = std::prev(lines_.end());
        section.lines_ = &lines_;
        return;
    }
    const bool isKeyLine = equals != std::string::npos && sections_.count(currentSection) != 0;
    if (isKeyLine) {
        line.key = content.substr(0, equals);
        line.value = content.substr(equals + 1);
    }
    lines_.push_back(line);
    if (isKeyLine) {
        IniSection& section = sections_[currentSection];
        section.insertAfter_ = std::prev(lines_.end());
        section.keys_[line.key] = section.insertAfter_;
    }
}

IniSection& IniFile::operator[](const std::string& name)
{
    auto found = sections_.find(name);
    if (found != sections_.end())
        return found->second;
    if (!lines_.empty() && lines_.back().ending.empty())
        lines_.back().ending = kNewLineEnd;
    IniLine header;
    header.text = "[" + name + "]";
    header.ending = kNewLineEnd;
    lines_.push_back(header);
    IniSection& section = sections_[name];
    section.lines_ = &lines_;
    section.insertAfter_ = std::prev(lines_.end());
    IniLine blank;
    blank.ending = kNewLineEnd;
    lines_.push_back(blank);
    return section;
}

std::string IniFile::Text() const
{
    std::string text;
    for (auto line = lines_.begin(); line != lines_.end(); ++line) {
        if (line->isNew)
            text += line->key + "=" + line->value + kNewLineEnd;
        else if (line->ending.empty() && std::next(line) != lines_.end())
            text += line->text + kNewLineEnd;
        else
            text += line->text + line->ending;
    }
    return text;
}
