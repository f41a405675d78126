// The variable store and [NAME] expansion.
#pragma once

#include <cstddef>
#include <map>
#include <string>

class VariableStore {
public:
    // Reading a variable that does not exist creates it, empty.
    const std::string& Get(const std::string& name) { return values_[name].text; }
    void Set(const std::string& name, const std::string& value) { values_[name] = {value, false}; }
    // A value from outside the script: a folder of the system or of the
    // medium, a path the user typed or chose. Expansion takes it literally.
    void SetOutside(const std::string& name, const std::string& value) { values_[name] = {value, true}; }
    // Whether expansion inserts the value without reading it again: values
    // from outside, and values that still hold a "[...]" pair, which the
    // script's own expansion never leaves behind, so only text from outside
    // can have brought it.
    bool IsLiteral(const std::string& name);
    std::size_t Count() const { return values_.size(); }
    void Clear() { values_.clear(); }

private:
    struct Value {
        std::string text;
        bool outside = false;
    };
    std::map<std::string, Value> values_;
};

extern VariableStore gVariables;

// Bounds of one expansion, so that values referring to themselves end.
constexpr int kMaxReplacements = 4096;
constexpr std::size_t kMaxExpandedLength = 64 * 1024;

// Replaces [NAME] references in place, leftmost first and again from the
// start after each replacement, so values holding references expand too.
// Literal values are inserted as they are and never read again.
void ExpandVariables(VariableStore& store, std::string& text);
inline void ExpandVariables(std::string& text) { ExpandVariables(gVariables, text); }
