// The program group page: where the shortcuts go. A new group under the
// Programs folder, an existing folder chosen with the folder browser, or
// none at all.
#include "setup/ui/pages.h"

#include <optional>
#include <string>

#include "setup/install/section_install.h"
#include "setup/model/text/variables.h"
#include "setup/system/programs_folder.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/shell_folder.h"
#include "setup/ui/text/program_group.h"

namespace {

const char kPageName[] = "DIALOG_PROGRAMGROUP";
const char kNameTooLongText[] =
    "The name of the program group is too long: its folder would be longer than 259 characters. "
    "Please enter a shorter name.";
const char kNameTooLongCaption[] = "Name too long";

bool IsChecked(HWND page, int option)
{
    return IsDlgButtonChecked(page, option) == BST_CHECKED;
}

void ShowGroupChoice(HWND page)
{
    CheckDlgButton(page, IDC_GROUP_NEW, BST_CHECKED);
    SetDlgItemTextA(page, IDC_GROUP_NAME, gVariables.Get("PROGRAMGROUP").c_str());
    FocusOnOpen(page, IDC_GROUP_NAME);
}

// "Create new group": the typed name under the Programs folder. Returns
// false when the page stays open because the name is too long.
bool AcceptNewGroup(HWND page)
{
    const SystemPath programs = ProgramsFolderPath();
    if (!programs.spelled)
        PageMessageBox(UnspelledProgramsFolderText(programs.path).c_str(), "Setup", MB_ICONEXCLAMATION | MB_OK);
    if (!programs.IsUsable()) {
        // No place for a group: nothing to create, PROGRAMGROUP stays.
        ChooseShortcuts(false);
        return true;
    }
    const std::optional<std::string> group = NewGroupPath(programs.path, DialogItemText(page, IDC_GROUP_NAME));
    if (!group) {
        PageMessageBox(kNameTooLongText, kNameTooLongCaption, MB_ICONEXCLAMATION | MB_OK);
        return false;
    }
    ChooseShortcuts(true);
    gVariables.SetOutside("PROGRAMGROUP", *group);
    return true;
}

// Next: stores the choice. Returns false when the page stays open.
bool AcceptGroupChoice(HWND page)
{
    if (IsChecked(page, IDC_GROUP_NONE)) {
        ChooseShortcuts(false);
        return true;
    }
    if (IsChecked(page, IDC_GROUP_EXISTING)) {
        // PROGRAMGROUP holds the folder chosen with Browse. Shortcuts are
        // wanted again even if an earlier showing of the page chose none.
        ChooseShortcuts(true);
        return true;
    }
    return !IsChecked(page, IDC_GROUP_NEW) || AcceptNewGroup(page);
}

// Browse: the chosen folder becomes the group at once, whichever option
// is checked. The page waits for the browser, so Next cannot end it
// behind the browser's back.
void BrowseForGroup(HWND page)
{
    const ItemList programs = ProgramsFolderItemList();
    const std::optional<std::string> folder =
        WhilePageWaits([&] { return BrowseForFolder(page, programs.get()); });
    if (!folder)
        return;
    SetDlgItemTextA(page, IDC_GROUP_FOLDER, folder->c_str());
    gVariables.SetOutside("PROGRAMGROUP", *folder + "\\");
}

// "Use existing group" opens the browser until a folder has been chosen.
void OnUseExistingGroup(HWND page)
{
    if (DialogItemText(page, IDC_GROUP_FOLDER).empty())
        BrowseForGroup(page);
}

// Returns false when the page is to stay open.
bool OnGroupCommand(HWND page, int controlId)
{
    switch (controlId) {
    case IDC_PAGE_NEXT:
        return AcceptGroupChoice(page);
    case IDC_GROUP_EXISTING:
        OnUseExistingGroup(page);
        return true;
    case IDC_GROUP_BROWSE:
        BrowseForGroup(page);
        return true;
    default:
        return true;
    }
}

INT_PTR CALLBACK ProgramGroupPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        ShowGroupChoice(page);
    else if (message == WM_COMMAND && !OnGroupCommand(page, LOWORD(wParam)))
        return FALSE;
    HandlePageMessage(page, message, wParam, lParam, kPageName);
    return FALSE;
}

}  // namespace

INT_PTR ShowProgramGroupPage()
{
    return RunPage(IDD_PROGRAM_GROUP_PAGE, ProgramGroupPageProc);
}
