// The shortcut switch that the program group page leaves for the
// installation. The page runs in this process and is operated from a second
// thread, as a person would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <functional>

#include "setup/install/install_state.h"
#include "setup/model/text/variables.h"
#include "setup/ui/pages.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/splash_and_background.h"
#include "tests/support/support.h"

namespace {

constexpr DWORD kWaitMs = 15000;

using Operation = std::function<void(HWND page)>;

struct Operator {
    DWORD pageThread;
    Operation operate;
    bool found = false;
};

struct DialogSearch {
    int childId;           // a control the dialog has, or
    const char* childClass;  // a child window of this class
    HWND found = nullptr;
};

BOOL CALLBACK NoteDialog(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<DialogSearch*>(context);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    const bool hasChild = search->childClass
                              ? FindWindowExA(window, nullptr, search->childClass, nullptr) != nullptr
                              : GetDlgItem(window, search->childId) != nullptr;
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) && hasChild) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(DWORD thread, int childId, const char* childClass = nullptr)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(20)) {
        DialogSearch search{childId, childClass};
        EnumThreadWindows(thread, NoteDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
    }
    return nullptr;
}

DWORD WINAPI Operate(LPVOID context)
{
    auto* job = static_cast<Operator*>(context);
    HWND page = WaitForDialog(job->pageThread, IDC_GROUP_NEW);
    job->found = page != nullptr;
    if (page)
        job->operate(page);
    return 0;
}

// Shows the page here while `operate` works it from a second thread.
INT_PTR ShowOperatedPage(const Operation& operate)
{
    Operator job{GetCurrentThreadId(), operate};
    HANDLE thread = CreateThread(nullptr, 0, Operate, &job, 0, nullptr);
    const INT_PTR result = ShowProgramGroupPage();
    WaitForSingleObject(thread, kWaitMs);
    CloseHandle(thread);
    EXPECT_TRUE(job.found) << "the page did not open";
    return result;
}

void Click(HWND page, int id)
{
    SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0);
}

void PressNext(HWND page)
{
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PAGE_NEXT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_PAGE_NEXT)));
}

// Chooses "Use existing group" and cancels the folder browser it opens.
void UseExistingGroupButCancel(HWND page)
{
    PostMessageA(GetDlgItem(page, IDC_GROUP_EXISTING), BM_CLICK, 0, 0);
    HWND browser = WaitForDialog(GetWindowThreadProcessId(page, nullptr), 0, WC_TREEVIEWA);
    if (browser)
        PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(browser, IDCANCEL)));
    for (DWORD start = GetTickCount(); browser && IsWindow(browser) && GetTickCount() - start < kWaitMs;)
        Sleep(20);
}

class ProgramGroupChoice : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        InitCommonControls();
        // The page templates live in setup.exe.
        const std::string setup = testing_support::Env("TESSEL_BIN") + "\\setup.exe";
        gApp.instance = LoadLibraryExA(setup.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(gApp.instance) << setup;
    }
};

std::string ProgramsFolder()
{
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE);
    return path;
}

}  // namespace

TEST_F(ProgramGroupChoice, NoGroupSwitchesShortcutsOffUntilAGroupIsChosenAgain)
{
    gVariables.Set("PROGRAMGROUP", "MyApp");
    gInstall.createShortcuts = 1;
    auto noGroup = [](HWND page) {
        Click(page, IDC_GROUP_NONE);
        PressNext(page);
    };

    EXPECT_EQ(ShowOperatedPage(noGroup), 0);
    EXPECT_EQ(gInstall.createShortcuts, 0);
    EXPECT_EQ(gVariables.Get("PROGRAMGROUP"), "MyApp");

    // An existing group asks for shortcuts again, even with the browser
    // cancelled: the group is then the one set before.
    EXPECT_EQ(ShowOperatedPage([](HWND page) {
                  UseExistingGroupButCancel(page);
                  PressNext(page);
              }),
              0);
    EXPECT_EQ(gInstall.createShortcuts, 1);
    EXPECT_EQ(gVariables.Get("PROGRAMGROUP"), "MyApp");

    EXPECT_EQ(ShowOperatedPage(noGroup), 0);
    EXPECT_EQ(gInstall.createShortcuts, 0);
    EXPECT_EQ(ShowOperatedPage(PressNext), 0);
    EXPECT_EQ(gInstall.createShortcuts, 1);
    EXPECT_EQ(gVariables.Get("PROGRAMGROUP"), ProgramsFolder() + "\\MyApp\\");
}
