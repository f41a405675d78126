#include "setup/ui/conflict_dialogs.h"

#include <optional>
#include <string>

#include "setup/install/version_calls.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/splash_and_background.h"

namespace {

struct AnswerButton {
    int id;
    ConflictAnswer answer;
};

struct Question;

// What differs between the two dialogs: what they show and their buttons.
struct AnswerDialog {
    void (*show)(HWND dialog, const Question& question);
    AnswerButton buttons[3];
};

// One showing of a dialog, about these files.
struct Question {
    const AnswerDialog& dialog;
    const std::string& source;
    const std::string& target;
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

void ShowLanguageConflict(HWND dialog, const Question& question)
{
    SetDlgItemTextA(dialog, IDC_CONFLICT_SOURCE, question.source.c_str());
    SetDlgItemTextA(dialog, IDC_CONFLICT_TARGET, question.target.c_str());
    ShowLanguageOf(dialog, question.source, IDC_CONFLICT_SOURCE_LANGUAGE, IDC_CONFLICT_SOURCE_CODEPAGE);
    ShowLanguageOf(dialog, question.target, IDC_CONFLICT_TARGET_LANGUAGE, IDC_CONFLICT_TARGET_CODEPAGE);
}

void ShowOverwriteTarget(HWND dialog, const Question& question)
{
    SetDlgItemTextA(dialog, IDC_OVERWRITE_TARGET, question.target.c_str());
}

const AnswerDialog kLanguageConflict = {
    ShowLanguageConflict,
    {{IDC_CONFLICT_YES, ConflictAnswer::kYes},
     {IDC_CONFLICT_NO, ConflictAnswer::kNo},
     {IDC_CONFLICT_INSTALL_ALL, ConflictAnswer::kAll}}};
const AnswerDialog kOverwrite = {
    ShowOverwriteTarget,
    {{IDC_OVERWRITE_YES, ConflictAnswer::kYes},
     {IDC_OVERWRITE_NO, ConflictAnswer::kNo},
     {IDC_OVERWRITE_ALL, ConflictAnswer::kAll}}};

void OnAnswerDialogInit(HWND dialog, LPARAM parameter)
{
    SetWindowLongPtrA(dialog, DWLP_USER, parameter);
    const auto* question = reinterpret_cast<const Question*>(parameter);
    question->dialog.show(dialog, *question);
}

// Only the answer buttons end the dialog; Esc and the close box leave it open.
void OnAnswerDialogCommand(HWND dialog, int id)
{
    const auto* question = reinterpret_cast<const Question*>(GetWindowLongPtrA(dialog, DWLP_USER));
    for (const AnswerButton& button : question->dialog.buttons) {
        if (button.id == id)
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

ConflictAnswer ShowLanguageConflictDialog(const std::string& source, const std::string& target)
{
    const Question question{kLanguageConflict, source, target};
    return AnswerOf(DialogBoxParamA(gApp.instance, MAKEINTRESOURCEA(IDD_LANGUAGE_CONFLICT), gApp.background,
                                    AnswerDialogProcedure, reinterpret_cast<LPARAM>(&question)));
}

ConflictAnswer ShowOverwriteDialog(const std::string& target)
{
    const std::string noSource;
    const Question question{kOverwrite, noSource, target};
    return AnswerOf(DialogBoxParamA(gApp.instance, MAKEINTRESOURCEA(IDD_OVERWRITE_FILE), gPage.window,
                                    AnswerDialogProcedure, reinterpret_cast<LPARAM>(&question)));
}
