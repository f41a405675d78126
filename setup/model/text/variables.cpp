#include "setup/model/text/variables.h"

VariableStore gVariables;

bool VariableStore::IsLiteral(const std::string& name)
{
    const Value& value = values_[name];
    const std::size_t open = value.text.find('[');
    return value.outside || (open != std::string::npos && value.text.find(']', open) != std::string::npos);
}

void ExpandVariables(VariableStore& store, std::string& text)
{
    if (store.Count() == 0)
        return;
    // Before `scan` stand only literal values already inserted.
    std::size_t scan = 0;
    for (int replacements = 0; replacements < kMaxReplacements; ++replacements) {
        const std::size_t open = text.find('[', scan);
        if (open == std::string::npos)
            return;
        const std::size_t close = text.find(']', open);
        if (close == std::string::npos)
            return;
        const std::string name = text.substr(open + 1, close - open - 1);
        const std::string& value = store.Get(name);
        const std::size_t newLength = text.size() - (close - open + 1) + value.size();
        if (newLength > kMaxExpandedLength)
            return;
        text.replace(open, close - open + 1, value);
        if (store.IsLiteral(name))
            scan = open + value.size();
    }
}
