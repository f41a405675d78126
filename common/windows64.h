// 64-bit Windows as a 32-bit program meets it: the system redirects its
// system folder to SysWOW64 and its registry keys below Software to
// Wow6432Node. Each call that Windows 95 lacks is looked up at run time.
#pragma once

#include <windows.h>

// Whether this 32-bit program runs on 64-bit Windows: no on 9x and on
// 32-bit Windows, which lack the question or answer it so.
bool IsWindows64();

// The access bit that opens a key in the 64-bit registry view; ignored by
// 32-bit Windows, and only passed on 64-bit Windows.
inline constexpr REGSAM kRegistry64View = 0x0100;  // KEY_WOW64_64KEY

// The access bits for keys of an installation: `use64` adds the 64-bit view.
inline REGSAM RegistryAccess(REGSAM access, bool use64)
{
    return use64 ? access | kRegistry64View : access;
}

// Whether this run's installation uses the 64-bit registry view and system
// folder: setup decides it when the installation starts, Unskein reads it
// from the log. Every key of the installation is opened in its view.
void SetInstallation64(bool use64);
bool IsInstallation64();

// While it lives, this thread's file calls see the 64-bit system folder
// (when `use64` and the system allows it); the redirection returns after.
class FileRedirectionOff {
public:
    explicit FileRedirectionOff(bool use64);
    ~FileRedirectionOff();
    FileRedirectionOff(const FileRedirectionOff&) = delete;
    FileRedirectionOff& operator=(const FileRedirectionOff&) = delete;

private:
    void* old_ = nullptr;
    bool off_ = false;
};
