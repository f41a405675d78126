// Pages, their controls and the folder browser, operated from outside.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "tests/e2e/driver/driver.h"

namespace e2e {

namespace {

// How long an action waits for its control to become usable: the timer
// enables Next up to 50 ms after the change that allows it.
constexpr DWORD kUsableWaitMs = 3000;

// The controls of the shell's folder browser.
constexpr int kBrowserTitle = 0x3742;

struct TextToSend {
    HWND window;
    std::string text;
};

DWORD WINAPI SendTextAndWait(LPVOID context)
{
    const std::unique_ptr<TextToSend> job(static_cast<TextToSend*>(context));
    SendMessageA(job->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(job->text.c_str()));
    return 0;
}

struct ChildSearch {
    HWND parent;
    std::vector<HWND> children;
};

// EnumChildWindows walks grandchildren too; a page's own children only.
BOOL CALLBACK CollectChild(HWND child, LPARAM context)
{
    auto* search = reinterpret_cast<ChildSearch*>(context);
    if (GetParent(child) == search->parent)
        search->children.push_back(child);
    return TRUE;
}

}  // namespace

RemoteBuffer::RemoteBuffer(DWORD processId, size_t size)
    : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId))
{
    if (process_)
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_)
        ADD_FAILURE() << "cannot reach the memory of process " << processId << " (error " << GetLastError() << ")";
}

RemoteBuffer::~RemoteBuffer()
{
    if (address_)
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_)
        CloseHandle(process_);
}

void RemoteBuffer::Write(size_t offset, const void* bytes, size_t size)
{
    SIZE_T written = 0;
    if (!address_ || !WriteProcessMemory(process_, at<char>(offset), bytes, size, &written) || written != size)
        ADD_FAILURE() << "cannot write to the other process";
}

void RemoteBuffer::Read(size_t offset, void* bytes, size_t size) const
{
    SIZE_T read = 0;
    if (!address_ || !ReadProcessMemory(process_, at<char>(offset), bytes, size, &read) || read != size)
        ADD_FAILURE() << "cannot read from the other process";
}

std::string RemoteBuffer::ReadString(size_t offset, size_t maxSize) const
{
    std::string text(maxSize, '\0');
    Read(offset, &text[0], maxSize);
    text.resize(strnlen(text.c_str(), maxSize));
    return text;
}

DWORD Style(HWND window)
{
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

DWORD ExStyle(HWND window)
{
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
}

RECT RectInParent(HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int CheckState(HWND button)
{
    return static_cast<int>(SendMessageA(button, BM_GETCHECK, 0, 0));
}

BITMAPINFO TopDownPixelFormat(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::vector<COLORREF> ClientPixels(HWND window, int x, int y, int width, int height)
{
    // Tests run side by side on one display: no other program's window may
    // cover the one looked at.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    POINT origin = {x, y};
    ClientToScreen(window, &origin);
    BITMAPINFO info = TopDownPixelFormat(width, height);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels;
    const auto* bgrx = static_cast<const BYTE*>(bits);
    for (int i = 0; bits && i < width * height; ++i)
        pixels.push_back(RGB(bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

Page ProgramRun::WaitForPage(int controlId, DWORD timeoutMs)
{
    HWND window = WaitForDialogWith(controlId, timeoutMs);
    if (!window)
        ADD_FAILURE() << "no page with control " << controlId << " appeared";
    return Page(*this, window);
}

FolderBrowser ProgramRun::WaitForFolderBrowser(DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : WindowsOf(processId()))
                if (IsWindowVisible(window) && ClassName(window) == "#32770" &&
                    FindWindowExA(window, nullptr, WC_TREEVIEWA, nullptr)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    if (!found)
        ADD_FAILURE() << "no folder browser appeared";
    return FolderBrowser(*this, found);
}

bool ProgramRun::HasOpenMessageBox()
{
    for (HWND window : WindowsOf(processId()))
        if (IsMessageBox(window) && std::find(answered_.begin(), answered_.end(), window) == answered_.end())
            return true;
    return false;
}

void ProgramRun::WaitUntilAnsweredClosed()
{
    const bool closed = WaitUntil([&] {
        return std::none_of(answered_.begin(), answered_.end(),
                            [](HWND box) { return IsWindow(box) && IsWindowVisible(box); });
    });
    EXPECT_TRUE(closed) << "an answered message box stays open";
}

bool Page::WaitUntilClosed(DWORD timeoutMs) const
{
    return WaitUntil([&] { return !IsOpen(); }, timeoutMs);
}

HWND Page::Control(int id) const
{
    HWND control = GetDlgItem(window_, id);
    if (!control)
        ADD_FAILURE() << "no control " << id << " on \"" << Title() << "\"";
    return control;
}

std::vector<HWND> Page::Children() const
{
    ChildSearch search{window_, {}};
    EnumChildWindows(window_, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.children;
}

HWND Page::CustomControl(const std::string& text) const
{
    for (HWND child : Children())
        if (GetDlgCtrlID(child) == 0 && WindowText(child) == text)
            return child;
    return nullptr;
}

bool Page::WaitForEnabled(int id, bool enabled, DWORD timeoutMs) const
{
    HWND control = Control(id);
    return WaitUntil([&] { return (IsWindowEnabled(control) != FALSE) == enabled; }, timeoutMs);
}

void Page::ExpectUsable(HWND control) const
{
    auto usable = [&] {
        return IsWindow(control) && IsWindowVisible(control) && IsWindowEnabled(control) &&
               !(ClassName(control) == "Edit" && (Style(control) & ES_READONLY));
    };
    if (!WaitUntil(usable, kUsableWaitMs))
        ADD_FAILURE() << "control \"" << WindowText(control) << "\" (" << GetDlgCtrlID(control)
                      << ") cannot be used: hidden, disabled or read-only";
}

void Page::Click(HWND control) const
{
    ExpectUsable(control);
    PostMessageA(control, BM_CLICK, 0, 0);
}

void Page::Type(HWND edit, const std::string& text) const
{
    ExpectUsable(edit);
    HANDLE thread = CreateThread(nullptr, 0, SendTextAndWait, new TextToSend{edit, text}, 0, nullptr);
    ASSERT_TRUE(thread);
    const bool handled = WaitUntil([&] {
        return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0 || (run_ && run_->HasOpenMessageBox());
    });
    CloseHandle(thread);
    EXPECT_TRUE(handled) << "the page did not take the text \"" << text << "\"";
}

void Page::SetChecked(int id, bool checked) const
{
    HWND button = Control(id);
    const int wanted = checked ? BST_CHECKED : BST_UNCHECKED;
    if (CheckState(button) != wanted)
        Click(button);
    EXPECT_TRUE(WaitUntil([&] { return CheckState(button) == wanted; })) << "check box " << id;
}

void Page::ClickWithMouse(HWND control) const
{
    ExpectUsable(control);
    RECT client = {};
    GetClientRect(control, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageA(control, WM_LBUTTONUP, 0, middle);
}

void Page::Settle() const
{
    if (run_)
        run_->WaitUntilAnsweredClosed();
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result))
        << "the program does not read messages";
}

void Page::PressEscape() const
{
    PostMessageA(window_, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(window_, WM_KEYUP, VK_ESCAPE, 0);
}

HWND Page::FocusedControl() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

void Page::BringForwardIfUnfocused() const
{
    // Tests on one display take turns at being in front: a page behind
    // another program has no focus until a person brings it forward.
    if (!WaitUntil([&] { return FocusedControl() != nullptr; }, kUsableWaitMs)) {
        SetForegroundWindow(window_);
        WaitUntil([&] { return FocusedControl() != nullptr; }, kUsableWaitMs);
    }
}

bool Page::WaitForFocus(HWND control) const
{
    BringForwardIfUnfocused();
    return WaitUntil([&] { return FocusedControl() == control; }, kUsableWaitMs);
}

void Page::PressKeyOnFocus(WPARAM key) const
{
    HWND focus = FocusedControl();
    ASSERT_TRUE(focus) << "no window has the keyboard focus";
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

bool Page::TabTo(HWND control) const
{
    // Enough presses to pass every control of a page once.
    BringForwardIfUnfocused();
    for (int presses = 0; presses < 30; ++presses) {
        HWND before = FocusedControl();
        if (before == control)
            return true;
        PressKeyOnFocus(VK_TAB);
        if (!WaitUntil([&] { return FocusedControl() != before; }, kUsableWaitMs))
            return false;
    }
    return FocusedControl() == control;
}

void Page::PressCloseBox() const
{
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::string FolderBrowser::Title() const
{
    return page_.Text(kBrowserTitle);
}

HWND FolderBrowser::Tree() const
{
    HWND tree = FindWindowExA(page_.window(), nullptr, WC_TREEVIEWA, nullptr);
    if (!tree)
        ADD_FAILURE() << "the folder browser has no tree";
    return tree;
}

std::string FolderBrowser::ItemText(HTREEITEM item) const
{
    constexpr size_t kTextSize = 520;
    DWORD processId = 0;
    GetWindowThreadProcessId(page_.window(), &processId);
    RemoteBuffer remote(processId, sizeof(TVITEMA) + kTextSize);
    TVITEMA request = {};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = remote.at<char>(sizeof(TVITEMA));
    request.cchTextMax = kTextSize;
    remote.Write(0, &request, sizeof request);
    if (!SendMessageA(Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.address())))
        return "";
    return remote.ReadString(sizeof(TVITEMA), kTextSize);
}

std::string FolderBrowser::SelectedText() const
{
    const auto selected =
        reinterpret_cast<HTREEITEM>(SendMessageA(Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    return selected ? ItemText(selected) : "";
}

std::vector<HTREEITEM> FolderBrowser::Children(HTREEITEM parent) const
{
    HWND tree = Tree();
    HTREEITEM child;
    if (parent == TVI_ROOT) {
        child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    } else {
        // The browser fills an item's children when it is expanded.
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
        child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    }
    std::vector<HTREEITEM> children;
    for (; child; child = reinterpret_cast<HTREEITEM>(
                      SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        children.push_back(child);
    return children;
}

std::vector<std::string> FolderBrowser::ChildTexts(HTREEITEM parent) const
{
    std::vector<std::string> texts;
    for (HTREEITEM child : Children(parent))
        texts.push_back(ItemText(child));
    return texts;
}

HTREEITEM FolderBrowser::FindChild(HTREEITEM parent, const std::function<bool(const std::string&)>& matches) const
{
    for (HTREEITEM child : Children(parent))
        if (matches(ItemText(child)))
            return child;
    return nullptr;
}

void FolderBrowser::Select(const std::string& folderPath) const
{
    // The tree names a drive by its label and letter, such as "System (C:)",
    // and a folder by its name; drives lie in a folder of the desktop.
    std::vector<std::string> names;
    for (size_t start = 0; start <= folderPath.size();) {
        const size_t end = std::min(folderPath.find('\\', start), folderPath.size());
        if (end > start)
            names.push_back(folderPath.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_FALSE(names.empty());
    const std::string driveMark = "(" + names[0] + ")";
    auto sameName = [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; };
    auto isDrive = [&](const std::string& text) {
        return text.size() >= driveMark.size() && sameName(text.substr(text.size() - driveMark.size()), driveMark);
    };

    const HTREEITEM desktop = Children(TVI_ROOT).empty() ? nullptr : Children(TVI_ROOT).front();
    HTREEITEM item = nullptr;
    for (HTREEITEM folder : Children(desktop))
        if ((item = FindChild(folder, isDrive)))
            break;
    ASSERT_TRUE(item) << "no drive " << names[0] << " in the folder browser";
    for (size_t i = 1; i < names.size(); ++i) {
        const HTREEITEM parent = item;
        item = FindChild(parent, [&](const std::string& text) { return sameName(text, names[i]); });
        ASSERT_TRUE(item) << "no folder " << names[i] << " in the folder browser";
    }
    SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0)), item);
}

void FolderBrowser::Choose() const
{
    page_.Click(IDOK);
}

void FolderBrowser::Cancel() const
{
    page_.Click(IDCANCEL);
}

}  // namespace e2e
