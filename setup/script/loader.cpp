#include <windows.h>

#include "common/whole_file.h"
#include "setup/model/letters.h"
#include "setup/script/startup.h"
#include "setup/model/text/script_store.h"

int LoadScript(const std::string& path)
{
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        MessageBoxA(nullptr, "Could not open 'SetupScript.INI' in setup directory. Setup cannot be continued.",
                    "Fatal error", MB_ICONERROR);
        return -1;
    }
    gScript.Tokenize(ToScriptText(*bytes), IsCommandLetterOrDigit);
    return 0;
}
