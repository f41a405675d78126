// Expansion of any text against any values ends within its bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/model/text/variables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The input is split at NUL bytes into: the text, then name/value pairs.
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string parts[7];
    size_t start = 0;
    for (int i = 0; i < 7 && start <= input.size(); ++i) {
        const size_t end = input.find('\0', start);
        parts[i] = input.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    VariableStore store;
    for (int i = 1; i + 1 < 7; i += 2)
        store.Set(parts[i], parts[i + 1]);
    std::string text = parts[0];
    const size_t before = text.size();
    ExpandVariables(store, text);
    if (text.size() > kMaxExpandedLength && text.size() != before)
        std::abort();
    return 0;
}
