// TesselDemo.exe: the program of the demo product. One window that shows
// its name over the pattern that Tiles.dll draws, or says that the library
// is missing.
#include <windows.h>

#include "examples/demo/tiles.h"

namespace {

const char kWindowClass[] = "TesselDemoWindow";
const char kTitle[] = "Tessel demo";
const char kMissingLibrary[] = "Tessel demo: Tiles.dll is missing.";

// Found wherever Windows finds libraries: setup installs it as a shared file.
struct TilesLibrary {
    HMODULE module = nullptr;
    DrawTilesFunction draw = nullptr;
};

TilesLibrary gTiles;

void LoadTiles()
{
    gTiles.module = LoadLibraryA("Tiles.dll");
    if (gTiles.module)
        gTiles.draw = reinterpret_cast<DrawTilesFunction>(GetProcAddress(gTiles.module, TILES_DRAW_EXPORT));
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const bool tiled = gTiles.draw != nullptr;
    if (tiled)
        gTiles.draw(dc, &client);
    const char* text = tiled ? kTitle : kMissingLibrary;
    // The name stands on a dark band, readable over any tile.
    RECT band = client;
    DrawTextA(dc, text, -1, &band, DT_CALCRECT | DT_SINGLELINE);
    const int bandHeight = band.bottom - band.top + 16;
    band = {client.left, (client.bottom - bandHeight) / 2, client.right, (client.bottom + bandHeight) / 2};
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &paint);
}

LRESULT CALLBACK DemoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    LoadTiles();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DemoWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(kWindowClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 360, 240,
                                nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (gTiles.module)
        FreeLibrary(gTiles.module);
    return static_cast<int>(message.wParam);
}
