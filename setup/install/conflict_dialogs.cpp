#include "setup/install/conflict_dialogs.h"

#include <optional>
#include <string>

#include "setup/install/deferred_replacement.h"
#include "setup/install/install_state.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/windows.h"

namespace {

// Fills the language and code page fields of one file; a file without
// version information, or without a translation block, leaves them empty.
void ShowLanguageOf(HWND dialog, const std::string& path, int languageField, int codePageField)
{
    const std::optional<VersionInfo> version = ReadVersionInfo(path);
    if (!version || !version->hasTranslation)
        return;
    SetDlgItemTextA(dialog, languageField, version->languageName.c_str());
    SetDlgItemTextA(dialog, codePageField, std::to_string(version->codePage).c_str());
}

void OnLanguageConflictInit(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_CONFLICT_SOURCE, gInstall.shownSource.c_str());
    SetDlgItemTextA(dialog, IDC_CONFLICT_TARGET, gInstall.shownTarget.c_str());
    ShowLanguageOf(dialog, gInstall.shownSource, IDC_CONFLICT_SOURCE_LANGUAGE, IDC_CONFLICT_SOURCE_CODEPAGE);
    ShowLanguageOf(dialog, gInstall.shownTarget, IDC_CONFLICT_TARGET_LANGUAGE, IDC_CONFLICT_TARGET_CODEPAGE);
}

// Only the three buttons end the dialog; Esc and the close box leave it open.
void OnLanguageConflictCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_CONFLICT_YES:
        EndDialog(dialog, 1);
        break;
    case IDC_CONFLICT_NO:
        EndDialog(dialog, 0);
        break;
    case IDC_CONFLICT_INSTALL_ALL:
        gInstall.installAll = true;
        EndDialog(dialog, 2);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK LanguageConflictProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnLanguageConflictInit(dialog);
        return TRUE;
    case WM_COMMAND:
        OnLanguageConflictCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void OnOverwriteCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_OVERWRITE_YES:
        EndDialog(dialog, 1);
        break;
    case IDC_OVERWRITE_NO:
        EndDialog(dialog, 0);
        break;
    case IDC_OVERWRITE_ALL:
        gInstall.installAll = true;
        EndDialog(dialog, 2);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK OverwriteProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_OVERWRITE_TARGET, gInstall.shownTarget.c_str());
        return TRUE;
    case WM_COMMAND:
        OnOverwriteCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR ShowLanguageConflictDialog()
{
    return DialogBoxParamA(gApp.instance, MAKEINTRESOURCEA(IDD_LANGUAGE_CONFLICT), gApp.background,
                           LanguageConflictProcedure, 0);
}

INT_PTR ShowOverwriteDialog()
{
    return DialogBoxParamA(gApp.instance, MAKEINTRESOURCEA(IDD_OVERWRITE_FILE), gPage.window, OverwriteProcedure, 0);
}
