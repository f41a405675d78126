// The Windows versions a product needs (RequireWindows): each family's
// lowest version, read from "major.minor", and the message that names them.
#pragma once

#include <optional>
#include <string>

enum class WindowsFamily { k9x, kNt };  // Windows 95, 98 and ME; NT, 2000, XP and later

struct WindowsVersion {
    int major = 0, minor = 0;
    bool operator<(const WindowsVersion& other) const
    {
        return major != other.major ? major < other.major : minor < other.minor;
    }
    // "0" (0.0): the product does not run on that family.
    bool Excludes() const { return major == 0 && minor == 0; }
};

// "4.10" is major 4, minor 10; "5" is 5.0. Nothing for any other text.
std::optional<WindowsVersion> ReadWindowsVersion(const std::string& text);

struct WindowsRequirement {
    WindowsVersion lowest9x, lowestNt;
};

// From RequireWindows' two arguments; an argument that reads as no version
// sets no limit for its family.
WindowsRequirement ReadWindowsRequirement(const std::string& windows9x, const std::string& windowsNt);

bool IsSupported(const WindowsRequirement& requirement, WindowsFamily family, WindowsVersion running);

// The message for a system the requirement excludes.
std::string UnsupportedWindowsText(const WindowsRequirement& requirement);
