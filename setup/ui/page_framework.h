// What every wizard page shares: custom controls, Next and Cancel, the quit
// question and the timed Next-button conditions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/text/screen_scale.h"
#include "setup/ui/resources/resource_ids.h"

// The buttons of every page template that the pages act on; the third,
// "Last", stays hidden.
enum PageButton { kNextButton = IDC_PAGE_NEXT, kCancelButton = IDC_PAGE_CANCEL };

// Results a page ends with: the dispatcher goes on only after kPageNext.
constexpr INT_PTR kPageNext = 0;
constexpr INT_PTR kPageCancelled = -2;
constexpr INT_PTR kPageBack = -3;        // the user pressed Back
constexpr INT_PTR kPageUnreadable = -4;  // the file the page shows cannot be read (said so)

// What the user left on a page, for Back to show it again: the check state
// of every check box and option, the text of every edit field, in the
// order of the page's controls (those of the script included).
struct PageMemory {
    struct Control {
        LRESULT check = 0;
        std::string text;
    };
    std::vector<Control> controls;  // empty until the page is left
};

// How much a page has grown against a 100 % screen: the dialog base units of
// its font now and at 96 DPI. The page's own controls grow with its font,
// which the system makes in whole pixels (so a little less than the screen's
// scaling); what is placed on the page in pixels of a 100 % screen grows by
// the same share in each direction, so it keeps its place among them.
struct PageGrowth {
    int32_t unitX = 1, unitX100 = 1, unitY = 1, unitY100 = 1;
    int32_t X(int32_t pixels) const { return ScaleBy(pixels, unitX, unitX100); }
    int32_t Y(int32_t pixels) const { return ScaleBy(pixels, unitY, unitY100); }
};

struct PageState {
    HWND window = nullptr;  // the page whose procedure ran most recently
    std::string name;       // and its name, such as "DIALOG_DEST"
    HFONT font = nullptr;   // from the last WM_SETFONT a page received
    PageGrowth growth;      // of that font
    int32_t nextGate = 1;   // while not 1 the timer keeps Next disabled
    int waiting = 0;        // questions the page has open: it takes no input meanwhile
    bool back = false;      // the page shows Back
    PageMemory* memory = nullptr;  // where the page keeps what the user leaves; null without Back
};

extern PageState gPage;

// Every page procedure hands each message to this. Creates and destroys the
// script's controls of the page, shows their "COMMAND" messages, ends the
// page on Next, on Back and on a confirmed Cancel. Where the page has a
// memory, it shows what it holds once the page and the script's controls
// are made, and keeps what the user leaves on Next and Back.
void HandlePageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, const char* pageName);

// A message box modal to the current page: until it is answered the page
// is disabled, takes no command (not even one queued before) and the Next
// conditions rest. Returns the answer.
int PageMessageBox(const char* text, const char* caption, UINT style);
// Runs `ask` (a folder browser, a nested dialog owned by the page) with the
// page waiting as for PageMessageBox.
template <typename Ask>
auto WhilePageWaits(Ask ask)
{
    struct Waiting {
        Waiting() { ++gPage.waiting; }
        ~Waiting() { --gPage.waiting; }
    } waiting;
    return ask();
}

// Gives a control of the page the keyboard focus when the page opens, as
// the dialog manager does (an edit field gets its text selected).
void FocusOnOpen(HWND page, int controlId);

enum QuitMode { kQuitSilently = 0, kQuitAsk = 1, kQuitAbort = 2 };
// Posts the quit message (mode 1 asks first). Returns 1 when setup is to quit.
int RequestQuit(int mode);

// The 50 ms timer procedure on the background window.
void CALLBACK UpdateNextButton(HWND window, UINT message, UINT_PTR timerId, DWORD time);

// Opens a page template modally, owned by the background window. While
// the page waits for an answer its procedure gets no command.
INT_PTR RunPage(int templateId, DLGPROC procedure);

// The whole text of a page's control, however long.
std::string DialogItemText(HWND page, int controlId);
