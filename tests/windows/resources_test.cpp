// Reads the resources back from the built Verdanelle.scr and installer.exe.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Ordinal(UINT_PTR n) {
    std::string s = "#";
    s += std::to_string(n);
    return s;
}

constexpr WORD polish = 0x0415;
HMODULE saver;

struct Resource {
    const BYTE* data;
    DWORD size;
};

Resource Find(LPCSTR type, int id) {
    HRSRC found = FindResourceExA(saver, type, MAKEINTRESOURCEA(id), polish);
    if (found == nullptr)
        return {nullptr, 0};
    return {static_cast<const BYTE*>(LockResource(LoadResource(saver, found))),
            SizeofResource(saver, found)};
}

// Reads a dialog template field by field.
struct Reader {
    const BYTE* p;
    WORD Word() {
        WORD w;
        std::memcpy(&w, p, 2);
        p += 2;
        return w;
    }
    DWORD Dword() {
        DWORD d;
        std::memcpy(&d, p, 4);
        p += 4;
        return d;
    }
    short Short() { return static_cast<short>(Word()); }
    std::string Text() { // an ordinal reads as "#n"
        WORD first = Word();
        if (first == 0xFFFF)
            return Ordinal(Word());
        std::string s;
        for (WORD c = first; c != 0; c = Word())
            s += static_cast<char>(c);
        return s;
    }
    void Align(const BYTE* base) {
        while ((p - base) % 4)
            ++p;
    }
};

struct Item {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    const char *cls, *text;
};

// Checks the items that follow a dialog header, each aligned to four bytes.
template <std::size_t N> void CheckItems(Reader& in, const BYTE* base, const Item (&items)[N]) {
    for (const Item& item : items) {
        in.Align(base);
        EXPECT_EQ(in.Dword(), item.style) << item.text;
        EXPECT_EQ(in.Dword(), 0u);
        EXPECT_EQ(in.Short(), item.x);
        EXPECT_EQ(in.Short(), item.y);
        EXPECT_EQ(in.Short(), item.cx);
        EXPECT_EQ(in.Short(), item.cy);
        EXPECT_EQ(in.Word(), item.id);
        EXPECT_EQ(in.Text(), item.cls);
        EXPECT_EQ(in.Text(), item.text);
        EXPECT_EQ(in.Word(), 0); // no creation data
    }
}

std::string WindowsPath(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

HMODULE LoadProgram(const char* unixPath) {
    return LoadLibraryExA(WindowsPath(unixPath).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

class Resources : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        saver = LoadProgram(SAVER_PATH);
        ASSERT_NE(saver, nullptr) << SAVER_PATH;
    }
};

} // namespace

TEST_F(Resources, AboutDialog) {
    Resource r = Find(RT_DIALOG, 2003);
    ASSERT_NE(r.data, nullptr);
    Reader in{r.data};
    EXPECT_EQ(in.Dword(), DWORD{DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION});
    EXPECT_EQ(in.Dword(), 0u); // extended style; a classic template starts with its style
    ASSERT_EQ(in.Word(), 5);
    EXPECT_EQ(in.Short(), 51);
    EXPECT_EQ(in.Short(), 25);
    EXPECT_EQ(in.Short(), 123);
    EXPECT_EQ(in.Short(), 68);
    EXPECT_EQ(in.Text(), "");           // no menu
    EXPECT_EQ(in.Text(), "");           // default class
    EXPECT_EQ(in.Text(), "Verdanelle"); // caption
    EXPECT_EQ(in.Word(), 10);
    EXPECT_EQ(in.Text(), "Monotype Corsiva");

    const DWORD child = WS_CHILD | WS_VISIBLE;
    const Item items[] = {
        {child | WS_TABSTOP | BS_DEFPUSHBUTTON | BS_BITMAP, 74, 47, 42, 14, 1, "#128", ""},
        {child | SS_ICON, 7, 7, 20, 20, 0xFFFF, "#130", "#100"},
        {child | SS_BITMAP, 32, 7, 54, 20, 0xFFFF, "#130", "#108"},
        {child | SS_BITMAP, 7, 23, 106, 11, 0xFFFF, "#130", "#109"},
        {child | SS_BITMAP, 18, 35, 85, 10, 0xFFFF, "#130", "#111"},
    };
    CheckItems(in, r.data, items);
}

TEST_F(Resources, ProgramName) {
    Resource r = Find(RT_STRING, 1); // block 1 holds strings 0 to 15
    ASSERT_NE(r.data, nullptr);
    Reader in{r.data};
    EXPECT_EQ(in.Word(), 0); // string 0 is empty
    WORD length = in.Word();
    std::string name;
    for (WORD i = 0; i < length; ++i)
        name += static_cast<char>(in.Word());
    EXPECT_EQ(name, "Verdanelle");
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(in.Word(), 0) << i;
}

TEST_F(Resources, IconGroup) {
    Resource group = Find(RT_GROUP_ICON, 100);
    ASSERT_NE(group.data, nullptr);
    Reader in{group.data};
    EXPECT_EQ(in.Word(), 0);
    EXPECT_EQ(in.Word(), 1);
    ASSERT_EQ(in.Word(), 2);
    const struct {
        int size;
        DWORD bytes;
    } images[] = {{32, 744}, {16, 296}};
    for (const auto& image : images) {
        const BYTE* e = in.p;
        EXPECT_EQ(e[0], image.size);
        EXPECT_EQ(e[1], image.size);
        EXPECT_EQ(e[2], 16); // colours
        in.p += 4;
        EXPECT_EQ(in.Word(), 1); // planes
        EXPECT_EQ(in.Word(), 4); // bits per pixel
        EXPECT_EQ(in.Dword(), image.bytes);
        WORD id = in.Word();
        Resource icon = Find(RT_ICON, id);
        ASSERT_EQ(icon.size, image.bytes) << image.size;
        BITMAPINFOHEADER h;
        std::memcpy(&h, icon.data, sizeof h);
        EXPECT_EQ(h.biWidth, image.size);
        EXPECT_EQ(h.biHeight, image.size * 2); // colours and mask
        EXPECT_EQ(h.biBitCount, 4);
        EXPECT_EQ(h.biPlanes, 1);
    }
}

TEST_F(Resources, Bitmaps) {
    const struct {
        int id, width, height;
    } table[] = {{104, 61, 29}, {108, 95, 29}, {109, 186, 20}, {111, 148, 18}};
    for (const auto& b : table) {
        Resource r = Find(RT_BITMAP, b.id);
        ASSERT_NE(r.data, nullptr) << b.id;
        BITMAPINFOHEADER h;
        std::memcpy(&h, r.data, sizeof h);
        EXPECT_EQ(h.biWidth, b.width) << b.id;
        EXPECT_EQ(h.biHeight, b.height) << b.id;
        EXPECT_EQ(h.biBitCount, 1) << b.id;
        EXPECT_EQ(h.biCompression, DWORD{BI_RGB}) << b.id;
        const BYTE* palette = r.data + h.biSize;
        const BYTE blackThenWhite[] = {0, 0, 0, 0, 255, 255, 255, 0};
        EXPECT_EQ(std::memcmp(palette, blackThenWhite, 8), 0) << b.id;
        DWORD stride = ((b.width + 31) / 32) * 4;
        EXPECT_EQ(r.size, h.biSize + 8 + stride * b.height) << b.id;
    }
}

static std::vector<std::string> types;
static BOOL CALLBACK CollectType(HMODULE, LPSTR type, LONG_PTR) {
    types.push_back(IS_INTRESOURCE(type) ? Ordinal(reinterpret_cast<UINT_PTR>(type))
                                         : std::string(type));
    return TRUE;
}

TEST_F(Resources, NothingElse) {
    types.clear();
    EnumResourceTypesA(saver, CollectType, 0);
    // bitmap icon dialog string group-icon version manifest
    std::vector<std::string> want = {"#2", "#3", "#5", "#6", "#14", "#16", "#24"};
    std::sort(types.begin(), types.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(types, want);
}

TEST(InstallerResources, InstallDialogAndNothingElse) {
    HMODULE installer = LoadProgram(INSTALLER_PATH);
    ASSERT_NE(installer, nullptr);
    HRSRC found = FindResourceExA(installer, RT_DIALOG, "INSTALLDIALOG", polish);
    ASSERT_NE(found, nullptr);
    Reader in{static_cast<const BYTE*>(LockResource(LoadResource(installer, found)))};
    const BYTE* base = in.p;
    EXPECT_EQ(in.Dword(),
              DWORD{DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU});
    EXPECT_EQ(in.Dword(), 0u);
    ASSERT_EQ(in.Word(), 2);
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 177);
    EXPECT_EQ(in.Short(), 69);
    EXPECT_EQ(in.Text(), "");
    EXPECT_EQ(in.Text(), "");
    EXPECT_EQ(in.Text(), "Install");
    EXPECT_EQ(in.Word(), 8);
    EXPECT_EQ(in.Text(), "MS Sans Serif");
    const Item items[] = {
        {WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_DEFPUSHBUTTON, 120, 48, 50, 14, 1,
         "#128", "Ok"},
        {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 7, 7, 163, 36, 1000, "#130",
         "Installing screen saver..."},
    };
    CheckItems(in, base, items);
    types.clear();
    EnumResourceTypesA(installer, CollectType, 0);
    EXPECT_EQ(types, (std::vector<std::string>{"#5", "#16", "#24"}));
}

// What Windows reads of each program before it starts it, and what Explorer
// and the consent prompt show of it.
TEST(ProgramIdentity, ManifestAndVersion) {
    const struct {
        const char *path, *description, *file;
        ACTCTX_REQUESTED_RUN_LEVEL level;
    } programs[] = {
        {SAVER_PATH, "Verdanelle screen saver", "Verdanelle.scr", ACTCTX_RUN_LEVEL_AS_INVOKER},
        {INSTALLER_PATH, "Verdanelle installer", "installer.exe", ACTCTX_RUN_LEVEL_REQUIRE_ADMIN},
    };
    const char* systems[] = {"e2011457-1546-43c5-a5fe-008deee3d3f0",  // Vista
                             "35138b9a-5d96-4fbd-8e2d-a2440225f93a",  // 7
                             "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",  // 8
                             "1f676c76-80e1-4239-95bb-83d0f6d0da78",  // 8.1
                             "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}; // 10 and 11
    for (const auto& p : programs) {
        std::string path = WindowsPath(p.path);
        HMODULE program = LoadProgram(p.path);
        HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        ASSERT_NE(found, nullptr) << p.file;
        std::string xml(static_cast<const char*>(LockResource(LoadResource(program, found))),
                        SizeofResource(program, found));
        // XP SP2 falls over a namespace declared twice on one element.
        const std::string v3 = "xmlns=\"urn:schemas-microsoft-com:asm.v3\"";
        EXPECT_NE(xml.find("<trustInfo " + v3 + ">"), std::string::npos) << p.file;
        EXPECT_EQ(xml.find(v3), xml.rfind(v3)) << p.file;
        EXPECT_NE(xml.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">"),
                  std::string::npos)
            << p.file;
        for (const char* id : systems)
            EXPECT_NE(xml.find(std::string("<supportedOS Id=\"{") + id + "}\"/>"),
                      std::string::npos)
                << p.file << " " << id;

        // The run level as the system's own manifest parser reads it.
        ACTCTXA context = {};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = path.c_str();
        context.lpResourceName = MAKEINTRESOURCEA(1);
        HANDLE parsed = CreateActCtxA(&context);
        ASSERT_NE(parsed, INVALID_HANDLE_VALUE) << p.file << " " << GetLastError();
        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION run = {};
        EXPECT_TRUE(QueryActCtxW(0, parsed, nullptr, RunlevelInformationInActivationContext, &run,
                                 sizeof run, nullptr));
        EXPECT_EQ(run.RunLevel, p.level) << p.file;
        EXPECT_EQ(run.UiAccess, 0u) << p.file;
        ReleaseActCtx(parsed);

        DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
        ASSERT_NE(size, 0u) << p.file;
        std::vector<char> info(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed;
        UINT length;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        const DWORD high = MAKELONG(VERSION_MINOR, VERSION_MAJOR), low = MAKELONG(0, VERSION_PATCH);
        EXPECT_EQ(fixed->dwFileVersionMS, high);
        EXPECT_EQ(fixed->dwFileVersionLS, low);
        EXPECT_EQ(fixed->dwProductVersionMS, high);
        EXPECT_EQ(fixed->dwProductVersionLS, low);
        const std::pair<const char*, const char*> texts[] = {{"ProductName", "Verdanelle"},
                                                             {"FileDescription", p.description},
                                                             {"FileVersion", VERSION},
                                                             {"ProductVersion", VERSION},
                                                             {"OriginalFilename", p.file}};
        for (const auto& [key, want] : texts) {
            char* text = nullptr;
            std::string query = std::string("\\StringFileInfo\\040904B0\\") + key;
            EXPECT_TRUE(VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&text),
                                       &length))
                << p.file << " " << key;
            EXPECT_STREQ(text, want) << p.file << " " << key;
        }
    }
}
