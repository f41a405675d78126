// The sections page: the script's sections with their sizes. A highlighted
// item is a section that will be installed, always and whatever the input:
// clicks, the space key and the Install section checkbox toggle the
// optional ones, and no other input changes a choice.
#include "setup/ui/pages.h"

#include <commctrl.h>

#include <algorithm>

#include "setup/install/source_sizes.h"
#include "setup/install/text/installation_run.h"
#include "setup/model/text/records.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/text/sections.h"

namespace {

const char kPageName[] = "DIALOG_SECTIONS";
constexpr int kColumnWidth = 100;  // on a 100 % screen

// The list view's own window procedure while the page is open.
WNDPROC gListOwnProcedure = nullptr;

SectionEntry& SectionOfItem(int item)
{
    return gRecords.sections[static_cast<size_t>(item)];
}

int ItemCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

UINT ItemState(HWND list, int item, UINT mask)
{
    return static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
}

void SetItemState(HWND list, int item, UINT mask, UINT state)
{
    LVITEMA change = {};
    change.stateMask = mask;
    change.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&change));
}

// The first item that has the focus; -1 when none has.
int FocusedItem(HWND list)
{
    const int count = ItemCount(list);
    for (int item = 0; item < count; ++item)
        if (ItemState(list, item, LVIS_FOCUSED))
            return item;
    return -1;
}

// Records the user's choice for the item's section and shows what will be
// installed: a mandatory section stays highlighted whatever the choice.
// The item takes the focus; a click also marks it cut while chosen.
void SetChoice(HWND list, int item, int32_t selected, UINT clickMark)
{
    SectionOfItem(item).selected = selected;
    const UINT chosen = IsSectionChosen(SectionOfItem(item)) ? LVIS_SELECTED | clickMark : 0;
    SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED | clickMark, chosen | LVIS_FOCUSED);
}

// A click or the space key: an optional section is toggled, a mandatory
// one chosen (it is installed either way).
void ToggleItem(HWND list, int item, UINT clickMark)
{
    const SectionEntry& section = SectionOfItem(item);
    SetChoice(list, item, section.mandatory == 0 && section.selected != 0 ? 0 : 1, clickMark);
}

void ActivateList(HWND list)
{
    SendMessageA(list, WM_ACTIVATE, WA_CLICKACTIVE, 0);
}

// Shows the comment and flags of one section in the lower half of the page.
void ShowSectionInfo(HWND page, int item)
{
    const SectionEntry& section = SectionOfItem(item);
    SetDlgItemTextA(page, IDC_SECTIONS_COMMENT, section.comment.c_str());
    const bool mandatory = section.mandatory != 0;
    ShowWindow(GetDlgItem(page, IDC_SECTIONS_MUST_INSTALL), mandatory ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(page, IDC_SECTIONS_INSTALL), mandatory ? SW_HIDE : SW_SHOW);
    if (mandatory)
        return;
    if (section.selected == 1)
        CheckDlgButton(page, IDC_SECTIONS_INSTALL, BST_CHECKED);
    else if (section.selected == 0)
        CheckDlgButton(page, IDC_SECTIONS_INSTALL, BST_UNCHECKED);
}

// ---- The list's own procedure, which turns clicks and keys into toggles

// A click takes the keyboard focus to the list and toggles the section hit;
// the clicked item keeps the focus, so the checkbox below acts on the
// section it describes.
void OnListClick(HWND list, LPARAM point)
{
    SetFocus(list);
    ActivateList(list);
    LVHITTESTINFO hit = {};
    hit.pt.x = static_cast<short>(LOWORD(point));
    hit.pt.y = static_cast<short>(HIWORD(point));
    SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if ((hit.flags & LVHT_NOWHERE) || hit.iItem < 0 || hit.iItem >= ItemCount(list))
        return;
    ToggleItem(list, hit.iItem, LVIS_CUT);
    ShowSectionInfo(GetParent(list), hit.iItem);
}

// The arrow keys move the focus by one item within the list; the
// highlights stay as they are.
void OnListArrow(HWND list, WPARAM key)
{
    const int count = ItemCount(list);
    if (count == 0)
        return;
    int item = FocusedItem(list);
    if (item < 0)
        key = VK_DOWN;
    if (key == VK_UP)
        --item;
    else if (key == VK_DOWN)
        ++item;
    item = std::max(0, std::min(item, count - 1));
    SetItemState(list, item, LVIS_FOCUSED, LVIS_FOCUSED);
    ShowSectionInfo(GetParent(list), item);
}

// Space toggles the focused section as a click would.
void OnListSpace(HWND list)
{
    const int item = FocusedItem(list);
    if (item < 0)
        return;
    ToggleItem(list, item, 0);
    ShowSectionInfo(GetParent(list), item);
}

// Every other key is swallowed: the list's own keyboard selection would
// undo the meaning of the highlight.
void OnListKey(HWND list, WPARAM key)
{
    switch (key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        OnListArrow(list, key);
        break;
    case VK_SPACE:
        OnListSpace(list);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK SectionListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a double click toggles again
        OnListClick(list, lParam);
        return 0;
    case WM_KEYDOWN:
        OnListKey(list, wParam);
        return 0;
    // The list's own right-click and type-ahead selection would move the
    // highlight and the focus away from the choices.
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_CHAR:
        return 0;
    default:
        return CallWindowProcA(gListOwnProcedure, list, message, wParam, lParam);
    }
}

// ---- The page

uint64_t GetSectionSize(const std::string& name)
{
    return SumSectionSize(gRecords.files, name, GetFileEntrySize);
}

void InsertColumn(HWND list, int index, const char* title)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = gPage.growth.X(kColumnWidth);
    column.pszText = const_cast<char*>(title);
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void InsertSection(HWND list, int index, const SectionEntry& section)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = index;
    item.pszText = const_cast<char*>(section.name.c_str());
    item.stateMask = LVIS_SELECTED;
    item.state = IsSectionChosen(section) ? LVIS_SELECTED : 0;  // also the choices of an earlier showing
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    const std::string size =
        ShowsSectionSize(gRecords, section.name) ? SectionSizeText(GetSectionSize(section.name)) : "";
    LVITEMA sizeText = {};
    sizeText.iSubItem = 1;
    sizeText.pszText = const_cast<char*>(size.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sizeText));
}

void FillSectionList(HWND page)
{
    HWND list = GetDlgItem(page, IDC_SECTIONS_LIST);
    gListOwnProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SectionListProc)));
    ActivateList(list);
    InsertColumn(list, 0, "Section");
    InsertColumn(list, 1, "Size (Bytes)");
    for (size_t i = 0; i < gRecords.sections.size(); ++i)
        InsertSection(list, static_cast<int>(i), gRecords.sections[i]);
    // Without sections the lower half keeps what the template shows.
    if (gRecords.sections.empty())
        return;
    SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    ShowSectionInfo(page, 0);
}

void RestoreListProcedure(HWND page)
{
    SetWindowLongPtrA(GetDlgItem(page, IDC_SECTIONS_LIST), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(gListOwnProcedure));
}

// The Install section checkbox has toggled its own mark; the focused
// section follows it.
void OnInstallCheckbox(HWND page)
{
    HWND list = GetDlgItem(page, IDC_SECTIONS_LIST);
    const int item = FocusedItem(list);
    if (item < 0)
        return;
    SetChoice(list, item, IsDlgButtonChecked(page, IDC_SECTIONS_INSTALL) == BST_CHECKED ? 1 : 0, 0);
}

// The list asks before an item's state changes: a highlight that would
// differ from the section's choice is refused, whoever asks for it.
BOOL IsHighlightChangeRefused(const NMLISTVIEW& change)
{
    if (change.hdr.code != LVN_ITEMCHANGING || !(change.uChanged & LVIF_STATE) ||
        !((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
        return FALSE;
    if (change.iItem < 0 || change.iItem >= static_cast<int>(gRecords.sections.size()))
        return TRUE;
    return ((change.uNewState & LVIS_SELECTED) != 0) != IsSectionChosen(SectionOfItem(change.iItem));
}

INT_PTR CALLBACK SectionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    HandlePageMessage(page, message, wParam, lParam, kPageName);
    switch (message) {
    case WM_INITDIALOG:
        FillSectionList(page);
        FocusOnOpen(page, IDC_PAGE_NEXT);
        break;
    case WM_DESTROY:
        RestoreListProcedure(page);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SECTIONS_INSTALL)
            OnInstallCheckbox(page);
        break;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->idFrom == IDC_SECTIONS_LIST &&
            IsHighlightChangeRefused(*reinterpret_cast<const NMLISTVIEW*>(lParam))) {
            SetWindowLongPtrA(page, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

INT_PTR ShowSectionsPage()
{
    return RunPage(IDD_SECTIONS_PAGE, SectionsPageProc);
}
