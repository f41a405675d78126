// The variable store and [NAME] expansion.
#pragma once

#include <cstddef>
#include <map>
#include <string>

class VariableStore {
public:
    // Reading a variable that does not exist creates it, empty.
    const std::string& Get(const std::string& name) { return values_[name]; }
    void Set(const std::string& name, const std::string& value) { values_[name] = value; }
    std::size_t Count() const { return values_.size(); }
    void Clear() { values_.clear(); }

private:
    std::map<std::string, std::string> values_;
};

extern VariableStore gVariables;

// Bounds of one expansion, so that values referring to themselves end.
constexpr int kMaxReplacements = 4096;
constexpr std::size_t kMaxExpandedLength = 64 * 1024;

// Replaces [NAME] references in place, leftmost first and again from the
// start after each replacement, so values holding references expand too.
void ExpandVariables(VariableStore& store, std::string& text);
inline void ExpandVariables(std::string& text) { ExpandVariables(gVariables, text); }
