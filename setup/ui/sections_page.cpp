// The sections page: the script's sections with their sizes. A highlighted
// item is a section that will be installed; clicks, the space key and the
// Install section checkbox toggle the optional ones.
#include "setup/ui/pages.h"

#include <commctrl.h>

#include <algorithm>

#include "setup/install/source_files.h"
#include "setup/script/text/records.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/text/sections.h"

namespace {

const char kPageName[] = "DIALOG_SECTIONS";
constexpr int kColumnWidth = 100;
constexpr UINT kClickedState = LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT;

// The list view's own window procedure while the page is open.
WNDPROC gListOwnProcedure = nullptr;

SectionEntry& SectionOfItem(int item)
{
    return gRecords.sections[static_cast<size_t>(item)];
}

// Scripts mark mandatory sections with 1. Other nonzero marks are
// installed all the same and never lose their highlight, but only a 1 is
// highlighted by the page on its own.
bool IsHighlightedByThePage(const SectionEntry& section)
{
    return section.mandatory == 1;
}

int ItemCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

UINT ItemState(HWND list, int item, UINT mask)
{
    return static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
}

bool IsHighlighted(HWND list, int item)
{
    return ItemState(list, item, LVIS_SELECTED) != 0;
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

// Chooses the item's section: highlighted and focused.
void ChooseItem(HWND list, int item)
{
    SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SectionOfItem(item).selected = 1;
}

// Leaves the item's section out: the highlight goes, the focus stays.
void DropItem(HWND list, int item, UINT clearedStates)
{
    SetItemState(list, item, clearedStates, 0);
    SetItemState(list, item, LVIS_FOCUSED, LVIS_FOCUSED);
    SectionOfItem(item).selected = 0;
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

// A click toggles an optional section and chooses a mandatory one; the
// mandatory sections are highlighted again whatever was hit.
void OnListClick(HWND list, LPARAM point)
{
    ActivateList(list);
    LVHITTESTINFO hit = {};
    hit.pt.x = static_cast<short>(LOWORD(point));
    hit.pt.y = static_cast<short>(HIWORD(point));
    SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const bool onItem = !(hit.flags & LVHT_NOWHERE) && hit.iItem >= 0 && hit.iItem < ItemCount(list);
    if (onItem) {
        const bool dropped = IsHighlighted(list, hit.iItem) && SectionOfItem(hit.iItem).mandatory == 0;
        const UINT state = dropped ? 0 : kClickedState;
        SetItemState(list, hit.iItem, kClickedState, state);
        SectionOfItem(hit.iItem).selected = state != 0 ? 1 : 0;
        ShowSectionInfo(GetParent(list), hit.iItem);
    }
    // An optional section just dropped hands the focus to the mandatory ones.
    const bool focusMandatory =
        onItem && SectionOfItem(hit.iItem).mandatory == 0 && !IsHighlighted(list, hit.iItem);
    const UINT mask = focusMandatory ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
    for (size_t i = 0; i < gRecords.sections.size(); ++i)
        if (IsHighlightedByThePage(gRecords.sections[i]))
            SetItemState(list, static_cast<int>(i), mask, mask);
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

// Space toggles the focused section as a click would, keeping the focus.
void OnListSpace(HWND list)
{
    const int item = FocusedItem(list);
    if (item < 0)
        return;
    if (IsHighlighted(list, item) && SectionOfItem(item).mandatory == 0)
        DropItem(list, item, kClickedState);
    else
        ChooseItem(list, item);
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
        OnListClick(list, lParam);
        return 0;
    case WM_KEYDOWN:
        OnListKey(list, wParam);
        return 0;
    default:
        return CallWindowProcA(gListOwnProcedure, list, message, wParam, lParam);
    }
}

// ---- The page

uint64_t GetSectionSize(const std::string& name)
{
    return SumSectionSize(gRecords.files, name, [](size_t index) { return GetFileEntrySize(index); });
}

void InsertColumn(HWND list, int index, const char* title)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumnWidth;
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
    item.state = IsHighlightedByThePage(section) ? LVIS_SELECTED : 0;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    const std::string size = SectionSizeText(GetSectionSize(section.name));
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
    if (IsDlgButtonChecked(page, IDC_SECTIONS_INSTALL) == BST_CHECKED)
        ChooseItem(list, item);
    else
        DropItem(list, item, LVIS_SELECTED | LVIS_FOCUSED);
}

INT_PTR CALLBACK SectionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    HandlePageMessage(page, message, wParam, lParam, kPageName);
    switch (message) {
    case WM_INITDIALOG:
        FillSectionList(page);
        break;
    case WM_DESTROY:
        RestoreListProcedure(page);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SECTIONS_INSTALL)
            OnInstallCheckbox(page);
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
