#include "tests/e2e/driver/common_controls.h"

#include <gtest/gtest.h>

#include <cstring>

namespace e2e {

namespace {

constexpr size_t kTextSize = 520;

// Memory in the process that owns `window`, freed when the object goes.
class ForeignMemory {
public:
    ForeignMemory(HWND window, size_t size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            address_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!address_)
            ADD_FAILURE() << "cannot reach the memory of process " << processId;
    }
    ~ForeignMemory()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    ForeignMemory(const ForeignMemory&) = delete;
    ForeignMemory& operator=(const ForeignMemory&) = delete;

    char* at(size_t offset) const { return address_ + offset; }
    LPARAM param() const { return reinterpret_cast<LPARAM>(address_); }
    void Write(size_t offset, const void* bytes, size_t size)
    {
        if (!address_ || !WriteProcessMemory(process_, at(offset), bytes, size, nullptr))
            ADD_FAILURE() << "cannot write to the other process";
    }
    void Read(size_t offset, void* bytes, size_t size) const
    {
        if (!address_ || !ReadProcessMemory(process_, at(offset), bytes, size, nullptr))
            ADD_FAILURE() << "cannot read from the other process";
    }
    std::string ReadText(size_t offset) const
    {
        char text[kTextSize] = "";
        Read(offset, text, sizeof text - 1);
        return text;
    }

private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
};

// Asks for a text through a structure that names the buffer to fill
// (LVITEMA, LVCOLUMNA, TVITEMA); "" when the control gives none.
template <typename Request>
std::string RequestText(HWND control, UINT message, WPARAM wParam, Request request)
{
    ForeignMemory memory(control, sizeof(Request) + kTextSize);
    request.pszText = memory.at(sizeof(Request));
    request.cchTextMax = kTextSize;
    memory.Write(0, &request, sizeof request);
    if (!SendAndWait(control, message, wParam, memory.param()))
        return "";
    return memory.ReadText(sizeof(Request));
}

RECT ItemLabelRect(HWND list, int item)
{
    ForeignMemory memory(list, sizeof(RECT));
    RECT rect = {};
    rect.left = LVIR_LABEL;
    memory.Write(0, &rect, sizeof rect);
    EXPECT_TRUE(SendAndWait(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), memory.param()))
        << "item " << item;
    memory.Read(0, &rect, sizeof rect);
    return rect;
}

void PressLeftButton(HWND list, int x, int y)
{
    SendAndWait(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

HWND BrowserTree(HWND browser)
{
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    EXPECT_TRUE(tree) << "the folder browser has no tree";
    return tree;
}

HTREEITEM NextTreeItem(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(
        SendAndWait(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string TreeItemText(HWND tree, HTREEITEM item)
{
    TVITEMA request = {};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    return RequestText(tree, TVM_GETITEMA, 0, request);
}

}  // namespace

LRESULT SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &result))
        ADD_FAILURE() << "the program did not handle message " << message;
    return static_cast<LRESULT>(result);
}

int ListItemCount(HWND list)
{
    return static_cast<int>(SendAndWait(list, LVM_GETITEMCOUNT));
}

UINT ListItemState(HWND list, int item, UINT mask)
{
    return static_cast<UINT>(SendAndWait(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
}

std::vector<int> HighlightedItems(HWND list)
{
    std::vector<int> items;
    for (int item = 0, count = ListItemCount(list); item < count; ++item)
        if (ListItemState(list, item, LVIS_SELECTED))
            items.push_back(item);
    return items;
}

int FocusedItem(HWND list)
{
    for (int item = 0, count = ListItemCount(list); item < count; ++item)
        if (ListItemState(list, item, LVIS_FOCUSED))
            return item;
    return -1;
}

std::string ListItemText(HWND list, int item, int subItem)
{
    LVITEMA request = {};
    request.iSubItem = subItem;
    return RequestText(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), request);
}

std::string ListColumnTitle(HWND list, int column)
{
    LVCOLUMNA request = {};
    request.mask = LVCF_TEXT;
    return RequestText(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), request);
}

int ListColumnWidth(HWND list, int column)
{
    return static_cast<int>(SendAndWait(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

void ClickListItem(HWND list, int item)
{
    const RECT label = ItemLabelRect(list, item);
    PressLeftButton(list, (label.left + label.right) / 2, (label.top + label.bottom) / 2);
}

void RightClickListItem(HWND list, int item)
{
    const RECT label = ItemLabelRect(list, item);
    const LPARAM point = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
    // Posted first, the release ends any wait of the list for it.
    PostMessageA(list, WM_RBUTTONUP, 0, point);
    SendAndWait(list, WM_RBUTTONDOWN, MK_RBUTTON, point);
}

void ClickBelowListItems(HWND list)
{
    const int count = ListItemCount(list);
    const int top = count > 0 ? ItemLabelRect(list, count - 1).bottom : 30;
    RECT client = {};
    GetClientRect(list, &client);
    ASSERT_LT(top + 4, client.bottom) << "no empty space below the items";
    PressLeftButton(list, 20, top + 4);
}

void PressKey(HWND window, WPARAM key)
{
    SendAndWait(window, WM_KEYDOWN, key, 1);
}

HWND WaitForShellBrowser(ProgramRun& run)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : WindowsOf(run.processId()))
            if (IsWindowVisible(window) && ClassName(window) == "#32770" &&
                FindWindowExA(window, nullptr, WC_TREEVIEWA, nullptr)) {
                found = window;
                return true;
            }
        return false;
    });
    if (!found)
        ADD_FAILURE() << "no folder browser appeared";
    return found;
}

std::string BrowserRootText(HWND browser)
{
    HWND tree = BrowserTree(browser);
    return TreeItemText(tree, NextTreeItem(tree, TVGN_ROOT, nullptr));
}

void SelectBrowserFolder(HWND browser, const std::string& name)
{
    HWND tree = BrowserTree(browser);
    const HTREEITEM root = NextTreeItem(tree, TVGN_ROOT, nullptr);
    // The browser fills in an item's children when it is opened.
    SendAndWait(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    HTREEITEM item = NextTreeItem(tree, TVGN_CHILD, root);
    while (item && lstrcmpiA(TreeItemText(tree, item).c_str(), name.c_str()) != 0)
        item = NextTreeItem(tree, TVGN_NEXT, item);
    ASSERT_TRUE(item) << "no folder " << name << " in the folder browser";
    SendAndWait(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(NextTreeItem(tree, TVGN_CARET, nullptr), item);
}

void CloseBrowser(HWND browser, int button)
{
    HWND control = GetDlgItem(browser, button);
    ASSERT_TRUE(control) << "no button " << button << " in the folder browser";
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

}  // namespace e2e
