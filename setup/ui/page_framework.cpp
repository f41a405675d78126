#include "setup/ui/page_framework.h"

#include <vector>

#include "setup/install/prompter.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"
#include "setup/ui/splash_and_background.h"

PageState gPage;

namespace {

struct ControlClass {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

// Controls that take input are reached with the Tab key.
constexpr DWORD kInputStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

ControlClass ClassForKind(const std::string& kind)
{
    if (kind == "CHECKBOX")
        return {"BUTTON", kInputStyle | BS_AUTOCHECKBOX, 0};
    if (kind == "CHECKBOX_BTNSTYLE")
        return {"BUTTON", kInputStyle | BS_PUSHLIKE | BS_AUTOCHECKBOX, 0};
    if (kind == "OPTION")
        return {"BUTTON", kInputStyle | BS_AUTORADIOBUTTON, 0};
    if (kind == "OPTION_BTNSTYLE")
        return {"BUTTON", kInputStyle | BS_PUSHLIKE | BS_AUTORADIOBUTTON, 0};
    if (kind == "LABEL")
        return {"STATIC", WS_CHILD | WS_VISIBLE, 0};
    if (kind == "EDIT")
        return {"EDIT", kInputStyle, WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW};
    // A class named directly: push buttons and edit fields take input too.
    const bool input = lstrcmpiA(kind.c_str(), "BUTTON") == 0 || lstrcmpiA(kind.c_str(), "EDIT") == 0;
    return {kind.c_str(), input ? kInputStyle : WS_CHILD | WS_VISIBLE, 0};
}

// The extent from `from` to `to`, within what a window's size can hold.
int Extent(int32_t from, int32_t to)
{
    return HeldTo32Bits(int64_t{to} - from);
}

// The dialog base units of `font` as the dialog manager takes them: the
// average width of the 52 letters, rounded, and the font's height.
SIZE DialogUnitsOf(HDC dc, HFONT font)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SIZE letters = {};
    GetTextExtentPoint32A(dc, kLetters, sizeof kLetters - 1, &letters);
    SelectObject(dc, previous);
    return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

// The page font against the same font at 96 DPI (its size in points, as the
// template gives it, is that of both).
PageGrowth MeasureGrowth(HFONT font)
{
    LOGFONTA face = {};
    if (gApp.dpi == kBaseDpi || !font || !GetObjectA(font, sizeof face, &face))
        return {};
    const int points = MulDiv(face.lfHeight < 0 ? -face.lfHeight : face.lfHeight, 72, gApp.dpi);
    face.lfHeight = -MulDiv(points, kBaseDpi, 72);
    HFONT font100 = CreateFontIndirectA(&face);
    HDC screen = GetDC(nullptr);
    const SIZE now = DialogUnitsOf(screen, font), at100 = DialogUnitsOf(screen, font100);
    ReleaseDC(nullptr, screen);
    DeleteObject(font100);
    return {now.cx, at100.cx, now.cy, at100.cy};
}

// The script places the controls in pixels of a 100 % screen; each edge
// grows with the page, so that controls side by side stay side by side.
void CreateCustomControls(HWND page, const char* pageName)
{
    for (CustomWindow& record : gRecords.windows) {
        if (record.page != pageName || record.window)
            continue;
        const ControlClass cls = ClassForKind(record.kind);
        const PageGrowth& growth = gPage.growth;
        const int32_t left = growth.X(record.left), top = growth.Y(record.top);
        HWND control = CreateWindowExA(cls.exStyle, cls.className, record.text.c_str(), cls.style, left, top,
                                       Extent(left, growth.X(record.right)), Extent(top, growth.Y(record.bottom)),
                                       page, nullptr, gApp.instance, nullptr);
        record.window = control;
        if (!control)
            continue;  // a kind that names no window class: the page goes without it
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(gPage.font), TRUE);
        for (const ActionRecord& action : gRecords.actions)
            if (action.command == "CheckButton" && action.arguments[0] == record.name)
                SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void DestroyCustomControls(const char* pageName)
{
    for (CustomWindow& record : gRecords.windows) {
        if (record.page != pageName)
            continue;
        DestroyWindow(record.window);
        record.window = nullptr;
    }
}

bool gRestoring = false;  // the page's controls are being given what the user left

// The controls whose state the user sets: check boxes, options, edit fields.
template <typename Visit>
void ForEachUserControl(HWND page, Visit visit)
{
    for (HWND control = GetWindow(page, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        char name[16] = "";
        GetClassNameA(control, name, sizeof name);
        const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
        const bool choice = lstrcmpiA(name, "Button") == 0 &&
                            (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_AUTO3STATE);
        if (choice || lstrcmpiA(name, "Edit") == 0)
            visit(control, choice);
    }
}

void KeepLeftState(HWND page)
{
    if (!gPage.memory)
        return;
    gPage.memory->controls.clear();
    ForEachUserControl(page, [](HWND control, bool choice) {
        PageMemory::Control kept;
        if (choice) {
            kept.check = SendMessageA(control, BM_GETCHECK, 0, 0);
        } else {
            kept.text.resize(static_cast<size_t>(GetWindowTextLengthA(control)) + 1);
            kept.text.resize(static_cast<size_t>(GetWindowTextA(control, &kept.text[0], static_cast<int>(kept.text.size()))));
        }
        gPage.memory->controls.push_back(kept);
    });
}

// Without a change notification to the script's "COMMAND" messages: the
// user did nothing.
void RestoreLeftState(HWND page)
{
    if (!gPage.memory || gPage.memory->controls.empty())
        return;
    size_t index = 0;
    gRestoring = true;
    ForEachUserControl(page, [&](HWND control, bool choice) {
        if (index >= gPage.memory->controls.size())
            return;
        const PageMemory::Control& kept = gPage.memory->controls[index++];
        if (choice)
            SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(kept.check), 0);
        else
            SetWindowTextA(control, kept.text.c_str());
    });
    gRestoring = false;
}

// The template's hidden third button becomes Back, left of Next.
void ShowBackButton(HWND page)
{
    HWND back = GetDlgItem(page, IDC_PAGE_LAST);
    if (!gPage.back || !back)
        return;
    SetWindowTextA(back, "< &Back");
    EnableWindow(back, TRUE);
    ShowWindow(back, SW_SHOW);
}

void OnPageButton(HWND page, int id)
{
    if (id == kNextButton) {
        KeepLeftState(page);
        EndDialog(page, kPageNext);
    } else if (id == IDC_PAGE_LAST && gPage.back) {
        KeepLeftState(page);
        EndDialog(page, kPageBack);
    } else if (id == kCancelButton) {
        if (RequestQuit(kQuitAsk) == 1)
            EndDialog(page, kPageCancelled);
    }
}

// What a person does with a control: a click on a button, check box or
// option, a change of an edit field's text. Focus changes and the edit's
// announcement of a change to come are not.
bool IsUserAction(WORD notification)
{
    return notification == BN_CLICKED || notification == EN_CHANGE;
}

// A notification from a custom control: its "COMMAND" messages, in list order.
void OnCustomControlNotification(HWND control, WORD notification)
{
    if (!control || !IsUserAction(notification) || gRestoring)
        return;
    for (const ActionRecord& action : gRecords.actions) {
        if (action.command != "ShowMessage" || action.Trigger() != "COMMAND")
            continue;
        for (const CustomWindow& record : gRecords.windows)
            if (record.window == control && action.Control() == record.name)
                PageMessageBox(action.MessageText().c_str(), action.MessageCaption().c_str(), MB_OK);
    }
}

// Applies one dynamic state to whether Next is enabled; a state whose test
// is neither "VALUE" nor "TEXT" leaves it as it is.
void EvaluateDynamicState(const ActionRecord& state, bool& enabled)
{
    const std::string& source = state.arguments[1];
    const std::string& test = state.arguments[3];
    const std::string& expected = state.arguments[4];
    if (source == "CONTROL") {
        for (const CustomWindow& record : gRecords.windows) {
            if (record.name != state.arguments[2])
                continue;
            if (test == "VALUE") {
                const LRESULT check = SendMessageA(record.window, BM_GETCHECK, 0, 0);
                enabled = ScriptNumber(expected) == check;
            } else if (test == "TEXT") {
                std::vector<char> text(1024, '\0');
                GetWindowTextA(record.window, text.data(), static_cast<int>(text.size()));
                enabled = expected == text.data();
            }
        }
    } else if (source == "VARIABLE") {
        const std::string& value = gVariables.Get(state.arguments[2]);
        if (test == "TEXT")
            enabled = value == expected;
        else if (test == "VALUE")
            enabled = ScriptNumber(value) == ScriptNumber(expected);
    }
}

}  // namespace

int PageMessageBox(const char* text, const char* caption, UINT style)
{
    return WhilePageWaits([&] { return MessageBoxA(gPage.window, text, caption, style); });
}

void FocusOnOpen(HWND page, int controlId)
{
    SendMessageA(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(page, controlId)), TRUE);
}

void HandlePageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, const char* pageName)
{
    gPage.window = page;
    gPage.name = pageName;
    switch (message) {
    case WM_SETFONT:
        gPage.font = reinterpret_cast<HFONT>(wParam);
        gPage.growth = MeasureGrowth(gPage.font);
        break;
    case WM_INITDIALOG:
        gPage.nextGate = 1;  // a gate belongs to the page that closed it
        CreateCustomControls(page, pageName);
        ShowBackButton(page);
        RestoreLeftState(page);
        break;
    case WM_DESTROY:
        DestroyCustomControls(pageName);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) != 0)
            OnPageButton(page, LOWORD(wParam));
        else
            OnCustomControlNotification(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        break;
    default:
        break;
    }
}

int RequestQuit(int mode)
{
    switch (mode) {
    case kQuitSilently:
        PostQuitMessage(0);
        return 1;
    case kQuitAsk:
        if (PageMessageBox(kQuitQuestion, kQuitCaption, MB_ICONQUESTION | MB_YESNO) != IDYES)
            return 0;
        PostQuitMessage(1);
        return 1;
    case kQuitAbort:
        PostQuitMessage(2);
        return 1;
    default:
        return 0;
    }
}

void CALLBACK UpdateNextButton(HWND, UINT, UINT_PTR, DWORD)
{
    // Between pages, and on the copy page, there is no Next button; a null
    // window would make RedrawWindow repaint the whole desktop. While the
    // page waits for an answer, its conditions rest.
    HWND next = GetDlgItem(gPage.window, kNextButton);
    if (!next || gPage.waiting > 0)
        return;
    // The conditions are worked out first and Next is set once: disabling
    // it on the way would take the keyboard focus from it.
    bool enabled = gPage.nextGate == 1;
    if (enabled)
        for (const ActionRecord& action : gRecords.actions)
            if (action.command == "SetNextDynamicState" && action.arguments[0] == gPage.name)
                EvaluateDynamicState(action, enabled);
    // A keyboard user always has a control to act on: a Next about to be
    // disabled, or an active page whose focus came back onto a disabled
    // Next (and so went nowhere), hands it on to the following control.
    HWND focus = GetFocus();
    if ((focus == next && !enabled) ||
        (GetActiveWindow() == gPage.window && (focus == nullptr || focus == gPage.window)))
        SendMessageA(gPage.window, WM_NEXTDLGCTL, 0, FALSE);
    SendMessageA(next, WM_SETREDRAW, FALSE, 0);
    EnableWindow(next, enabled);
    SendMessageA(next, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(next, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

namespace {

DLGPROC gPageProcedure = nullptr;  // of the page open now; pages do not nest

// Drops the commands that reach a page while it waits for an answer: a
// second click on Cancel, or Next behind the quit question, queued before
// the page was disabled.
INT_PTR CALLBACK WaitingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && gPage.waiting > 0)
        return FALSE;
    return gPageProcedure(page, message, wParam, lParam);
}

}  // namespace

INT_PTR RunPage(int templateId, DLGPROC procedure)
{
    gPageProcedure = procedure;
    return DialogBoxParamA(gApp.instance, MAKEINTRESOURCEA(templateId), gApp.background, WaitingPageProc, 0);
}

std::string DialogItemText(HWND page, int controlId)
{
    HWND control = GetDlgItem(page, controlId);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}
