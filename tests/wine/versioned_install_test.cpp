// Installing files through the real version-installation functions: private
// files at their path, shared files where the system places them (the
// system directory), and the uninstall log records they leave.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/system_folder.h"
#include "setup/install/install_state.h"
#include "setup/install/uninstall_log.h"
#include "setup/install/versioned_install.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"
#include "common/installed_library.h"
#include "setup/system/system_libraries.h"
#include "tests/support/install_support.h"
#include "tests/support/support.h"

using namespace testing_support;
using namespace testing_support::shown;

namespace {

void SetLastWriteTime(const std::string& path, const SYSTEMTIME& time)
{
    FILETIME fileTime;
    SystemTimeToFileTime(&time, &fileTime);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &fileTime);
    CloseHandle(file);
}

class VersionedInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineState();
        gVariables.Set("DP", application.path() + "\\");
        char tag[8];
        std::snprintf(tag, sizeof tag, "%04lX", GetCurrentProcessId() & 0xFFFF);
        sharedPrefix = std::string("TS") + tag;
        ASSERT_TRUE(OpenUninstallLog(logDirectory / "Uninstall.log", "Key"));
        SetEnvironmentVariableA("TESSEL_REGISTERED", nullptr);
    }
    void TearDown() override
    {
        gInstall.log.Close();
        for (const std::string& path : systemFiles) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
        EXPECT_TRUE(prompter.AllAnswersUsed());
    }

    std::size_t AddEntry(const std::string& source, const std::string& destination, bool shared = false)
    {
        FileEntry entry;
        entry.sourcePath = source;
        entry.destinationPath = destination;
        entry.shared = shared ? 1 : 0;
        entry.disk = 1;
        gRecords.files.push_back(entry);
        return gRecords.files.size() - 1;
    }
    // A shared file of this test: <prefix><tag>.<extension> in the system directory.
    std::string SharedName(const std::string& tag, const std::string& extension = "DLL")
    {
        const std::string name = sharedPrefix + tag + "." + extension;
        systemFiles.push_back(SystemDirectory() + "\\" + name);
        return name;
    }
    std::string MediumFile(const std::string& fixture, const std::string& name)
    {
        CopyFixture(fixture, medium / name);
        return medium / name;
    }
    RunOutcome Install(std::size_t index)
    {
        return InstallVersionedFile(gRecords.files[index].sourcePath, index, prompter);
    }
    std::vector<std::string> Records() { return LogRecords(logDirectory / "Uninstall.log"); }

    TempDir medium{"medium"};
    TempDir application{"application"};
    TempDir logDirectory{"log"};
    std::string sharedPrefix;
    std::vector<std::string> systemFiles;
    ScriptedPrompter prompter;
};

}  // namespace

TEST_F(VersionedInstall, NewPrivateFileIsInstalledWithoutQuestionAndLoggedWithItsShortPath)
{
    const std::size_t index = AddEntry(MediumFile("readme.txt", "readme.txt"), "[DP]\\Read Me File.txt");
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    const std::string installed = application / "Read Me File.txt";
    EXPECT_EQ(ReadFile(installed), ReadFile(FixturePath("readme.txt")));
    EXPECT_EQ(gRecords.files[index].destinationPath, application.path() + "\\\\Read Me File.txt")
        << "expanded in place";
    EXPECT_EQ(Records(), (std::vector<std::string>{ShortPathOf(installed), "NONSHARED"}));
    EXPECT_NE(Records()[0].find('~'), std::string::npos) << "the 8.3 alias of the long name";
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(DirectoryNames(application.path()), std::vector<std::string>{"Read Me File.txt"});
}

TEST_F(VersionedInstall, MissingDirectoriesAreCreatedAndLoggedParentsFirst)
{
    const std::size_t index = AddEntry(MediumFile("readme.txt", "readme.txt"), "[DP]Tools\\Deep\\er\\README.TXT");
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    const std::string tools = application / "Tools";
    EXPECT_EQ(Records(), (std::vector<std::string>{tools, "DIR", tools + "\\Deep", "DIR", tools + "\\Deep\\er", "DIR",
                                                   ShortPathOf(tools + "\\Deep\\er\\README.TXT"), "NONSHARED"}));
}

TEST_F(VersionedInstall, CompressedSourceIsExpandedOnTheWay)
{
    const std::size_t index = AddEntry(MediumFile("readme.txt_", "readme.tx_"), "[DP]README.TXT");
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    EXPECT_EQ(ReadFile(application / "README.TXT"), ReadFile(FixturePath("readme.txt")));
}

TEST_F(VersionedInstall, ExistingPrivateFileIsOverwrittenOnlyAfterYes)
{
    const std::string kept = application / "Old Config File.ini";
    const std::string replaced = application / "CONFIG.INI";
    WriteFile(kept, "old settings");
    WriteFile(replaced, "old settings");
    const std::string source = MediumFile("readme.txt", "readme.txt");
    AddEntry(source, "[DP]Old Config File.ini");
    AddEntry(source, "[DP]CONFIG.INI");
    prompter.Then(0).Then(1);
    EXPECT_EQ(Install(0), RunOutcome::kGoOn);
    EXPECT_EQ(ReadFile(kept), "old settings");
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(Install(1), RunOutcome::kGoOn);
    EXPECT_FALSE(gInstall.installAll);
    EXPECT_EQ(prompter.lastTarget, replaced);
    EXPECT_EQ(ReadFile(replaced), ReadFile(source));
    EXPECT_EQ(prompter.shown, std::vector<Prompt>(2, OverwriteDialog()));
    EXPECT_EQ(Records(), (std::vector<std::string>{ShortPathOf(replaced), "NONSHARED"}));
    EXPECT_EQ(DirectoryNames(application.path()), (std::vector<std::string>{"CONFIG.INI", "Old Config File.ini"}))
        << "nothing stray";
}

TEST_F(VersionedInstall, OverwriteEveryFileIsNotAskedAgain)
{
    WriteFile(application / "A.TXT", "a");
    WriteFile(application / "B.TXT", "b");
    const std::string source = MediumFile("readme.txt", "readme.txt");
    AddEntry(source, "[DP]A.TXT");
    AddEntry(source, "[DP]B.TXT");
    prompter.Then(2);
    EXPECT_EQ(Install(0), RunOutcome::kGoOn);
    EXPECT_EQ(Install(1), RunOutcome::kGoOn);
    EXPECT_TRUE(gInstall.overwriteAll);
    EXPECT_TRUE(gInstall.installAll) << "language conflicts are forced too";
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{OverwriteDialog()});
    EXPECT_EQ(ReadFile(application / "B.TXT"), ReadFile(source));
}

TEST_F(VersionedInstall, NewerPrivateFileIsStillOverwritten)
{
    CopyFixture("german_205.dll", application / "LIBRARY.DLL");
    const std::size_t index = AddEntry(MediumFile("register_fails.dll", "LIBRARY.DLL"), "[DP]LIBRARY.DLL");
    prompter.Then(1);
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    EXPECT_EQ(ReadFile(application / "LIBRARY.DLL"), ReadFile(FixturePath("register_fails.dll")));
    EXPECT_EQ(std::getenv("TESSEL_REGISTERED"), nullptr) << "private files are not registered";
}

TEST_F(VersionedInstall, ReadOnlyPrivateFileIsInstalledAfterItsProtectionIsRemoved)
{
    const std::string target = application / "LOCKED.TXT";
    WriteFile(target, "old");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::size_t index = AddEntry(MediumFile("readme.txt", "readme.txt"), "[DP]LOCKED.TXT");
    prompter.Then(1).Then(IDYES);
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    EXPECT_EQ(prompter.shown,
              (std::vector<Prompt>{OverwriteDialog(), Question(kWriteProtected, "readme.txt", MB_YESNO)}));
    EXPECT_EQ(ReadFile(target), ReadFile(FixturePath("readme.txt")));
    EXPECT_EQ(Records(), (std::vector<std::string>{ShortPathOf(target), "NONSHARED"}));
}

TEST_F(VersionedInstall, PrivateFileInUseAbortsTheRunAfterItsMessages)
{
    const std::string target = application / "RUNNING.EXE";
    WriteFile(target, "running program");
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::size_t index = AddEntry(MediumFile("readme.txt", "readme.txt"), "[DP]RUNNING.EXE");
    prompter.Then(1);
    EXPECT_EQ(Install(index), RunOutcome::kAbortRun);
    CloseHandle(held);
    EXPECT_EQ(prompter.shown, (std::vector<Prompt>{OverwriteDialog(), Message(kSharingViolation, "readme.txt"),
                                                   Message(kInUse, "readme.txt")}));
    EXPECT_EQ(ReadFile(target), "running program");
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(DirectoryNames(application.path()), std::vector<std::string>{"RUNNING.EXE"}) << "no temporary copy left";
}

TEST_F(VersionedInstall, MissingSourceAsksForItsDisk)
{
    const std::string source = medium / "LATE.TXT";
    const std::size_t index = AddEntry(source, "[DP]LATE.TXT");
    gRecords.files[index].disk = 2;
    prompter.Then(IDRETRY, [&] { CopyFixture("readme.txt", source); });
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "LATE.TXT");
    EXPECT_EQ(prompter.shown[0].text.substr(0, 20), "Please insert disk 2");
    EXPECT_EQ(ReadFile(application / "LATE.TXT"), ReadFile(FixturePath("readme.txt")));

    const std::size_t missing = AddEntry(medium / "NEVER.TXT", "[DP]NEVER.TXT");
    prompter.Then(IDIGNORE).Then(IDABORT).Then(IDYES);
    EXPECT_EQ(Install(missing), RunOutcome::kGoOn);
    EXPECT_EQ(Install(missing), RunOutcome::kAbortRun);
    EXPECT_FALSE(FileExists(application / "NEVER.TXT"));
}

TEST_F(VersionedInstall, DestinationWithoutDirectoryIsSkippedWithAMessage)
{
    const std::size_t index = AddEntry(MediumFile("readme.txt", "readme.txt"), "README.TXT");
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{Message(
                                  "The destination README.TXT names no directory, setup cannot install the file there.",
                                  "readme.txt")});
    EXPECT_TRUE(Records().empty());
}

TEST_F(VersionedInstall, OverlongDestinationIsSkippedWithAMessage)
{
    const std::string destination = "[DP]" + std::string(240, 'd') + "\\README.TXT";
    const std::size_t index = AddEntry(MediumFile("readme.txt", "readme.txt"), destination);
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "The path " + application.path() + "\\" + std::string(240, 'd') +
                  "\\README.TXT is too long, setup cannot install the file.");
    EXPECT_TRUE(Records().empty());
}

TEST_F(VersionedInstall, SharedLibraryGoesToTheSystemDirectoryAndRegistersItself)
{
    const std::string name = SharedName("RG");
    const std::size_t index = AddEntry(MediumFile("register_ok.dll", name), "[DP]Ignored Directory\\" + name, true);
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    const std::string installed = SystemDirectory() + "\\" + name;
    EXPECT_EQ(ReadFile(installed), ReadFile(FixturePath("register_ok.dll")));
    EXPECT_EQ(Env("TESSEL_REGISTERED"), installed);
    EXPECT_EQ(Records(), (std::vector<std::string>{installed, "SHARED", "AUTOREGSVR"}));
    EXPECT_FALSE(DirectoryExists(application / "Ignored Directory"));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(VersionedInstall, FailedRegistrationIsReportedAndStillLogged)
{
    const std::string name = SharedName("RF");
    const std::size_t index = AddEntry(MediumFile("register_fails.dll", name), "[DP]" + name, true);
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    const std::string installed = SystemDirectory() + "\\" + name;
    EXPECT_EQ(Env("TESSEL_REGISTERED"), installed);
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{Question("Registration of " + installed + " failed, setup will continue.",
                                                           "Server registration", MB_ICONERROR, MessageOwner::kPage)});
    EXPECT_EQ(Records(), (std::vector<std::string>{installed, "SHARED", "AUTOREGSVR"}));
}

TEST_F(VersionedInstall, SharedLibraryWithoutRegistrationAndSharedTextFile)
{
    const std::string library = SharedName("NR");
    const std::string text = SharedName("TX", "TXT");
    AddEntry(MediumFile("german_205.dll", library), "[DP]" + library, true);
    AddEntry(MediumFile("readme.txt", text), "[DP]" + text, true);
    EXPECT_EQ(Install(0), RunOutcome::kGoOn);
    EXPECT_EQ(Install(1), RunOutcome::kGoOn);
    EXPECT_EQ(Records(), (std::vector<std::string>{SystemDirectory() + "\\" + library, "SHARED", "NOAUTOREGSVR",
                                                   SystemDirectory() + "\\" + text, "SHARED"}));
}

TEST_F(VersionedInstall, OlderSharedLibraryAsksWithNoAsDefaultAndNoSkipsIt)
{
    const std::string name = SharedName("OL");
    CopyFixture("german_205.dll", SystemDirectory() + "\\" + name);  // 2.0 installed
    const std::size_t temporaryBefore = DirectoryNames(SystemDirectory(), "*.tmp").size();
    const std::size_t index = AddEntry(MediumFile("register_ok.dll", name), "[DP]" + name, true);  // 1.2
    prompter.Then(IDNO);
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    EXPECT_EQ(prompter.shown, (std::vector<Prompt>{Message(kTempFile, name),
                                                   Question(kMismatch, name, MB_YESNO | MB_DEFBUTTON2)}));
    EXPECT_EQ(ReadFile(SystemDirectory() + "\\" + name), ReadFile(FixturePath("german_205.dll")));
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(DirectoryNames(SystemDirectory(), "*.tmp").size(), temporaryBefore) << "the temporary copy is removed";
}

TEST_F(VersionedInstall, OlderSharedLibraryInstalledAnywayOnYes)
{
    const std::string name = SharedName("OY");
    CopyFixture("german_205.dll", SystemDirectory() + "\\" + name);
    const std::size_t index = AddEntry(MediumFile("register_ok.dll", name), "[DP]" + name, true);
    prompter.Then(IDYES);
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    EXPECT_EQ(ReadFile(SystemDirectory() + "\\" + name), ReadFile(FixturePath("register_ok.dll")));
    EXPECT_EQ(Records(), (std::vector<std::string>{SystemDirectory() + "\\" + name, "SHARED", "AUTOREGSVR"}));
}

TEST_F(VersionedInstall, SharedLibraryInUseIsLeftForTheNextRestart)
{
    const std::string name = SharedName("IU");
    const std::string installed = SystemDirectory() + "\\" + name;
    CopyFixture("register_fails.dll", installed);  // 1.0, held open by "a running program"
    HANDLE held = CreateFileA(installed.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::size_t index = AddEntry(MediumFile("german_205.dll", name), "[DP]" + name, true);  // 2.0
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    CloseHandle(held);
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{Message(kSharingViolation, name)});
    EXPECT_EQ(ReadFile(installed), ReadFile(FixturePath("register_fails.dll")));
    EXPECT_TRUE(Records().empty()) << "a deferred file gets no record";

    const std::string copy = PendingRenameSource(installed);
    EXPECT_EQ(ReadFile(copy), ReadFile(FixturePath("german_205.dll")));
    ForgetPendingRename(copy);
    DeleteFileA(copy.c_str());
}

// A new plain private file is copied without the installation call; what it
// leaves must not differ from what the call leaves for the same source.
TEST_F(VersionedInstall, DirectCopyOfANewPlainFileMatchesTheInstallationCall)
{
    std::string bytes(300 * 1024, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    const std::string source = medium / "DATA.BIN";
    WriteFile(source, bytes);
    SetLastWriteTime(source, {2001, 5, 0, 24, 10, 20, 30, 0});
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    const std::size_t index = AddEntry(source, "[DP]\\Data File.bin");
    EXPECT_EQ(Install(index), RunOutcome::kGoOn);
    TempDir called{"called"};
    char temporary[MAX_PATH] = "";
    UINT temporaryLength = MAX_PATH;
    std::string sourceDirectory = medium.path() + "\\";
    ASSERT_EQ(VerInstallFileA(VIFF_FORCEINSTALL, const_cast<char*>("DATA.BIN"), const_cast<char*>("Data File.bin"),
                              &sourceDirectory[0], const_cast<char*>(called.path().c_str()), nullptr, temporary,
                              &temporaryLength),
              0u);
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::string copied = application / "Data File.bin";
    const std::string installed = called / "Data File.bin";
    EXPECT_EQ(ReadFile(copied), bytes);
    EXPECT_EQ(ReadFile(installed), bytes);
    EXPECT_EQ(gInstall.installedBytes, bytes.size()) << "counted for the uninstall entry";
    WIN32_FILE_ATTRIBUTE_DATA copiedData = {}, installedData = {};
    ASSERT_TRUE(GetFileAttributesExA(copied.c_str(), GetFileExInfoStandard, &copiedData));
    ASSERT_TRUE(GetFileAttributesExA(installed.c_str(), GetFileExInfoStandard, &installedData));
    EXPECT_EQ(copiedData.dwFileAttributes, installedData.dwFileAttributes);
    EXPECT_EQ(CompareFileTime(&copiedData.ftLastWriteTime, &installedData.ftLastWriteTime), 0);
    EXPECT_EQ(CompareFileTime(&copiedData.ftCreationTime, &installedData.ftCreationTime), 0);
    EXPECT_EQ(Records(), (std::vector<std::string>{ShortPathOf(copied), "NONSHARED"}));
    EXPECT_EQ(DirectoryNames(application.path()), std::vector<std::string>{"Data File.bin"});
    EXPECT_TRUE(prompter.shown.empty());
}

// Setup keeps the DLL search to the system folder; a library it installs is
// loaded for its registration with its own folder searched as well.
TEST(InstalledLibrary, FindsTheDllItImportsInItsOwnFolder)
{
    TempDir folder("beside");
    CopyFixture("needs_neighbour.dll", folder / "needs_neighbour.dll");
    CopyFixture("neighbour.dll", folder / "neighbour.dll");
    KeepDllSearchInSystemFolder();
    HMODULE plain = LoadLibraryA((folder / "needs_neighbour.dll").c_str());
    EXPECT_EQ(plain, nullptr) << "the restricted search leaves the library's folder out";
    if (plain)
        FreeLibrary(plain);
    HMODULE module = LoadInstalledLibrary(folder / "needs_neighbour.dll");
    ASSERT_NE(module, nullptr);
    using RegisterServer = HRESULT(STDAPICALLTYPE*)();
    const auto registerServer = reinterpret_cast<RegisterServer>(GetProcAddress(module, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    EXPECT_EQ(registerServer(), S_OK);
    FreeLibrary(module);
    FreeLibrary(GetModuleHandleA("neighbour.dll"));
}
