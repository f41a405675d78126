#include "setup/install/shortcut.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "common/shell_link.h"

HRESULT CreateShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description)
{
    ComPointer<IShellLinkA> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out());
    if (FAILED(result))
        return result;
    link->SetPath(targetPath.c_str());
    link->SetDescription(description.c_str());
    ComPointer<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.out());
    if (FAILED(result))
        return result;
    return file->Save(WidePath(linkPath).data(), TRUE);
}
