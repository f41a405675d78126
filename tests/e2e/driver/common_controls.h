// List views and the shell's folder browser of another process, read and
// operated as a person would. Their messages carry pointers to structures,
// which the helpers place in the other process's memory.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace e2e {

// Sends a message to a window of the program and returns once the program
// has handled it; fails the test when it does not within the wait. For
// messages without pointers and those the system carries across processes
// (WM_SETTEXT), and only for those that open no modal window.
LRESULT SendAndWait(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// ---- A list view (report view)
int ListItemCount(HWND list);
// The item's LVIS_ bits among `mask`.
UINT ListItemState(HWND list, int item, UINT mask = LVIS_SELECTED | LVIS_FOCUSED);
// The items shown highlighted, in order.
std::vector<int> HighlightedItems(HWND list);
// The first item with the focus; -1 when none has it.
int FocusedItem(HWND list);
std::string ListItemText(HWND list, int item, int subItem = 0);
std::string ListColumnTitle(HWND list, int column);
int ListColumnWidth(HWND list, int column);
// A left mouse button press on the item's label, handled before it returns.
void ClickListItem(HWND list, int item);
// The same with the right mouse button, pressed and released.
void RightClickListItem(HWND list, int item);
// The same in the empty space below the last item.
void ClickBelowListItems(HWND list);
// A key press (WM_KEYDOWN), handled before it returns.
void PressKey(HWND window, WPARAM key);

// ---- The shell's folder browser
// The browser once the program shows it; null (and a failure) when it does not.
HWND WaitForShellBrowser(ProgramRun& run);
// The text of the tree's top item, the folder the browser starts from.
std::string BrowserRootText(HWND browser);
// Selects the folder `name` directly below the top item.
void SelectBrowserFolder(HWND browser, const std::string& name);
// Presses OK (IDOK) or Cancel (IDCANCEL).
void CloseBrowser(HWND browser, int button);

}  // namespace e2e
