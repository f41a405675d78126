// Any Wininit.ini comes back byte for byte when nothing is changed, and
// after our key line is added the file reads back with that value and is
// stable.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/text/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    IniFile file;
    file.Parse(bytes);
    if (file.Text() != bytes)
        __builtin_trap();
    file["rename"].Add("C:\\WINDOWS\\SYSTEM\\MYLIBR~1.DLL", "C:\\WINDOWS\\TEMP\\MYLIBR~1.tmp");
    const std::string edited = file.Text();
    IniFile reread;
    reread.Parse(edited);
    const std::string* value = reread["rename"].Find("C:\\WINDOWS\\SYSTEM\\MYLIBR~1.DLL");
    if (reread.Text() != edited || !value || *value != "C:\\WINDOWS\\TEMP\\MYLIBR~1.tmp")
        __builtin_trap();
    return 0;
}
