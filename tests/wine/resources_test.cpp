// The dialog templates and the picture inside setup.exe, read back from the
// program file: ids, classes, texts, styles, sizes, fonts and language.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/support.h"

namespace {

const WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);

struct Item {
    int id;
    std::string className;  // upper case: the resource compiler stores it so
    std::string text;
    DWORD style;
    short x, y, cx, cy;
};

struct Template {
    int id;
    DWORD style;
    std::string title;
    std::string font;
    WORD points;
    short cx, cy;
    std::vector<Item> items;
};

// What the program file holds, in a form a test can compare.
struct ParsedTemplate {
    Template layout;
    DWORD exStyle = 0;
    short x = 0, y = 0;
    bool hasMenuOrClass = false;
    std::vector<DWORD> itemExStyles;
    std::vector<WORD> itemDataSizes;
};

class TemplateReader {
public:
    TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}

    template <typename T>
    T Read()
    {
        T value{};
        if (offset_ + sizeof(T) > size_) {
            ADD_FAILURE() << "template ends early";
            offset_ = size_;
            return value;
        }
        std::memcpy(&value, data_ + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }

    std::string ReadString()
    {
        std::wstring wide;
        for (WCHAR c = Read<WCHAR>(); c != 0 && offset_ < size_; c = Read<WCHAR>())
            wide += c;
        return Ansi(wide);
    }

    // A string or an ordinal (0xFFFF and a number); ordinals come back as "#n".
    std::string ReadNameOrOrdinal()
    {
        const WORD first = Read<WORD>();
        if (first == 0)
            return "";
        if (first == 0xFFFF)
            return "#" + std::to_string(Read<WORD>());
        offset_ -= sizeof(WORD);
        return ReadString();
    }

    void AlignToDword() { offset_ = (offset_ + 3) & ~size_t{3}; }
    bool AtEnd() const { return offset_ >= size_; }

private:
    static std::string Ansi(const std::wstring& wide)
    {
        if (wide.empty())
            return "";
        std::string text(wide.size() * 2, '\0');
        const int length = WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                               static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(length);
        return text;
    }

    const BYTE* data_;
    DWORD size_;
    size_t offset_ = 0;
};

std::string PredefinedClass(const std::string& name)
{
    static const char* const kOrdinals[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
    if (name.size() > 1 && name[0] == '#') {
        const int ordinal = std::stoi(name.substr(1));
        if (ordinal >= 0x80 && ordinal <= 0x85)
            return kOrdinals[ordinal - 0x80];
    }
    std::string upper = name;
    CharUpperA(&upper[0]);
    return upper;
}

class SetupResources : public testing::Test {
protected:
    void SetUp() override
    {
        const std::string program = testing_support::Env("TESSEL_BIN") + "\\setup.exe";
        module_ = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module_) << program;
    }
    void TearDown() override
    {
        if (module_)
            FreeLibrary(module_);
    }

    // The resource in German (Germany); fails when it is missing.
    std::pair<const BYTE*, DWORD> Resource(LPCSTR type, int id)
    {
        HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kGerman);
        if (!found) {
            ADD_FAILURE() << "no German resource " << id;
            return {nullptr, 0};
        }
        return {static_cast<const BYTE*>(LockResource(LoadResource(module_, found))),
                SizeofResource(module_, found)};
    }

    ParsedTemplate Dialog(int id)
    {
        ParsedTemplate parsed;
        parsed.layout.id = id;
        const auto [data, size] = Resource(RT_DIALOG, id);
        if (!data)
            return parsed;
        TemplateReader reader(data, size);
        Template& t = parsed.layout;
        t.style = reader.Read<DWORD>();
        EXPECT_NE(HIWORD(t.style), 0xFFFF) << "dialog " << id << " is an extended template";
        parsed.exStyle = reader.Read<DWORD>();
        const WORD count = reader.Read<WORD>();
        parsed.x = reader.Read<short>();
        parsed.y = reader.Read<short>();
        t.cx = reader.Read<short>();
        t.cy = reader.Read<short>();
        parsed.hasMenuOrClass = !reader.ReadNameOrOrdinal().empty();
        parsed.hasMenuOrClass |= !reader.ReadNameOrOrdinal().empty();
        t.title = reader.ReadString();
        if (t.style & DS_SETFONT) {
            t.points = reader.Read<WORD>();
            t.font = reader.ReadString();
        }
        for (WORD i = 0; i < count && !reader.AtEnd(); ++i) {
            reader.AlignToDword();
            Item item{};
            item.style = reader.Read<DWORD>();
            parsed.itemExStyles.push_back(reader.Read<DWORD>());
            item.x = reader.Read<short>();
            item.y = reader.Read<short>();
            item.cx = reader.Read<short>();
            item.cy = reader.Read<short>();
            item.id = reader.Read<WORD>();
            item.className = PredefinedClass(reader.ReadNameOrOrdinal());
            item.text = reader.ReadNameOrOrdinal();
            const WORD extra = reader.Read<WORD>();
            parsed.itemDataSizes.push_back(extra);
            for (WORD b = 0; b < extra; ++b)
                reader.Read<BYTE>();
            t.items.push_back(item);
        }
        return parsed;
    }

    void ExpectDialog(const Template& expected)
    {
        SCOPED_TRACE("dialog " + std::to_string(expected.id));
        const ParsedTemplate parsed = Dialog(expected.id);
        const Template& actual = parsed.layout;
        EXPECT_EQ(actual.style, expected.style);
        EXPECT_EQ(parsed.exStyle, 0u);
        EXPECT_EQ(parsed.x, 0);
        EXPECT_EQ(parsed.y, 0);
        EXPECT_EQ(actual.cx, expected.cx);
        EXPECT_EQ(actual.cy, expected.cy);
        EXPECT_FALSE(parsed.hasMenuOrClass);
        EXPECT_EQ(actual.title, expected.title);
        EXPECT_EQ(actual.font, expected.font);
        EXPECT_EQ(actual.points, expected.points);
        ASSERT_EQ(actual.items.size(), expected.items.size());
        for (size_t i = 0; i < expected.items.size(); ++i) {
            const Item& e = expected.items[i];
            const Item& a = actual.items[i];
            SCOPED_TRACE("control " + std::to_string(i) + " \"" + e.text + "\"");
            EXPECT_EQ(a.id, e.id);
            EXPECT_EQ(a.className, e.className);
            EXPECT_EQ(a.text, e.text);
            EXPECT_EQ(a.style, e.style) << std::hex << a.style << " instead of " << e.style;
            EXPECT_EQ(parsed.itemExStyles[i], 0u);
            EXPECT_EQ(parsed.itemDataSizes[i], 0u);
            EXPECT_EQ(a.x, e.x);
            EXPECT_EQ(a.y, e.y);
            EXPECT_EQ(a.cx, e.cx);
            EXPECT_EQ(a.cy, e.cy);
        }
    }

    HMODULE module_ = nullptr;
};

constexpr DWORD kPage = 0x80C808C0;
constexpr DWORD kLabel = 0x50020000;
constexpr DWORD kPush = 0x50010000;
constexpr DWORD kField = 0x50810080;
constexpr DWORD kReadOnlyField = 0x50810880;
constexpr int kNone = 65535;

const Item kNext = {1017, "BUTTON", "Next", 0x50010001, 257, 170, 59, 14};
const Item kCancel = {1018, "BUTTON", "Cancel", kPush, 120, 170, 59, 14};
const Item kLast = {5, "BUTTON", "Last", 0x40010000, 188, 170, 59, 14};

TEST_F(SetupResources, WelcomePage)
{
    ExpectDialog({101, kPage, "Welcome to Tessel 1.0", "Tahoma", 8, 323, 188,
                  {kNext, kCancel, {5, "BUTTON", "Last", 0x48010000, 188, 170, 59, 14},
                   {1001, "STATIC",
                    "Welcome to abc-Setup. This software installs the software \"xyz\" with all necessary files.",
                    kLabel, 135, 21, 181, 114},
                   {1000, "STATIC", "CUSTOM TEXT HERE! (IDC_CUSTOM)", kLabel, 135, 65, 181, 75}}});
}

TEST_F(SetupResources, DestinationPage)
{
    ExpectDialog({106, kPage, "Installation Path", "Tahoma", 8, 323, 188,
                  {kNext, kCancel, kLast,
                   {kNone, "BUTTON", "", 0x50000007, 5, 45, 310, 85},
                   {kNone, "STATIC",
                    "Please choose the path this software will be installed.\n"
                    "Some files may be installed not in this directory but in a windows directory\n"
                    "Automatic seeks for a good location on all harddrives",
                    kLabel, 10, 5, 300, 40},
                   {1010, "STATIC", "Installpath:", kLabel, 15, 60, 140, 15},
                   {1011, "EDIT", "", kField, 15, 75, 150, 15},
                   {1012, "BUTTON", "Choose", kPush, 175, 75, 60, 15},
                   {kNone, "STATIC", "Free disk space:", kLabel, 20, 100, 65, 15},
                   {1013, "EDIT", "", kReadOnlyField, 90, 100, 75, 15},
                   {1014, "BUTTON", "Automatic", kPush, 240, 75, 60, 15},
                   {1029, "BUTTON", "Ask if non-existing directory should be created", 0x50010003, 5, 135, 310,
                    20}}});
}

TEST_F(SetupResources, SectionsPage)
{
    ExpectDialog(
        {105, kPage, "Welcome to Tessel 1.0", "Tahoma", 8, 323, 188,
         {kNext, kCancel, kLast,
          {1003, "STATIC", "Choose the sections you wish to install. Some sections must be installed.", kLabel, 10,
           5, 305, 20},
          {1009, "SYSLISTVIEW32", "List3", 0x50818009, 10, 25, 305, 70},
          {1019, "STATIC", "Comment:", kLabel, 20, 105, 140, 10},
          {kNone, "BUTTON", "", 0x50000007, 10, 95, 305, 65},
          {1011, "EDIT", "", 0x50A108C4, 20, 115, 140, 35},
          {kNone, "STATIC", "More information:", kLabel, 175, 105, 130, 10},
          {1024, "STATIC", "Section must be installed", kLabel, 175, 115, 135, 10},
          {1025, "BUTTON", "Install section", 0x50010003, 175, 115, 135, 10}}});
}

TEST_F(SetupResources, ProgramGroupPage)
{
    ExpectDialog(
        {113, kPage, "Program group", "Tahoma", 8, 323, 188,
         {{1030, "BUTTON",
           "Create new group (if nothing is entered, all icons will be placed directly in programs folder)",
           0x50032009, 10, 20, 305, 20},  // wraps where the font is too wide for one line
          {1031, "BUTTON", "Use existing group", 0x50010C09, 10, 60, 305, 15},
          {1032, "BUTTON", "Create no group/icons", 0x50010009, 10, 115, 305, 15},
          {1017, "BUTTON", "Next", 0x50030001, 257, 170, 59, 14},
          kCancel,
          kLast,
          // Ends where the option below begins: painted after it, it would cover the top of the
          // option's text where that takes two lines.
          {1003, "STATIC", "Choose the program group:", kLabel, 10, 5, 305, 15},
          {1011, "EDIT", "", kField, 35, 41, 280, 15},
          {1013, "EDIT", "", kReadOnlyField, 35, 75, 280, 15},
          {1014, "BUTTON", "Browse", kPush, 35, 95, 60, 15},
          {kNone, "STATIC",
           "It is recommended that you don\xB4t change the default. This is the most convenient method.", kLabel,
           10, 145, 310, 20}}});
}

TEST_F(SetupResources, CopyPage)
{
    const DWORD bar = WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_SMOOTH;
    ExpectDialog({111, WS_POPUP | WS_VISIBLE | DS_CENTER | DS_MODALFRAME | DS_SETFONT, "", "Tahoma", 8, 187, 107,
                  {{kNone, "STATIC", "Copying files...", kLabel, 5, 5, 175, 15},
                   {1026, "STATIC", "Section:", kLabel, 5, 20, 35, 10},
                   {1033, "STATIC", "Static", kLabel, 45, 20, 135, 10},
                   {1028, "MSCTLS_PROGRESS32", "", bar, 5, 30, 175, 15},
                   {kNone, "STATIC", "File:", kLabel, 5, 50, 35, 10},
                   {1034, "STATIC", "Static", kLabel, 45, 50, 135, 10},
                   {1027, "MSCTLS_PROGRESS32", "", bar, 5, 60, 175, 15},
                   {1018, "BUTTON", "Cancel", kPush, 65, 85, 50, 14}}});
}

TEST_F(SetupResources, ConflictDialogs)
{
    ExpectDialog(
        {115, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, "Different languages/codepages",
         "MS Sans Serif", 8, 187, 170,
         {{kNone, "STATIC",
           "The already existing file has another language than the file that is currently installed. "
           "Do you yet want to install the file?",
           kLabel, 5, 5, 175, 25},
          {kNone, "STATIC", "Destination file:", kLabel, 5, 40, 60, 15},
          {1035, "EDIT", "", kReadOnlyField, 75, 40, 105, 11},
          {kNone, "STATIC", "Destination language:", kLabel, 5, 55, 65, 15},
          {1036, "EDIT", "", kReadOnlyField, 75, 55, 105, 11},
          {kNone, "STATIC", "Destination codepage:", kLabel, 5, 70, 65, 20},
          {1039, "EDIT", "", kReadOnlyField, 75, 70, 105, 11},
          {kNone, "STATIC", "Source file:", kLabel, 5, 95, 65, 15},
          {1037, "EDIT", "", kReadOnlyField, 75, 95, 105, 11},
          {kNone, "STATIC", "Source language:", kLabel, 5, 110, 65, 15},
          {1038, "EDIT", "", kReadOnlyField, 75, 110, 105, 11},
          {kNone, "STATIC", "Source codepage:", kLabel, 5, 125, 65, 10},
          {1040, "EDIT", "", kReadOnlyField, 75, 125, 105, 11},
          {1012, "BUTTON", "Install all", kPush, 24, 149, 50, 14},
          {1042, "BUTTON", "No", kPush, 77, 149, 50, 14},
          {1041, "BUTTON", "Yes", 0x50010001, 130, 149, 50, 14}}});
    ExpectDialog({116, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, "Overwrite file", "MS Sans Serif", 8, 221,
                  73,
                  {{1034, "EDIT", "", kReadOnlyField, 7, 7, 207, 13},
                   {kNone, "STATIC",
                    "Do you want to overwrite this file? You can also choose to overwrite any program file in the "
                    "application directory.",
                    kLabel, 7, 25, 207, 24},
                   {1012, "BUTTON", "Yes", 0x50010001, 7, 52, 63, 14},
                   {1043, "BUTTON", "No", kPush, 76, 52, 61, 14},
                   {1044, "BUTTON", "Overwrite every file", kPush, 144, 52, 70, 14}}});
}

BOOL CALLBACK NoteLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR context)
{
    reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
    return TRUE;
}

// Each template and the picture exist once, in German (Germany) alone.
TEST_F(SetupResources, EveryTemplateIsGermanOnly)
{
    const std::vector<std::pair<LPCSTR, int>> resources = {{RT_DIALOG, 101}, {RT_DIALOG, 105}, {RT_DIALOG, 106},
                                                           {RT_DIALOG, 111}, {RT_DIALOG, 113}, {RT_DIALOG, 115},
                                                           {RT_DIALOG, 116}, {RT_BITMAP, 106}};
    for (const auto& [type, id] : resources) {
        std::vector<WORD> languages;
        EnumResourceLanguagesA(module_, type, MAKEINTRESOURCEA(id), NoteLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<WORD>{1031}) << "resource " << id;
    }
}

// 256 colours, run-length encoded only where that is smaller.
TEST_F(SetupResources, WelcomePictureIs191By163In256Colours)
{
    const auto [data, size] = Resource(RT_BITMAP, 106);
    ASSERT_TRUE(data);
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    EXPECT_EQ(header.biSize, sizeof header);
    EXPECT_EQ(header.biWidth, 191);
    EXPECT_EQ(header.biHeight, 163);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_GE(header.biClrUsed, 1u);
    EXPECT_LE(header.biClrUsed, 256u);
    const size_t plain = sizeof header + 4 * header.biClrUsed + 192u * 163u;  // rows padded to 4 bytes
    if (header.biCompression == BI_RLE8) {
        EXPECT_LT(size, plain);
    } else {
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(size, plain);
    }
}

}  // namespace
