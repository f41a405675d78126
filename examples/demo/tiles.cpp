// Tiles.dll: a shared library that the demo program uses and that registers
// itself (DllRegisterServer) when setup installs it.
#include "examples/demo/tiles.h"

#include <olectl.h>

#include <string>

namespace {

HMODULE gModule = nullptr;

constexpr int kTileSize = 24;
const COLORREF kTileColours[] = {RGB(0x2E, 0x6F, 0xB5), RGB(0xE8, 0xA3, 0x3D), RGB(0x4C, 0xA6, 0x6B),
                                 RGB(0xC8, 0x4B, 0x4B)};

std::string ModulePath()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(gModule, path, sizeof path);
    return length < sizeof path ? std::string(path, length) : std::string();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        gModule = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) void WINAPI DrawTiles(HDC dc, const RECT* area)
{
    for (int y = area->top; y < area->bottom; y += kTileSize) {
        for (int x = area->left; x < area->right; x += kTileSize) {
            const int colour = ((x - area->left) / kTileSize + (y - area->top) / kTileSize) % 4;
            HBRUSH brush = CreateSolidBrush(kTileColours[colour]);
            RECT tile = {x + 1, y + 1, x + kTileSize - 1, y + kTileSize - 1};
            if (tile.right > area->right)
                tile.right = area->right;
            if (tile.bottom > area->bottom)
                tile.bottom = area->bottom;
            FillRect(dc, &tile, brush);
            DeleteObject(brush);
        }
    }
}

// Notes the library's path in the registry, as a real server would note its
// classes; the demo program finds nothing else there.
extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    const std::string path = ModulePath();
    HKEY key;
    if (path.empty() || RegCreateKeyExA(HKEY_LOCAL_MACHINE, TILES_REGISTRY_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    const LONG result = RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                       static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    const LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, TILES_REGISTRY_KEY);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
