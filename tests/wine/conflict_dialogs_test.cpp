// Dialogs 115 and 116 from setup.exe's own templates: what they show, the
// answers their buttons give, and the keys that must not close them.
#include <gtest/gtest.h>

#include <map>

#include "setup/ui/conflict_dialogs.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/splash_and_background.h"
#include "tests/support/install_support.h"
#include "tests/support/support.h"

using namespace testing_support;

namespace {

struct DialogSeen {
    bool found = false;
    std::map<int, std::string> fields;
    bool openAfterEscape = false;
    bool openAfterClose = false;
};

struct DialogSearch {
    std::string title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<DialogSearch*>(data);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (search->title != text || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindThreadDialog(DWORD thread, const std::string& title)
{
    DialogSearch search{title, nullptr};
    EnumThreadWindows(thread, MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits on another thread for this thread's dialog of that title, reads its
// fields, tries Esc and closing it, then presses `button`.
class DialogDriver {
public:
    DialogDriver(std::string title, std::vector<int> fieldIds, int button)
        : thread_(GetCurrentThreadId()),
          title_(std::move(title)),
          fieldIds_(std::move(fieldIds)),
          button_(button),
          helper_([this] { Drive(); })
    {
    }
    const DialogSeen& Seen()
    {
        helper_.Join();
        return seen_;
    }

private:
    void Drive()
    {
        HWND dialog = nullptr;
        seen_.found = WaitFor([&] { return (dialog = FindThreadDialog(thread_, title_)) != nullptr; });
        if (!seen_.found)
            return;
        for (int id : fieldIds_) {
            char text[MAX_PATH * 2] = {};
            GetDlgItemTextA(dialog, id, text, sizeof text);
            seen_.fields[id] = text;
        }
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        seen_.openAfterEscape = IsWindowVisible(dialog) != FALSE;
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        seen_.openAfterClose = IsWindowVisible(dialog) != FALSE;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_)));
    }

    DWORD thread_;
    std::string title_;
    std::vector<int> fieldIds_;
    int button_;
    DialogSeen seen_;
    Helper helper_;
};

const char kLanguageTitle[] = "Different languages/codepages";
const char kOverwriteTitle[] = "Overwrite file";
const std::vector<int> kLanguageFields = {1035, 1036, 1039, 1037, 1038, 1040};

class ConflictDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineState();
        setup_ = LoadLibraryExA((Env("TESSEL_BIN") + "\\setup.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(setup_, nullptr);
        gApp.instance = setup_;
    }
    void TearDown() override
    {
        gApp.instance = nullptr;
        FreeLibrary(setup_);
    }

private:
    HMODULE setup_ = nullptr;
};

}  // namespace

TEST_F(ConflictDialogs, LanguageConflictShowsBothFilesAndAnswersInstallAll)
{
    const std::string source = FixturePath("german_205.dll");
    const std::string target = FixturePath("english_201.dll");
    DialogDriver driver(kLanguageTitle, kLanguageFields, 1012);
    EXPECT_EQ(ShowLanguageConflictDialog(source, target), ConflictAnswer::kAll);
    const DialogSeen& seen = driver.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.fields, (std::map<int, std::string>{{1035, target}, {1036, "English"}, {1039, "1200"},
                                                       {1037, source}, {1038, "German"}, {1040, "1252"}}));
    EXPECT_TRUE(seen.openAfterEscape);
    EXPECT_TRUE(seen.openAfterClose);
}

TEST_F(ConflictDialogs, LanguageConflictYesAndNoAndFilesWithoutLanguage)
{
    const std::string source = FixturePath("no_translation.dll");
    const std::string target = FixturePath("readme.txt");
    {
        DialogDriver driver(kLanguageTitle, kLanguageFields, 1041);
        EXPECT_EQ(ShowLanguageConflictDialog(source, target), ConflictAnswer::kYes);
        EXPECT_EQ(driver.Seen().fields, (std::map<int, std::string>{{1035, target}, {1036, ""}, {1039, ""},
                                                                    {1037, source}, {1038, ""}, {1040, ""}}));
    }
    DialogDriver driver(kLanguageTitle, {}, 1042);
    EXPECT_EQ(ShowLanguageConflictDialog(source, target), ConflictAnswer::kNo);
    EXPECT_TRUE(driver.Seen().found);
}

TEST_F(ConflictDialogs, OverwriteShowsTheDestinationAndEachButtonsAnswer)
{
    const std::string target = "C:\\Program Files\\App\\CONFIG.INI";
    const std::pair<int, ConflictAnswer> buttons[] = {{1012, ConflictAnswer::kYes}, {1043, ConflictAnswer::kNo}};
    for (const auto& [button, result] : buttons) {
        DialogDriver driver(kOverwriteTitle, {1034}, button);
        EXPECT_EQ(ShowOverwriteDialog(target), result);
        const DialogSeen& seen = driver.Seen();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.fields.at(1034), target);
        EXPECT_TRUE(seen.openAfterEscape);
        EXPECT_TRUE(seen.openAfterClose);
    }
}

TEST_F(ConflictDialogs, OverwriteEveryFileAnswersAll)
{
    DialogDriver driver(kOverwriteTitle, {}, 1044);
    EXPECT_EQ(ShowOverwriteDialog("C:\\App\\A.TXT"), ConflictAnswer::kAll);
    EXPECT_TRUE(driver.Seen().found);
}
