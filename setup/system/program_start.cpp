#include "setup/system/program_start.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <vector>

#include "common/handles.h"
#include "setup/system/system_libraries.h"

namespace {

bool IsVistaOrLater()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 6;
}

// A text for the shell's automation calls, in oleaut32 (looked up: only
// Vista and later come here). Null when it cannot be made; an empty text
// is passed as no value, which leaves the choice to the shell.
class AutomationText {
public:
    explicit AutomationText(const std::string& text)
    {
        const auto allocate = FindSystemFunction<decltype(&::SysAllocString)>(SystemLibrary::kOleAutomation,
                                                                              "SysAllocString");
        const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        std::vector<wchar_t> wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
        if (allocate && !text.empty())
            text_ = allocate(wide.data());
    }
    ~AutomationText()
    {
        const auto release = FindSystemFunction<decltype(&::SysFreeString)>(SystemLibrary::kOleAutomation,
                                                                            "SysFreeString");
        if (text_ && release)
            release(text_);
    }
    AutomationText(const AutomationText&) = delete;
    AutomationText& operator=(const AutomationText&) = delete;
    BSTR get() const { return text_; }
    VARIANT AsVariant() const
    {
        VARIANT value = {};
        value.vt = text_ ? VT_BSTR : VT_EMPTY;
        value.bstrVal = text_;
        return value;
    }

private:
    BSTR text_ = nullptr;
};

// The desktop's automation object, through the shell's list of its windows.
HRESULT FindDesktopShell(ComPointer<IShellDispatch2>& shell)
{
    ComPointer<IShellWindows> windows;
    HRESULT result = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.out());
    if (FAILED(result))
        return result;
    VARIANT nowhere = {};
    nowhere.vt = VT_EMPTY;
    long window = 0;
    ComPointer<IDispatch> desktop;
    result = windows->FindWindowSW(&nowhere, &nowhere, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.typedOut());
    if (result != S_OK || !desktop.get())
        return E_FAIL;  // S_FALSE: no desktop window
    ComPointer<IServiceProvider> provider;
    ComPointer<IShellBrowser> browser;
    ComPointer<IShellView> view;
    ComPointer<IDispatch> background;
    ComPointer<IShellFolderViewDual> folderView;
    ComPointer<IDispatch> application;
    if (FAILED(result = desktop->QueryInterface(IID_IServiceProvider, provider.out())) ||
        FAILED(result = provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.out())) ||
        FAILED(result = browser->QueryActiveShellView(view.typedOut())) ||
        FAILED(result = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.out())) ||
        FAILED(result = background->QueryInterface(IID_IShellFolderViewDual, folderView.out())) ||
        FAILED(result = folderView->get_Application(application.typedOut())))
        return result;
    return application->QueryInterface(IID_IShellDispatch2, shell.out());
}

bool StartThroughDesktopShell(const std::string& target, const std::string& arguments, const std::string& folder)
{
    ComPointer<IShellDispatch2> shell;
    if (FAILED(FindDesktopShell(shell)))
        return false;
    const AutomationText file(target), parameters(arguments), directory(folder);
    if (!file.get())
        return false;
    VARIANT defaultVerb = {};
    defaultVerb.vt = VT_EMPTY;
    VARIANT show = {};
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    // The program started by the shell may take the foreground from setup's pages.
    using AllowForeground = BOOL(WINAPI*)(DWORD);
    if (const auto allow = reinterpret_cast<AllowForeground>(
            GetProcAddress(GetModuleHandleA("USER32.DLL"), "AllowSetForegroundWindow")))
        allow(ASFW_ANY);
    return SUCCEEDED(shell->ShellExecute(file.get(), parameters.AsVariant(), directory.AsVariant(),
                                         defaultVerb, show));
}

}  // namespace

bool StartForUser(const std::string& target, const std::string& arguments, const std::string& folder)
{
    if (IsVistaOrLater() && StartThroughDesktopShell(target, arguments, folder))
        return true;
    const HINSTANCE started =
        ShellExecuteA(nullptr, nullptr, target.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
                      folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(started) > 32;
}
