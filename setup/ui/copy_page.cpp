#include "setup/ui/copy_page.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
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

// A bar that counts bytes moves in these steps: finer than its pixels.
constexpr uint16_t kByteSteps = 1000;

void SetProgressRange(HWND bar, uint16_t maximum)
{
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, maximum));
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
        SetProgressRange(GetDlgItem(page_, IDC_COPY_SECTION_BAR), ProgressMaximum(sections));
        // The page and its controls are drawn before copying begins; the
        // paint message this sends again finds the run started.
        RedrawWindow(page_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    void StartSection(const std::string& name, ProgressUnit unit, uint64_t total) override
    {
        ShowPendingFile();  // the last file of the section before, so that the bar is left as it was
        SetProgressPosition(GetDlgItem(page_, IDC_COPY_SECTION_BAR), sectionsStarted_++);
        unit_ = unit;
        total_ = total;
        SetProgressRange(GetDlgItem(page_, IDC_COPY_FILE_BAR),
                         unit == ProgressUnit::kBytes ? kByteSteps : ProgressMaximum(static_cast<std::size_t>(total)));
        SetDlgItemTextA(page_, IDC_COPY_SECTION, name.c_str());
    }

    void StartFile(const std::string& name, uint64_t done) override
    {
        fileName_ = name;
        done_ = done;
        through_ = 0;
        ShowSoon();
    }

    void FileReadThrough(uint64_t through) override
    {
        if (unit_ != ProgressUnit::kBytes || through <= through_)
            return;
        through_ = through;
        ShowSoon();
    }

    void EndRun() override { ShowPendingFile(); }

    void ShowPendingFile()
    {
        if (!filePending_)
            return;
        SetDlgItemTextA(page_, IDC_COPY_FILE, fileName_.c_str());
        SetProgressPosition(GetDlgItem(page_, IDC_COPY_FILE_BAR), FileBarPosition());
        filePending_ = false;
        fileShownAt_ = GetTickCount();
    }

private:
    void ShowSoon()
    {
        filePending_ = true;
        if (GetTickCount() - fileShownAt_ >= kFileProgressMs)
            ShowPendingFile();
    }

    std::size_t FileBarPosition() const
    {
        if (unit_ == ProgressUnit::kFiles)
            return static_cast<std::size_t>(done_);
        const uint64_t done = std::min(done_ + through_, total_);
        return total_ == 0 ? 0 : static_cast<std::size_t>(done * kByteSteps / total_);
    }

    HWND page_ = nullptr;
    std::size_t sectionsStarted_ = 0;
    ProgressUnit unit_ = ProgressUnit::kFiles;
    uint64_t total_ = 0;
    std::string fileName_;
    uint64_t done_ = 0;     // the section's units before the file
    uint64_t through_ = 0;  // the file's bytes read, when bytes count
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
