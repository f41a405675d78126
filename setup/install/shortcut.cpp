#include "setup/install/shortcut.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

namespace {

// Releases a COM interface when it goes.
template <typename Interface>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer()
    {
        if (pointer_)
            pointer_->Release();
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    Interface* operator->() const { return pointer_; }
    void** out() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

// The wide form that IPersistFile takes, in the ANSI code page the rest of
// setup uses; as long as the path is, so that a long one fails to save
// rather than being saved under a cut name.
std::vector<wchar_t> WidePath(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    return wide;
}

}  // namespace

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
