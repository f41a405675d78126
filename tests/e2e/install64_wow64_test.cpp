// A 64-bit product installed by the 32-bit setup.exe on 64-bit Windows (Wine's
// WoW64, a 64-bit prefix of its own) and removed by its Unskein.exe; without
// SetInstall64 the same script lands where every 32-bit product does.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

constexpr REGSAM k64BitView = KEY_WOW64_64KEY;
constexpr REGSAM k32BitView = KEY_WOW64_32KEY;

bool KeyInView(const std::string& path, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::optional<std::string> TextInView(const std::string& path, const char* name, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char value[MAX_PATH] = {};
    DWORD size = sizeof value - 1;
    const LONG read = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS ? std::optional<std::string>(value) : std::nullopt;
}

// The key AddRegistry made, which keeps its (empty) key; the call that
// takes a view is newer than the headers' Windows version.
void DeleteKeyInView(const std::string& path, REGSAM view)
{
    using DeleteKey = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    if (const auto deleteKey =
            reinterpret_cast<DeleteKey>(GetProcAddress(GetModuleHandleA("ADVAPI32.DLL"), "RegDeleteKeyExA")))
        deleteKey(HKEY_LOCAL_MACHINE, path.c_str(), view, 0);
}

std::string ProgramFilesInView(REGSAM view)
{
    return TextInView("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", view).value_or("");
}

// Installs a product with a private file, a system-folder library, a
// registry value and Unskein.exe, checks where each landed, then removes it.
void InstallAndRemove(bool install64)
{
    InstallCase test(install64 ? "Wide" : "Narrow");
    auto& [app, medium, root, leftovers] = test;
    const REGSAM view = install64 ? k64BitView : k32BitView;
    const std::string installDir = ProgramFilesInView(view) + "\\" + app + "\\";
    const std::string library = UniqueShortName("W6", "DLL");
    const std::string valueKey = "Software\\Tessel Test\\" + app;
    leftovers.Tree(installDir);
    medium.AddFile("readme.txt", "read me");
    medium.AddFile(library, "not a module");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + (install64 ? ScriptCall("SetInstall64", {"1"}) : "") +
                       ScriptCall("CreateSection", {"Program", "1", "0", ""}) +
                       AddFileCall(medium / "readme.txt", "[DP]\\", "Program") +
                       AddFileCall(UnskeinProgram(), "[DP]\\", "Program") +
                       AddFileCall(medium / library, "[SYSPATH]\\", "Program", true) +
                       ScriptCall("AddRegistry", {"HKLM", valueKey, "Folder", "SZ", "[DP]", "Program", "VALUE"}) +
                       ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium);
        ASSERT_EQ(setup.WaitForExit(), 0);
    }
    // This test is a 32-bit program: Sysnative is the 64-bit system folder, system32 the 32-bit one.
    const std::string system64 = WindowsDirectory() + "\\Sysnative\\" + library;
    const std::string system32 = SystemDirectory() + "\\" + library;
    const std::string entryKey = UninstallKey(app);
    EXPECT_TRUE(FileExists(installDir + "readme.txt")) << installDir;
    EXPECT_EQ(FileExists(system64), install64);
    EXPECT_EQ(FileExists(system32), !install64);
    EXPECT_TRUE(KeyInView(entryKey, view));
    EXPECT_FALSE(KeyInView(entryKey, view == k64BitView ? k32BitView : k64BitView));
    EXPECT_EQ(TextInView(valueKey, "Folder", view), installDir);
    EXPECT_TRUE(TextInView("Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                           (SystemDirectory() + "\\" + library).c_str(), view));

    RemoveWithUnskein(installDir + "Unskein.exe");
    EXPECT_FALSE(FileExists(installDir + "readme.txt"));
    EXPECT_FALSE(KeyInView(entryKey, view));
    EXPECT_FALSE(TextInView(valueKey, "Folder", view));
    DeleteKeyInView(valueKey, view);
    EXPECT_FALSE(TextInView("Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                            (SystemDirectory() + "\\" + library).c_str(), view));
    DeleteFileA((install64 ? system64 : system32).c_str());  // shared files stay
}

}  // namespace

TEST(Install64, ProductLandsInTheSixtyFourBitFoldersAndViewAndGoes)
{
    InstallAndRemove(true);
}

TEST(Install64, WithoutTheFlagEverythingLandsOnTheThirtyTwoBitSide)
{
    InstallAndRemove(false);
}
