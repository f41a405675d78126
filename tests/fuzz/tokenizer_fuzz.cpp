// Any bytes load: the tokeniser never fails, loops or reads out of bounds, and
// every entry it makes has a name of letters and digits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/model/text/script_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptStore store;
    store.Tokenize(ToScriptText(std::string(reinterpret_cast<const char*>(data), size)));
    for (const ScriptEntry& entry : store.Entries()) {
        if (entry.name.empty())
            std::abort();
        for (unsigned char c : entry.name)
            if (!IsAsciiLetterOrDigit(c))
                std::abort();
    }
    return 0;
}
