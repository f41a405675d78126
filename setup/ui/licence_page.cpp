// The licence page and the text page: a file shown read-only in a box that
// scrolls, with the choice to accept it on the licence page. The box is the
// system's rich edit control, which holds any length and shows .rtf files
// as rich text; Windows 95 may lack version 2 of it, and without either
// the box is an edit field.
#include "setup/ui/pages.h"

#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string>

#include "common/system_folder.h"
#include "common/whole_file.h"
#include "setup/install/packaged_medium.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"

namespace {

const char kLicencePageName[] = "DIALOG_LICENCE";
const char kTextPageName[] = "DIALOG_TEXT";

// What the page open now shows.
struct ShownFile {
    const char* pageName;
    std::string text;
    bool rich;  // an .rtf file
    std::string title;
};
const ShownFile* gShown = nullptr;

// The bytes of a file of the medium, also of one that a starter's package
// holds; nothing when it cannot be read.
std::optional<std::string> ReadShownFile(const std::string& path)
{
    const PackagedFile* packaged = FindPackagedFile(path);
    if (!packaged)
        return ReadWholeFile(path);
    if (packaged->size > MAXDWORD / 2)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(packaged->size), '\0');
    if (!bytes.empty() && !ReadPackagedFile(*packaged, 0, &bytes[0], static_cast<DWORD>(bytes.size())))
        return std::nullopt;
    return bytes;
}

bool EndsWithRtf(const std::string& path)
{
    return path.size() >= 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".rtf") == 0;
}

// The rich edit control's window class, its library loaded for the run;
// null when the system has none.
const char* RichEditClass()
{
    static const char* const cls = LoadSystemLibrary("riched20.dll")   ? RICHEDIT_CLASSA
                                   : LoadSystemLibrary("riched32.dll") ? "RICHEDIT"
                                                                       : nullptr;
    return cls;
}

// Hands the text to the rich edit control in pieces. A piece never ends
// between CR and LF: the control would take them as two line ends.
DWORD CALLBACK StreamText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    std::string& rest = *reinterpret_cast<std::string*>(cookie);
    size_t count = std::min<size_t>(rest.size(), static_cast<size_t>(wanted));
    if (count > 1 && count < rest.size() && rest[count - 1] == '\r' && rest[count] == '\n')
        --count;
    CopyMemory(buffer, rest.data(), count);
    rest.erase(0, count);
    *given = static_cast<LONG>(count);
    return 0;
}

// An edit field breaks lines at CR LF only.
std::string WithWindowsLineEnds(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

// Makes the text box in the place of the template's frame and fills it.
void ShowFileText(HWND page)
{
    RECT place = {};
    HWND frame = GetDlgItem(page, IDC_LICENCE_FRAME);
    GetWindowRect(frame, &place);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
    const char* rich = RichEditClass();
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                        ES_AUTOVSCROLL;
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, rich ? rich : "EDIT", "", style, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, page,
                               reinterpret_cast<HMENU>(IDC_LICENCE_TEXT), GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(box, frame, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // its place in the Tab order
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(gPage.font), FALSE);
    if (!rich) {
        SendMessageA(box, EM_LIMITTEXT, 0, 0);  // as much as the system allows
        SetWindowTextA(box, WithWindowsLineEnds(gShown->text).c_str());
        return;
    }
    SendMessageA(box, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(gShown->text.size() + 1));
    std::string rest = gShown->text;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&rest), 0, StreamText};
    SendMessageA(box, EM_STREAMIN, gShown->rich ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

bool IsAccepted(HWND page)
{
    return IsDlgButtonChecked(page, IDC_LICENCE_ACCEPT) == BST_CHECKED;
}

void OnLicenceChoice(HWND page)
{
    gPage.nextGate = IsAccepted(page) ? 1 : 0;
}

void ShowPageTexts(HWND page)
{
    ShowFileText(page);
    if (gShown->pageName == kLicencePageName) {
        CheckDlgButton(page, IDC_LICENCE_DECLINE, BST_CHECKED);
        return;
    }
    SetWindowTextA(page, gShown->title.c_str());
    SetDlgItemTextA(page, IDC_LICENCE_HEADING, gShown->title.c_str());
    ShowWindow(GetDlgItem(page, IDC_LICENCE_ACCEPT), SW_HIDE);
    ShowWindow(GetDlgItem(page, IDC_LICENCE_DECLINE), SW_HIDE);
}

INT_PTR CALLBACK LicencePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool licence = gShown->pageName == kLicencePageName;
    // Next goes on only with the agreement accepted, whatever sent it.
    if (licence && message == WM_COMMAND && LOWORD(wParam) == IDC_PAGE_NEXT && !IsAccepted(page))
        return FALSE;
    if (message == WM_INITDIALOG)
        ShowPageTexts(page);
    HandlePageMessage(page, message, wParam, lParam, gShown->pageName);
    if (message == WM_INITDIALOG) {
        // The keys scroll the text, which is read from its start, not selected.
        FocusOnOpen(page, IDC_LICENCE_TEXT);
        SendDlgItemMessageA(page, IDC_LICENCE_TEXT, EM_SETSEL, 0, 0);
    }
    if (!licence)
        return FALSE;
    // On opening also the answer the user left there before.
    if (message == WM_INITDIALOG ||
        (message == WM_COMMAND && (LOWORD(wParam) == IDC_LICENCE_ACCEPT || LOWORD(wParam) == IDC_LICENCE_DECLINE)))
        OnLicenceChoice(page);
    return FALSE;
}

INT_PTR ShowFilePage(const char* pageName, const std::string& file, const std::string& title)
{
    const std::optional<std::string> text = ReadShownFile(file);
    if (!text) {
        const std::string message = "Setup cannot read the file " + file + ". Setup cannot be continued.";
        MessageBoxA(nullptr, message.c_str(), "Fatal error", MB_ICONERROR);
        return kPageUnreadable;
    }
    const ShownFile shown{pageName, *text, EndsWithRtf(file), title};
    gShown = &shown;
    const INT_PTR result = RunPage(IDD_LICENCE_PAGE, LicencePageProc);
    gShown = nullptr;
    return result;
}

}  // namespace

INT_PTR ShowLicencePage(const std::string& file)
{
    return ShowFilePage(kLicencePageName, file, "");
}

INT_PTR ShowTextPage(const std::string& file, const std::string& title)
{
    return ShowFilePage(kTextPageName, file, title);
}
