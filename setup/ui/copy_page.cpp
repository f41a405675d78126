#include "setup/ui/copy_page.h"

#include <commctrl.h>

#include <string>

#include "setup/install/installation_run.h"
#include "setup/install/text/installation_run.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/program_prompter.h"
#include "setup/ui/resources/resource_ids.h"

namespace {

const char kPageName[] = "DIALOG_COPY";

// The file name and file bar are painted at once on every change, which
// for small files costs about as much as installing them. So they follow
// the files at most every kFileProgressMs (faster than anyone reads them),
// and at once before any question about a file.
constexpr DWORD kFileProgressMs = 40;

// Sets a progress bar to count `steps` from 0.
void SetProgressRange(HWND bar, std::size_t steps)
{
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, ProgressMaximum(steps)));
}

void SetProgressPosition(HWND bar, std::size_t position)
{
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// The run on the page's two bars and the section and file names.
class PageProgress : public Progress {
public:
    void ShowOn(HWND page) { page_ = page; }

    void StartRun(std::size_t sections) override
    {
        SetProgressRange(GetDlgItem(page_, IDC_COPY_SECTION_BAR), sections);
        // The page and its controls are drawn before copying begins; the
        // paint message this sends again finds the run started.
        RedrawWindow(page_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    void StartSection(const std::string& name, std::size_t files) override
    {
        ShowPendingFile();  // the last file of the section before, so that the bar is left as it was
        SetProgressPosition(GetDlgItem(page_, IDC_COPY_SECTION_BAR), sectionsStarted_++);
        SetProgressRange(GetDlgItem(page_, IDC_COPY_FILE_BAR), files);
        SetDlgItemTextA(page_, IDC_COPY_SECTION, name.c_str());
    }

    void StartFile(const std::string& name, std::size_t position) override
    {
        fileName_ = name;
        filePosition_ = position;
        filePending_ = true;
        if (GetTickCount() - fileShownAt_ >= kFileProgressMs)
            ShowPendingFile();
    }

    void EndRun() override { ShowPendingFile(); }

    void ShowPendingFile()
    {
        if (!filePending_)
            return;
        SetDlgItemTextA(page_, IDC_COPY_FILE, fileName_.c_str());
        SetProgressPosition(GetDlgItem(page_, IDC_COPY_FILE_BAR), filePosition_);
        filePending_ = false;
        fileShownAt_ = GetTickCount();
    }

private:
    HWND page_ = nullptr;
    std::size_t sectionsStarted_ = 0;
    std::string fileName_;
    std::size_t filePosition_ = 0;
    bool filePending_ = false;
    DWORD fileShownAt_ = 0;
};

// The page installs once per program run.
struct CopyPageState {
    bool runStarted = false;
    PageProgress progress;
};

CopyPageState gCopyPage;

// Brings the file name and file bar up to the file being installed, before
// anything is asked or shown about it.
void ShowPendingFileProgress()
{
    gCopyPage.progress.ShowPendingFile();
}

void InstallFromPage(HWND page)
{
    gCopyPage.runStarted = true;
    gCopyPage.progress.ShowOn(page);
    ProgramPrompter prompter(ShowPendingFileProgress);
    const RunOutcome outcome = RunInstallation(prompter, gCopyPage.progress);
    // Posted last: a pending quit makes every message box end unseen.
    if (outcome == RunOutcome::kAbortRun)
        RequestQuit(kQuitAbort);
    EndDialog(page, kPageNext);
}

void OnCopyPagePaint(HWND page)
{
    if (!gCopyPage.runStarted)
        InstallFromPage(page);
}

INT_PTR CALLBACK CopyPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    HandlePageMessage(page, message, wParam, lParam, kPageName);
    if (message == WM_PAINT)
        OnCopyPagePaint(page);
    return FALSE;
}

}  // namespace

INT_PTR ShowCopyPage()
{
    return RunPage(IDD_COPY_PAGE, CopyPageProc);
}
