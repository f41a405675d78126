// Private and shared files installed by setup.exe, with the questions a
// person answers on the way and the records the log keeps of them.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

bool IsDefaultButton(HWND dialog, int id)
{
    return (Style(GetDlgItem(dialog, id)) & 0x0F) == BS_DEFPUSHBUTTON;
}

// A script that installs the given AddFile lines in one mandatory section
// into `installDir`, with the group folder beside it.
std::string InstallScript(const std::string& app, const std::string& installDir, const std::string& addFiles)
{
    return ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir + "\\"}) +
           ScriptCall("SetVariable", {"PROGRAMGROUP", installDir + "\\Group"}) +
           ScriptCall("CreateSection", {"Main", "1", "0", ""}) + addFiles + ScriptCall("ShowCopy");
}

}  // namespace

TEST(FileInstall, PrivateFilesNewExistingNewerAndWriteProtected)
{
    InstallCase test("Private");
    auto& [app, medium, dir, leftovers] = test;
    medium.AddFile("new.txt", "new content");
    CopyFixture("register_fails.dll", medium / "LIBRARY.DLL");  // version 1.0
    WriteFile(dir / "Yes.txt", "old yes");
    WriteFile(dir / "No.txt", "old no");
    CopyFixture("german_205.dll", dir / "LIBRARY.DLL");  // version 2.0, newer
    WriteFile(dir / "Locked.txt", "old locked");
    ASSERT_TRUE(SetFileAttributesA((dir / "Locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string source = medium / "new.txt";
    medium.WriteScript(InstallScript(app, dir.path(),
                                     AddFileCall(source, "[DP]\\A Long File Name.txt", "Main") +
                                         AddFileCall(source, "[DP]\\Yes.txt", "Main") +
                                         AddFileCall(source, "[DP]\\No.txt", "Main") +
                                         AddFileCall(medium / "LIBRARY.DLL", "[DP]\\LIBRARY.DLL", "Main") +
                                         AddFileCall(source, "[DP]\\Locked.txt", "Main")));
    SetupRun setup(medium);

    HWND question = NextDialogWith(setup, IDC_OVERWRITE_NO, nullptr);
    ASSERT_TRUE(question);
    EXPECT_EQ(WindowText(question), "Overwrite file");
    EXPECT_EQ(WindowText(GetDlgItem(question, IDC_OVERWRITE_TARGET)), dir / "Yes.txt");
    setup.Press(question, IDC_OVERWRITE_YES);
    question = NextDialogWith(setup, IDC_OVERWRITE_NO, question);
    ASSERT_TRUE(question);
    EXPECT_EQ(WindowText(GetDlgItem(question, IDC_OVERWRITE_TARGET)), dir / "No.txt");
    setup.Press(question, IDC_OVERWRITE_NO);
    question = NextDialogWith(setup, IDC_OVERWRITE_NO, question);
    ASSERT_TRUE(question);
    EXPECT_EQ(WindowText(GetDlgItem(question, IDC_OVERWRITE_TARGET)), dir / "LIBRARY.DLL");
    setup.Press(question, IDC_OVERWRITE_ALL);
    // Not asked again: the write protection is the only question left.
    setup.ExpectMessageBox("new.txt", shown::kWriteProtected, IDYES);
    EXPECT_EQ(setup.WaitForExit(), 0);

    EXPECT_EQ(ReadFile(dir / "A Long File Name.txt"), "new content");
    EXPECT_EQ(ReadFile(dir / "Yes.txt"), "new content");
    EXPECT_EQ(ReadFile(dir / "No.txt"), "old no");
    EXPECT_EQ(ReadFile(dir / "LIBRARY.DLL"), ReadFile(FixturePath("register_fails.dll")));
    EXPECT_EQ(ReadFile(dir / "Locked.txt"), "new content");
    const std::string shortLongName = ShortPathOf(dir / "A Long File Name.txt");
    EXPECT_NE(shortLongName.find('~'), std::string::npos) << shortLongName;
    EXPECT_EQ(ReadFile(dir / "Uninstall.log"),
              ExpectedLog({dir / "Group", "DIR",
                           shortLongName, "NONSHARED",
                           ShortPathOf(dir / "Yes.txt"), "NONSHARED",
                           ShortPathOf(dir / "LIBRARY.DLL"), "NONSHARED",
                           ShortPathOf(dir / "Locked.txt"), "NONSHARED"},
                          app));
}

TEST(FileInstall, SharedFilesRegistrationOlderVersionsAndFilesInUse)
{
    InstallCase test("Shared");
    auto& [app, medium, dir, leftovers] = test;
    const std::string system = SystemDirectory();
    std::string addFiles;
    // Each shared file gets a name of this test in the system directory.
    auto shared = [&](const std::string& prefix, const std::string& fixture, const std::string& extension) {
        const std::string name = UniqueShortName(prefix, extension);
        leftovers.File(system + "\\" + name);
        CopyFixture(fixture, medium / name);
        addFiles += AddFileCall(medium / name, "[DP]\\Ignored\\" + name, "Main", true);
        return name;
    };
    const std::string registers = shared("TR", "register_ok.dll", "DLL");
    const std::string noExport = shared("TN", "english_201.dll", "DLL");
    const std::string text = shared("TT", "readme.txt", "TXT");
    const std::string fails = shared("TF", "register_fails.dll", "DLL");
    const std::string older = shared("TO", "register_ok.dll", "DLL");  // 1.2 over 2.0
    CopyFixture("german_205.dll", system + "\\" + older);
    const std::string inUse = shared("TU", "german_205.dll", "DLL");  // 2.0 over 1.0 held open
    CopyFixture("register_fails.dll", system + "\\" + inUse);
    medium.WriteScript(InstallScript(app, dir.path(), addFiles));

    HANDLE holder = CreateFileA((system + "\\" + inUse).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        SetupRun setup(medium);
        const MessageBoxSeen failure = setup.NextMessageBox();
        EXPECT_EQ(failure.caption, "Server registration");
        EXPECT_EQ(failure.text, "Registration of " + system + "\\" + fails + " failed, setup will continue.");
        EXPECT_EQ(GetWindow(failure.window, GW_OWNER), setup.WaitForDialogWith(IDC_COPY_SECTION_BAR, 0))
            << "owned by the copy page";
        setup.Press(failure.window, IDOK);

        setup.ExpectMessageBox(older, shown::kTempFile, IDOK);
        const MessageBoxSeen mismatch = setup.NextMessageBox();
        EXPECT_EQ(mismatch.caption, older);
        EXPECT_EQ(mismatch.text, shown::kMismatch);
        EXPECT_TRUE(IsDefaultButton(mismatch.window, IDNO)) << "No is the default";
        setup.Press(mismatch.window, IDNO);

        // The file in use is left for the next restart.
        setup.ExpectMessageBox(inUse, shown::kSharingViolation, IDOK);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    CloseHandle(holder);

    EXPECT_EQ(ReadFile(dir / "Uninstall.log"),
              ExpectedLog({dir / "Group", "DIR",
                           system + "\\" + registers, "SHARED", "AUTOREGSVR",
                           system + "\\" + noExport, "SHARED", "NOAUTOREGSVR",
                           system + "\\" + text, "SHARED",
                           system + "\\" + fails, "SHARED", "AUTOREGSVR"},
                          app));
    EXPECT_FALSE(FileExists(dir / "Ignored\\" + registers)) << "Windows chose the system directory";
    EXPECT_EQ(ReadFile(system + "\\" + older), ReadFile(FixturePath("german_205.dll")));
    EXPECT_EQ(ReadFile(system + "\\" + inUse), ReadFile(FixturePath("register_fails.dll")));
    const std::string deferredCopy = PendingRenameSource(system + "\\" + inUse);
    leftovers.File(deferredCopy);
    EXPECT_EQ(ReadFile(deferredCopy), ReadFile(FixturePath("german_205.dll")));
    ForgetPendingRename(deferredCopy);
}
