#include "common/system_error.h"

std::string SystemErrorText(DWORD error)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    return text;
}

std::string SystemErrorSentence(DWORD error)
{
    std::string description = SystemErrorText(error);
    while (!description.empty() && (description.back() == '\r' || description.back() == '\n' ||
                                    description.back() == ' '))
        description.pop_back();
    return description.empty() ? "Error " + std::to_string(error) + "." : description;
}
