#include <windows.h>

#include <fstream>
#include <iterator>

#include "setup/script/startup.h"
#include "setup/script/text/script_store.h"

namespace {
bool IsSystemLetterOrDigit(unsigned char c)
{
    return IsCharAlphaNumericA(static_cast<CHAR>(c)) != FALSE;
}
}

int LoadScript(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        MessageBoxA(nullptr, "Could not open 'SetupScript.INI' in setup directory. Setup cannot be continued.",
                    "Fatal error", MB_ICONERROR);
        return -1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    gScript.Tokenize(ToScriptText(bytes), IsSystemLetterOrDigit);
    return 0;
}
