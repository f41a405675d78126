// A product packed into one signed program by tesselpack --single-file
// (tests/single-file-packages makes the packages), downloaded into an empty
// folder and run as a person would: it installs the author's files byte for
// byte, hands on setup's exit code and leaves nothing in TEMP; a changed or
// cut package installs nothing; DLLs planted beside it never run.
#include <gtest/gtest.h>

#include <memory>

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
// and with Wine taking the planted DLLs from beside it.
class Download {
public:
    Download(const std::string& package, bool plant = false)
        : program_(folder_ / ("Setup-" + std::to_string(GetCurrentProcessId()) + ".exe"))
    {
        CopyFileA((Packages() + "\\" + package).c_str(), program_.c_str(), TRUE);
        if (plant) {
            for (const std::string& name : PlantableDlls())
                CopyFixture("planted.dll", folder_ / (name + ".dll"));
            settings_ = SetProgramSettings(program_.substr(program_.rfind('\\') + 1),
                                           {.dllsFromBeside = PlantableDlls()});
        }
        leftovers_.UninstallEntry("Tessel Single File");
        leftovers_.Tree(InstallFolder());
    }
    ~Download()
    {
        if (!settings_.empty())
            RemoveProgramSettings(settings_);
    }

    // Started with TEMP and TMP naming the test's folder, as the system sets them.
    std::unique_ptr<ProgramRun> Run()
    {
        char original[MAX_PATH] = "";
        GetEnvironmentVariableA("TEMP", original, MAX_PATH);
        SetEnvironmentVariableA("TEMP", temp_.path().c_str());
        SetEnvironmentVariableA("TMP", temp_.path().c_str());
        auto run = std::make_unique<ProgramRun>(program_, folder_.path());
        SetEnvironmentVariableA("TEMP", original);
        SetEnvironmentVariableA("TMP", original);
        return run;
    }
    std::vector<std::string> TempContents() const { return Differences({}, SnapshotTree(temp_.path())); }
    std::vector<std::string> PlantedThatRan() const
    {
        std::vector<std::string> ran;
        for (const std::string& name : PlantableDlls())
            if (FileExists(folder_ / (name + ".dll.loaded")))
                ran.push_back(name);
        return ran;
    }

private:
    TempDir folder_{"download"};
    TempDir temp_{"temp"};
    std::string program_;
    std::string settings_;
    Leftovers leftovers_;
};

void ExpectInstalledFrom(const std::string& staging)
{
    for (const char* name : {"Readme.txt", "Data.bin"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(ReadFile(InstallFolder() + "\\" + name) == ReadFile(staging + "\\Program\\" + name));
    }
}

}  // namespace

TEST(SingleFile, SignedPackageInstallsTheAuthorsFilesAndHandsOnSetupsExitCode)
{
    Download download("Product.exe", true);
    {
        const auto run = download.Run();
        run->ExpectMessageBox("Error", "This setup demands that single_file_test.exe does not run. Please close it "
                                       "and try again.", IDOK);
        EXPECT_EQ(run->WaitForExit(), 3);
    }
    ExpectInstalledFrom(Packages() + "\\staging");
    EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
    EXPECT_EQ(download.PlantedThatRan(), std::vector<std::string>{});
}

TEST(SingleFile, ChangedOrCutPackageSaysSoAndInstallsNothing)
{
    for (const char* package : {"Changed.exe", "Cut.exe"}) {
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

// Its 24 MB file is large enough that setup links it into place from the
// unpacked package instead of copying it: it arrives byte for byte all the
// same, and TEMP is left empty.
TEST(SingleFile, LargePackageShowsItsProgressAndTakesTheControlsFromTheSystem)
{
    Download download("Large.exe", true);
    {
        const auto run = download.Run();
        const HWND window = run->WaitForWindowOfClass("TesselStarterProgress");
        ASSERT_TRUE(window);
        EXPECT_EQ(WindowText(window), "Setup");
        EXPECT_TRUE(FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr));
        run->ExpectMessageBox("Error", "This setup demands that single_file_test.exe does not run. Please close it "
                                       "and try again.", IDOK);
        EXPECT_EQ(run->WaitForExit(), 3);
    }
    ExpectInstalledFrom(Packages() + "\\large");
    EXPECT_EQ(download.TempContents(), std::vector<std::string>{});
    EXPECT_EQ(download.PlantedThatRan(), std::vector<std::string>{});
}
