#include "setup/script/text/variables.h"

VariableStore gVariables;

void ExpandVariables(VariableStore& store, std::string& text)
{
    if (store.Count() == 0)
        return;
    for (int replacements = 0; replacements < kMaxReplacements; ++replacements) {
        const std::size_t open = text.find('[');
        if (open == std::string::npos)
            return;
        const std::size_t close = text.find(']', open);
        if (close == std::string::npos)
            return;
        const std::string& value = store.Get(text.substr(open + 1, close - open - 1));
        const std::size_t newLength = text.size() - (close - open + 1) + value.size();
        if (newLength > kMaxExpandedLength)
            return;
        text.replace(open, close - open + 1, value);
    }
}
