// Letters and digits as setup tells them apart in command names: the
// system's test, which knows the letters of the ANSI code page. The script
// checker shares it; built for Linux, it has ASCII's.
#pragma once

#ifdef _WIN32
#include <windows.h>

inline bool IsCommandLetterOrDigit(unsigned char c)
{
    return IsCharAlphaNumericA(static_cast<CHAR>(c)) != FALSE;
}
#else
#include "setup/model/text/script_store.h"

inline bool IsCommandLetterOrDigit(unsigned char c)
{
    return IsAsciiLetterOrDigit(c);
}
#endif
