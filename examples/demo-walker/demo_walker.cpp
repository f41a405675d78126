// Walks setup.exe (or Unskein.exe) through its windows without a person:
// clicks Next on every page, answers every message box with its default
// button (or Yes, with --yes), and saves a picture of each page and message
// box as it first appears. scripts/demo uses it when there is no display to
// click through.
//
//   demo_walker PROGRAM FOLDER PICTURE-FOLDER [--yes]
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->first && IsWindowVisible(window))
        found->second.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId)
{
    std::pair<DWORD, std::vector<HWND>> found{processId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

std::string TextOf(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Saves the whole screen as a 24-bit BMP.
void SaveScreen(const std::string& path)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> pixels(rowBytes * static_cast<DWORD>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// The button a person would press to go on: Next on a page, the default
// button of a message box or question.
int ButtonToGoOn(HWND dialog, bool answerYes)
{
    if (answerYes && GetDlgItem(dialog, IDYES))
        return IDYES;
    if (GetDlgItem(dialog, 1017))
        return 1017;
    const LRESULT defaultId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) == DC_HASDEFID)
        return LOWORD(defaultId);
    for (int id : {IDOK, IDYES, IDRETRY})
        if (GetDlgItem(dialog, id))
            return id;
    return 0;  // the copy page: it goes on by itself
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && !(argc == 5 && std::string(argv[4]) == "--yes")) {
        std::fprintf(stderr, "usage: demo_walker PROGRAM FOLDER PICTURE-FOLDER [--yes]\n");
        return 2;
    }
    const std::string program = argv[1], medium = argv[2], pictures = argv[3];
    const bool answerYes = argc == 5;
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, medium.c_str(),
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        return 2;
    }

    std::set<HWND> seen;
    int pictureNumber = 0;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > 300000) {
            std::fprintf(stderr, "the program did not end within five minutes\n");
            TerminateProcess(process.hProcess, 1);
            break;
        }
        for (HWND window : VisibleWindowsOf(process.dwProcessId)) {
            const std::string windowClass = ClassOf(window);
            const bool isDialog = windowClass == "#32770";
            if ((!isDialog && windowClass != "SETUPMAINCLASS_HALLO_WIE_GEHTS") || !seen.insert(window).second)
                continue;
            Sleep(isDialog ? 700 : 200);  // let it paint, and a page's timer settle Next
            char name[32];
            std::snprintf(name, sizeof name, "%02d-", ++pictureNumber);
            std::string title = isDialog ? TextOf(window) : "background";
            for (char& c : title)
                if (!isalnum(static_cast<unsigned char>(c)))
                    c = '_';
            SaveScreen(pictures + "\\" + name + (title.empty() ? "page" : title) + ".bmp");
            std::printf("%s%s\n", name, TextOf(window).c_str());
            const int button = isDialog ? ButtonToGoOn(window, answerYes) : 0;
            if (button == 0)
                continue;  // the background, and the copy page, which ends by itself
            if (HWND accept = GetDlgItem(window, 1048))  // a licence: a person accepts it to go on
                SendMessageA(accept, BM_CLICK, 0, 0);
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("%s ended with exit code %d\n", program.c_str(), static_cast<int>(code));
    return 0;
}
