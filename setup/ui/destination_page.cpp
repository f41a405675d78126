#include "setup/ui/pages.h"

#include <optional>
#include <string>

#include "setup/install/text/installation_run.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"
#include "setup/system/disk_space.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/shell_folder.h"
#include "setup/ui/text/destination.h"

namespace {

const char kPageName[] = "DIALOG_DEST";
const char kPathTooLongText[] =
    "The installation path would be longer than 259 characters. Please choose a shorter path.";
const char kPathTooLongCaption[] = "Path too long";
const char kPathNotFullText[] =
    "The installation path must be a full path: a drive with its root folder, such as C:\\Program Files\\App, "
    "or a network path, such as \\\\server\\share\\App. Please enter a full path.";
const char kPathNotFullCaption[] = "Path not complete";

void ShowPathTooLong()
{
    PageMessageBox(kPathTooLongText, kPathTooLongCaption, MB_ICONEXCLAMATION | MB_OK);
}

// Whether the script's files fit below `path`; says which does not.
bool LeavesRoomForFiles(const std::string& path)
{
    const std::optional<std::string> tooLong = PathThatDoesNotFit(path, PathsBelowInstallFolder(gRecords.files));
    if (!tooLong)
        return true;
    const std::string text = "The installation path leaves no room for the files of this setup: " + *tooLong +
                             " would be longer than Windows allows. Please choose a shorter path.";
    PageMessageBox(text.c_str(), kPathTooLongCaption, MB_ICONEXCLAMATION | MB_OK);
    return false;
}

// Next: stores the typed path in DP, literally. Returns false when the page
// stays open (the path is too long or not a full path, or the user does not
// want a missing directory).
bool AcceptTypedPath(HWND page)
{
    const std::string path = DialogItemText(page, IDC_DEST_PATH);
    if (path.size() > kMaxInstallPath) {
        ShowPathTooLong();
        return false;
    }
    if (!IsFullPath(path)) {
        PageMessageBox(kPathNotFullText, kPathNotFullCaption, MB_ICONEXCLAMATION | MB_OK);
        return false;
    }
    if (!LeavesRoomForFiles(path))
        return false;
    const bool askIfMissing = SendDlgItemMessageA(page, IDC_DEST_ASK_CREATE, BM_GETCHECK, 0, 0) != 0;
    if (askIfMissing && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        PageMessageBox("Directory does not exist, should it be created?", "Directory does not exist",
                       MB_ICONQUESTION | MB_YESNO) == IDNO)
        return false;
    gVariables.SetOutside("DP", path);  // created later, by the installation
    return true;
}

void ShowInstallPath(HWND page)
{
    SendDlgItemMessageA(page, IDC_DEST_PATH, EM_LIMITTEXT, kMaxInstallPath, 0);
    // The field's change notification fills in the free space and the gate.
    SetDlgItemTextA(page, IDC_DEST_PATH, gVariables.Get("DP").c_str());
    FocusOnOpen(page, IDC_DEST_PATH);
}

void ChooseFolder(HWND page)
{
    const std::optional<std::string> folder = WhilePageWaits([&] { return BrowseForFolder(page, nullptr); });
    if (!folder)
        return;
    const std::optional<std::string> path = ChosenInstallPath(*folder, gVariables.Get("APPNAME"));
    if (!path) {
        ShowPathTooLong();
        return;
    }
    if (!LeavesRoomForFiles(*path))
        return;
    gVariables.SetOutside("DP", *path);
    SetDlgItemTextA(page, IDC_DEST_PATH, path->c_str());
}

void OnPathFieldNotification(HWND page)
{
    const std::string path = DialogItemText(page, IDC_DEST_PATH);
    gPage.nextGate = NextGateForPath(path);
    SetDlgItemTextA(page, IDC_DEST_FREE_SPACE, FreeSpaceText(GetFreeDiskSpace(path)).c_str());
}

// Automatic and the ask-to-create checkbox have no action of their own.
void OnDestinationCommand(HWND page, int controlId)
{
    if (controlId == IDC_DEST_CHOOSE)
        ChooseFolder(page);
    else if (controlId == IDC_DEST_PATH)
        OnPathFieldNotification(page);
}

INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_PAGE_NEXT && !AcceptTypedPath(page))
        return FALSE;
    HandlePageMessage(page, message, wParam, lParam, kPageName);
    if (message == WM_INITDIALOG)
        ShowInstallPath(page);
    else if (message == WM_COMMAND)
        OnDestinationCommand(page, LOWORD(wParam));
    return FALSE;
}

}  // namespace

INT_PTR ShowDestinationPage()
{
    return RunPage(IDD_DESTINATION_PAGE, DestinationPageProc);
}
