// A product packed into one signed program by tesselpack --single-file
// (tests/single-file-packages makes the packages), downloaded into an empty
// folder and run as a person would: it installs the author's files byte for
// byte, hands on setup's exit code and leaves nothing in TEMP, also where the
// download folder and TEMP are named in letters the code page lacks; a
// changed or cut package installs nothing; DLLs planted beside it never run.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

const char kDamaged[] = "The installation package is damaged. Please download it again.";
constexpr int kExitDamaged = -11;

std::string Packages()
{
    return Env("TESSEL_BIN") + "\\..\\single-file";
}

std::string InstallFolder()
{
    return WindowsDirectory() + "\\TesselSingleFile";
}

// One package alone in a download folder, run with a TEMP folder of its own
// (both named `folderName`) and with Wine taking the planted DLLs from beside it.
class Download {
public:
    Download(const std::string& package, bool plant = false, const std::string& folderName = "Downloads")
        : folder_(downloads_.path(), folderName), temp_(temps_.path(), folderName),
          name_("Setup-" + std::to_string(GetCurrentProcessId()) + ".exe"), program_(folder_.path + "\\" + name_)
    {
        CopyFileA((Packages() + "\\" + package).c_str(), program_.c_str(), TRUE);
        if (plant) {
            for (const std::string& name : PlantableDlls())
                CopyFixture("planted.dll", folder_.path + "\\" + name + ".dll");
            settings_ = SetProgramSettings(name_, {.dllsFromBeside = PlantableDlls()});
        }
        leftovers_.UninstallEntry("Tessel Single File");
        leftovers_.Tree(InstallFolder());
    }
    ~Download()
    {
        if (!settings_.empty())
            RemoveProgramSettings(settings_);
    }

    // Started by its real name with TEMP and TMP naming the test's folder (or
    // `temp`), as the system sets them.
    std::unique_ptr<ProgramRun> Run(const std::wstring& temp = L"")
    {
        wchar_t original[MAX_PATH] = L"";
        GetEnvironmentVariableW(L"TEMP", original, MAX_PATH);
        SetEnvironmentVariableW(L"TEMP", temp.empty() ? temp_.wide.c_str() : temp.c_str());
        SetEnvironmentVariableW(L"TMP", temp.empty() ? temp_.wide.c_str() : temp.c_str());
        auto run = std::make_unique<ProgramRun>(folder_.wide + L"\\" + Widened(name_), folder_.wide);
        SetEnvironmentVariableW(L"TEMP", original);
        SetEnvironmentVariableW(L"TMP", original);
        return run;
    }
    const NamedFolder& temp() const { return temp_; }
    std::vector<std::string> TempContents() const { return Differences({}, SnapshotTree(temp_.path)); }
    // The names of the files in TEMP, its folders left out.
    std::vector<std::string> TempFileNames() const
    {
        std::vector<std::string> names;
        for (const auto& [path, value] : SnapshotTree(temp_.path))
            if (value != "directory")
                names.push_back(path.substr(path.rfind('\\') + 1));
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> PlantedThatRan() const
    {
        std::vector<std::string> ran;
        for (const std::string& name : PlantableDlls())
            if (FileExists(folder_.path + "\\" + name + ".dll.loaded"))
                ran.push_back(name);
        return ran;
    }

private:
    TempDir downloads_{"download"};
    TempDir temps_{"temp"};
    NamedFolder folder_;
    NamedFolder temp_;
    std::string name_;
    std::string program_;
    std::string settings_;
    Leftovers leftovers_;
};

void ExpectInstalledFrom(const std::string& staging)
{
    for (const char* name : {"Readme.txt", "Data.bin"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(ReadFile(InstallFolder() + "\\" + name) == ReadFile(staging + "\\Program\\" + name));
        EXPECT_EQ(LastWriteTime(InstallFolder() + "\\" + name), LastWriteTime(staging + "\\Program\\" + name));
    }
}

const char kRefusal[] = "This setup demands that single_file_test.exe does not run. Please close it and try again.";

// The product's script ends by refusing to go on beside this test, with 3.
void RunToTheScriptsEnd(Download& download)
{
    const auto run = download.Run();
    run->ExpectMessageBox("Error", kRefusal, IDOK);
    EXPECT_EQ(run->WaitForExit(), 3);
}

}  // namespace

// An older Readme.txt is there: the installation call, which reads its
// source from disk, gets it unpacked from the package once the user agrees.
// While it asks, the file bar counts the bytes read of the section's
// packaged files (Unskein, unpacked at the start, is not one of them).
TEST(SingleFile, SignedPackageInstallsTheAuthorsFilesAndHandsOnSetupsExitCode)
{
    Download download("Product.exe", true);
    CreateDirectoryA(InstallFolder().c_str(), nullptr);
    WriteFile(InstallFolder() + "\\Readme.txt", "an older readme");
    const std::string staged = Packages() + "\\staging\\Program\\";
    const size_t readme = ReadFile(staged + "Readme.txt").size();
    const size_t section = readme + ReadFile(staged + "Data.bin").size();
    {
        const auto run = download.Run();
        const HWND question = run->WaitForDialogWith(IDC_OVERWRITE_NO);
        ASSERT_TRUE(question);
        const HWND page = run->WaitForDialogWith(IDC_COPY_FILE_BAR);
        ASSERT_TRUE(page);
        EXPECT_EQ(ReadProgress(GetDlgItem(page, IDC_COPY_FILE_BAR)),
                  (ProgressSeen{0, 1000, static_cast<int>(readme * 1000 / section)}));
        run->Press(question, IDC_OVERWRITE_YES);
        run->ExpectMessageBox("Error", kRefusal, IDOK);
        EXPECT_EQ(run->WaitForExit(), 3);
    }
    ExpectInstalledFrom(Packages() + "\\staging");
    EXPECT_EQ(LastWriteTime(InstallFolder() + "\\Readme.txt"), kStagingTime);
    EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
    EXPECT_EQ(download.PlantedThatRan(), std::vector<std::string>{});
}

// Someone ended the starter while setup asked its question: setup, which
// ends last, takes the starter's folder out of TEMP.
TEST(SingleFile, StarterEndedWhileSetupRunsLeavesNothingInTemp)
{
    Download download("Product.exe");
    const auto run = download.Run();
    const MessageBoxSeen refusal = run->NextMessageBox();
    EXPECT_EQ(refusal.text, kRefusal);
    const HANDLE starter = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, run->processId());
    ASSERT_TRUE(starter);
    TerminateProcess(starter, 1);
    WaitForSingleObject(starter, kWaitMs);
    CloseHandle(starter);
    run->Press(refusal.window, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return download.TempContents().empty(); }))
        << ::testing::PrintToString(download.TempContents());
}

TEST(SingleFile, PackageSavedAndUnpackedInFoldersNamedInAnyScriptInstallsAndUninstallsWhole)
{
    for (const char* name : {"Ζωή", "用户", "José"}) {
        SCOPED_TRACE(name);
        Download download("Product.exe", false, name);
        RunToTheScriptsEnd(download);
        ExpectInstalledFrom(Packages() + "\\staging");
        EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
        RemoveWithUnskein(InstallFolder() + "\\Unskein.exe");
        EXPECT_FALSE(FileExists(InstallFolder() + "\\Readme.txt"));
        EXPECT_FALSE(KeyExists(UninstallKey("Tessel Single File")));
    }
}

// Where 8.3 names are off, a TEMP folder so named has no spelling at all
// (here: one that does not exist, which has no short name either).
TEST(SingleFile, TempThatCannotBeSpelledIsRefusedWithWhatToDo)
{
    Download download("Product.exe", false, "Ζωή");
    const std::wstring temp = download.temp().wide + L"\\" + Widened("用户", CP_UTF8);
    {
        const auto run = download.Run(temp);
        run->ExpectMessageBox("Setup",
                              "The name of the folder " + Narrowed(temp) + "\\ has letters that this system's code "
                              "page cannot hold, and the drive keeps no short name for it.\n\nSetup unpacks the "
                              "installation files into this folder for temporary files (TEMP). Set TEMP to another "
                              "folder, such as C:\\Temp, and start setup again.", IDOK);
        EXPECT_EQ(run->WaitForExit(), -12);
    }
    EXPECT_FALSE(DirectoryExists(InstallFolder()));
    EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
}

TEST(SingleFile, ChangedOrCutPackageSaysSoAndInstallsNothing)
{
    for (const char* package : {"Changed.exe", "ChangedData.exe", "Cut.exe"}) {
        SCOPED_TRACE(package);
        Download download(package);
        {
            const auto run = download.Run();
            run->ExpectMessageBox("Setup", kDamaged, IDOK);
            EXPECT_EQ(run->WaitForExit(), kExitDamaged);
        }
        EXPECT_FALSE(DirectoryExists(InstallFolder()));
        EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
    }
}

// The streams are whole, but the 1 MB file decodes to other bytes than the
// index says: setup finds it at the file's last byte, takes away what it
// wrote of it, keeps the log of what it installed, and ends as the starter
// would have.
TEST(SingleFile, FileThatDecodesWrongIsNeverInstalled)
{
    Download download("WrongChecksum.exe");
    {
        const auto run = download.Run();
        run->ExpectMessageBox("Setup", kDamaged, IDOK);
        EXPECT_EQ(run->WaitForExit(), kExitDamaged);
    }
    const std::string readme = InstallFolder() + "\\Readme.txt";
    EXPECT_TRUE(ReadFile(readme) == ReadFile(Packages() + "\\staging\\Program\\Readme.txt"));
    EXPECT_FALSE(FileExists(InstallFolder() + "\\Data.bin"));
    EXPECT_EQ(ReadFile(InstallFolder() + "\\Uninstall.log"),
              ExpectedLog({InstallFolder() + "\\", "DIR", ShortPathOf(readme), "NONSHARED",
                           ShortPathOf(InstallFolder()) + "\\Data.bin", "NONSHARED"},
                          "Tessel Single File"));
    EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
}

// A solid package of a few hundred real files: the sections chosen come
// out of the one stream byte for byte, the one left out is decoded past,
// and nothing of it goes through TEMP.
TEST(SingleFile, SolidPackageInstallsTheChosenSectionsByteForByte)
{
    const std::string installed = WindowsDirectory() + "\\TesselSolid";
    Leftovers leftovers;
    leftovers.UninstallEntry("Tessel Solid");
    leftovers.Tree(installed);
    Download download("Solid.exe");
    RunToTheScriptsEnd(download);
    size_t files = 0;
    for (const char* section : {"Programs", "Documents"}) {
        const std::string staged = Packages() + "\\solid\\" + section;
        for (const auto& [path, value] : SnapshotTree(staged)) {
            SCOPED_TRACE(path);
            ++files;
            EXPECT_TRUE(ReadFile(installed + "\\" + section + path.substr(staged.size())) == ReadFile(path));
        }
    }
    EXPECT_GE(files, 250u);
    EXPECT_FALSE(DirectoryExists(installed + "\\Samples"));
    EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
}

// Setup installs its files, a 24 MB one and a compressed one, straight from
// the package: while it runs, TEMP holds setup, Unskein and the script
// alone. They arrive byte for byte all the same, and TEMP is left empty.
TEST(SingleFile, LargePackageInstallsStraightFromThePackage)
{
    Download download("Large.exe", true);
    {
        const auto run = download.Run();
        const MessageBoxSeen refusal = run->NextMessageBox();
        EXPECT_EQ(refusal.text, kRefusal);
        EXPECT_EQ(download.TempFileNames(), (std::vector<std::string>{"SetupScript.INI", "Unskein.exe", "setup.exe"}));
        run->Press(refusal.window, IDOK);
        EXPECT_EQ(run->WaitForExit(), 3);
    }
    ExpectInstalledFrom(Packages() + "\\large");
    EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
    EXPECT_EQ(download.PlantedThatRan(), std::vector<std::string>{});
}
