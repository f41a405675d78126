#include "setup/ui/conflict_dialogs.h"

#include <optional>
#include <string>

#include "setup/install/version_calls.h"
#include "setup/install/install_state.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/windows.h"

namespace {

struct AnswerButton {
    int id;
    ConflictAnswer answer;
    bool remembersInstallAll;
};

// What differs between the two dialogs: what they show and their buttons.
struct AnswerDialog {
    void (*show)(HWND dialog);
    AnswerButton buttons[3];
};

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

void ShowLanguageConflict(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_CONFLICT_SOURCE, gInstall.shownSource.c_str());
    SetDlgItemTextA(dialog, IDC_CONFLICT_TARGET, gInstall.shownTarget.c_str());
    ShowLanguageOf(dialog, gInstall.shownSource, IDC_CONFLICT_SOURCE_LANGUAGE, IDC_CONFLICT_SOURCE_CODEPAGE);
    ShowLanguageOf(dialog, gInstall.shownTarget, IDC_CONFLICT_TARGET_LANGUAGE, IDC_CONFLICT_TARGET_CODEPAGE);
}

void ShowOverwriteTarget(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_OVERWRITE_TARGET, gInstall.shownTarget.c_str());
}

const AnswerDialog kLanguageConflict = {
    ShowLanguageConflict,
    {{IDC_CONFLICT_YES, ConflictAnswer::kYes, false},
     {IDC_CONFLICT_NO, ConflictAnswer::kNo, false},
     {IDC_CONFLICT_INSTALL_ALL, ConflictAnswer::kAll, true}}};
const AnswerDialog kOverwrite = {
    ShowOverwriteTarget,
    {{IDC_OVERWRITE_YES, ConflictAnswer::kYes, false},
     {IDC_OVERWRITE_NO, ConflictAnswer::kNo, false},
     {IDC_OVERWRITE_ALL, ConflictAnswer::kAll, true}}};

void OnAnswerDialogInit(HWND dialog, LPARAM parameter)
{
    SetWindowLongPtrA(dialog, DWLP_USER, parameter);
    reinterpret_cast<const AnswerDialog*>(parameter)->show(dialog);
}

// Only the answer buttons end the dialog; Esc and the close box leave it open.
void OnAnswerDialogCommand(HWND dialog, int id)
{
    const auto* answers = reinterpret_cast<const AnswerDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    for (const AnswerButton& button : answers->buttons) {
        if (button.id != id)
            continue;
        if (button.remembersInstallAll)
            gInstall.installAll = true;
        EndDialog(dialog, static_cast<INT_PTR>(button.answer));
    }
}

INT_PTR CALLBACK AnswerDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnAnswerDialogInit(dialog, lParam);
        return TRUE;
    case WM_COMMAND:
        OnAnswerDialogCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

// A dialog that could not be shown (-1) has always counted as Yes.
ConflictAnswer AnswerOf(INT_PTR result)
{
    switch (result) {
    case static_cast<INT_PTR>(ConflictAnswer::kNo): return ConflictAnswer::kNo;
    case static_cast<INT_PTR>(ConflictAnswer::kAll): return ConflictAnswer::kAll;
    default: return ConflictAnswer::kYes;
    }
}

}  // namespace

ConflictAnswer ShowLanguageConflictDialog()
{
    return AnswerOf(DialogBoxParamA(gApp.instance, MAKEINTRESOURCEA(IDD_LANGUAGE_CONFLICT), gApp.background,
                                    AnswerDialogProcedure, reinterpret_cast<LPARAM>(&kLanguageConflict)));
}

ConflictAnswer ShowOverwriteDialog()
{
    return AnswerOf(DialogBoxParamA(gApp.instance, MAKEINTRESOURCEA(IDD_OVERWRITE_FILE), gPage.window,
                                    AnswerDialogProcedure, reinterpret_cast<LPARAM>(&kOverwrite)));
}
