// What every wizard page shares: custom controls, Next and Cancel, the quit
// question and the timed Next-button conditions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "setup/ui/resources/resource_ids.h"

// The buttons that every page template carries.
enum PageButton { kNextButton = IDC_PAGE_NEXT, kCancelButton = IDC_PAGE_CANCEL, kLastButton = IDC_PAGE_LAST };

// Results a page ends with: the dispatcher goes on only after kPageNext.
constexpr INT_PTR kPageNext = 0;
constexpr INT_PTR kPageCancelled = -2;

struct PageState {
    HWND window = nullptr;  // the page whose procedure ran most recently
    std::string name;       // and its name, such as "DIALOG_DEST"
    HFONT font = nullptr;   // from the last WM_SETFONT a page received
    int32_t nextGate = 1;   // while not 1 the timer keeps Next disabled
};

extern PageState gPage;

// Every page procedure hands each message to this. Creates and destroys the
// script's controls of the page, shows their "COMMAND" messages, ends the
// page on Next and on a confirmed Cancel.
void HandlePageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, const char* pageName);

enum QuitMode { kQuitSilently = 0, kQuitAsk = 1, kQuitAbort = 2 };
// The question of the Cancel button, asked again by the disk prompt.
extern const char kQuitQuestion[];
extern const char kQuitCaption[];
// Posts the quit message (mode 1 asks first). Returns 1 when setup is to quit.
int RequestQuit(int mode);

// The 50 ms timer procedure on the background window.
void CALLBACK UpdateNextButton(HWND window, UINT message, UINT_PTR timerId, DWORD time);

// Opens a page template modally, owned by the background window.
INT_PTR RunPage(int templateId, DLGPROC procedure);

// The whole text of a page's control, however long.
std::string DialogItemText(HWND page, int controlId);
