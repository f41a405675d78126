// The finish page: what became of the installation, and a check box for
// each of the script's finish actions whose target is there, carried out
// in order on Finish.
#include "setup/ui/pages.h"

#include <algorithm>
#include <vector>

#include "setup/install/install_state.h"
#include "setup/install/text/install_paths.h"
#include "setup/model/text/records.h"
#include "setup/model/text/shortcut_places.h"
#include "setup/model/text/variables.h"
#include "setup/system/program_start.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/splash_and_background.h"
#include "setup/ui/text/finish.h"

namespace {

const char kPageName[] = "DIALOG_FINISH";
// Where the check boxes lie, in the template's dialog units.
constexpr int kActionsLeft = 10, kActionsTop = 50, kActionsRight = 315, kActionHeight = 12, kActionStep = 15;

// An action as the page offers it, its texts expanded.
struct OfferedAction {
    const FinishAction* action;
    std::string target;
    std::string arguments;
    bool chosen = false;  // checked when Finish was clicked
};

std::vector<OfferedAction> gOffered;

bool IsKnownKind(const std::string& kind)
{
    const std::vector<std::string>& kinds = FinishActionKinds();
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// None after a stopped run; none of another kind than RUN and OPEN, none
// whose target was left out or is missing.
std::vector<OfferedAction> OfferedActions()
{
    std::vector<OfferedAction> offered;
    if (gInstall.runStopped)
        return offered;
    for (const FinishAction& action : gRecords.finishActions) {
        if (!IsKnownKind(action.kind))
            continue;
        OfferedAction shown{&action, action.target, action.arguments};
        ExpandVariables(shown.target);
        ExpandVariables(shown.arguments);
        if (!IsWebAddress(shown.target))
            CollapseBackslashes(shown.target);
        if (IsLeftOut(gRecords, shown.target, gVariables))
            continue;
        if (!IsWebAddress(shown.target) && GetFileAttributesA(shown.target.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        offered.push_back(shown);
    }
    return offered;
}

void ShowFinishTexts(HWND page)
{
    SetWindowTextA(page, FinishTitle(gInstall.runStopped).c_str());
    SetDlgItemTextA(page, IDC_FINISH_TEXT, FinishText(gVariables.Get("APPNAME"), gInstall.runStopped).c_str());
}

// One check box per offered action, below the text, after Finish in the
// focus order.
void CreateActionBoxes(HWND page)
{
    for (std::size_t i = 0; i < gOffered.size(); ++i) {
        const int top = kActionsTop + kActionStep * static_cast<int>(i);
        RECT place = {kActionsLeft, top, kActionsRight, top + kActionHeight};
        MapDialogRect(page, &place);
        HWND box = CreateWindowExA(0, "BUTTON", gOffered[i].action->text.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, page,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FINISH_FIRST_ACTION + i)),
                                   gApp.instance, nullptr);
        SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(gPage.font), TRUE);
        CheckDlgButton(page, IDC_FINISH_FIRST_ACTION + static_cast<int>(i),
                       gOffered[i].action->checked ? BST_CHECKED : BST_UNCHECKED);
    }
}

void NoteChosenActions(HWND page)
{
    for (std::size_t i = 0; i < gOffered.size(); ++i)
        gOffered[i].chosen = IsDlgButtonChecked(page, IDC_FINISH_FIRST_ACTION + static_cast<int>(i)) == BST_CHECKED;
}

// A program starts in its own folder; a document or web address where the
// program associated with it decides.
void CarryOutChosenActions()
{
    for (const OfferedAction& offered : gOffered) {
        if (!offered.chosen)
            continue;
        const bool run = offered.action->kind == "RUN";
        if (!StartForUser(offered.target, offered.arguments, run ? ParentDirectory(offered.target) : ""))
            MessageBoxA(gApp.background, ("Setup could not start " + offered.target + ".").c_str(), "Setup",
                        MB_ICONEXCLAMATION | MB_OK);
    }
}

INT_PTR CALLBACK FinishPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_PAGE_NEXT)
        NoteChosenActions(page);
    HandlePageMessage(page, message, wParam, lParam, kPageName);
    if (message == WM_INITDIALOG) {
        ShowFinishTexts(page);
        CreateActionBoxes(page);
        FocusOnOpen(page, IDC_PAGE_NEXT);
    }
    return FALSE;
}

// A stopped run leaves the quit message posted, which would close the page
// unseen; setup ends after this page in any case.
void TakeBackPendingQuit()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace

INT_PTR ShowFinishPage()
{
    TakeBackPendingQuit();
    gOffered = OfferedActions();
    const INT_PTR result = RunPage(IDD_FINISH_PAGE, FinishPageProc);
    if (result == kPageNext)
        CarryOutChosenActions();
    return result;
}
