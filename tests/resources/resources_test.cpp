// The resources linked into every executable: loaded back from this test
// program's own image, as the program loads them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "toolkit/errors.h"

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

struct Dib {
    int width = 0, height = 0, bits = 0;
    std::vector<std::uint32_t> pixels; // top-down, 0x00RRGGBB
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Loads a bitmap resource keeping its stored depth, and reads its pixels back
// as 32-bit colours.
Dib LoadDib(const wchar_t* name)
{
    Dib dib;
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageW(Self(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bmp) return dib;
    DIBSECTION section{};
    GetObjectW(bmp, sizeof section, &section);
    dib.width = section.dsBmih.biWidth;
    dib.height = std::abs(section.dsBmih.biHeight);
    dib.bits = section.dsBmih.biBitCount;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = dib.width;
    info.bmiHeader.biHeight = -dib.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dib.pixels.resize(static_cast<size_t>(dib.width) * dib.height);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, dib.height, dib.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bmp);
    for (auto& p : dib.pixels) p &= 0xFFFFFF;
    return dib;
}

constexpr std::uint32_t kWhite = 0xFFFFFF;

} // namespace

TEST(ProgramIcon, HoldsEverySizeTheShellAsksForAnd32x32WithAlphaAndMask)
{
    HRSRC group = FindResourceW(Self(), MAKEINTRESOURCEW(IDI_QUENFEL), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto* dir = static_cast<const std::uint8_t*>(LockResource(LoadResource(Self(), group)));
    ASSERT_NE(dir, nullptr);
    // GRPICONDIR: reserved, type 1, count; then 14-byte entries.
    EXPECT_EQ(*reinterpret_cast<const WORD*>(dir + 2), 1);
    // Small icons at 100 to 200 % (16 to 32), large ones (32 to 64), and 256.
    const int sides[] = {16, 20, 24, 32, 40, 48, 64, 256};
    ASSERT_EQ(*reinterpret_cast<const WORD*>(dir + 4), std::size(sides));
    for (std::size_t i = 0; i < std::size(sides); ++i) {
        const std::uint8_t* e = dir + 6 + 14 * i;
        EXPECT_EQ(e[0] == 0 ? 256 : e[0], sides[i]);
        EXPECT_EQ(e[1] == 0 ? 256 : e[1], sides[i]);
        EXPECT_EQ(*reinterpret_cast<const WORD*>(e + 6), 32);
        // Each size drawn for itself: asked for that size, the system picks
        // exactly this image, so it stretches none.
        EXPECT_EQ(LookupIconIdFromDirectoryEx(const_cast<PBYTE>(dir), TRUE, sides[i], sides[i], LR_DEFAULTCOLOR),
                  *reinterpret_cast<const WORD*>(e + 12))
            << sides[i] << " px";
    }
    const std::uint8_t* entry = dir + 6 + 14 * 3;
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32);   // bits per pixel
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(entry + 8), 4264u);
    const WORD imageId = *reinterpret_cast<const WORD*>(entry + 12);

    HRSRC image = FindResourceW(Self(), MAKEINTRESOURCEW(imageId), RT_ICON);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(SizeofResource(Self(), image), 4264u);
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Self(), image)));
    EXPECT_EQ(header->biWidth, 32);
    EXPECT_EQ(header->biHeight, 64);   // colour image plus mask
    EXPECT_EQ(header->biBitCount, 32);

    // Corners are transparent in both alpha and mask; the centre is opaque.
    auto* bgra = reinterpret_cast<const std::uint8_t*>(header + 1);
    const std::uint8_t* mask = bgra + 32 * 32 * 4;
    EXPECT_EQ(bgra[3], 0);                                // bottom-left alpha
    EXPECT_EQ(mask[0] & 0x80, 0x80);
    EXPECT_EQ(bgra[(16 * 32 + 16) * 4 + 3], 255);         // centre alpha
    EXPECT_EQ(mask[16 * 4 + 2] & 0x80, 0);

    HICON icon = LoadIconW(Self(), MAKEINTRESOURCEW(IDI_QUENFEL));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(Glyphs, HaveTheirSizesDepthsAndWhiteCorner)
{
    struct Expected { int id, width, height, bits; bool whiteCorner; };
    const Expected all[] = {
        {IDB_BUTTON_OPTIMIZE, 16, 16, 24, true},
        {IDB_BUTTON_SETTINGS, 16, 16, 24, true},
        {IDB_BUTTON_TRAY, 16, 16, 24, true},
        {IDB_SPEED_SETTINGS, 15, 16, 4, false},
        {IDB_SPEED_OPTIMIZE, 17, 15, 4, false},
        {IDB_MENU_OPEN_MAIN, 16, 16, 4, true},
        {IDB_MENU_OPTIMIZE, 16, 16, 4, false},
        // Drawn again at 125, 150 and 200 %.
        {IDB_BUTTON_OPTIMIZE + 1000, 20, 20, 24, true},
        {IDB_BUTTON_SETTINGS + 2000, 24, 24, 24, true},
        {IDB_BUTTON_TRAY + 3000, 32, 32, 24, true},
        {IDB_SPEED_SETTINGS + 1000, 19, 20, 4, false},
        {IDB_SPEED_OPTIMIZE + 2000, 26, 22, 4, false},
        {IDB_MENU_OPEN_MAIN + 2000, 24, 24, 4, true},
        {IDB_MENU_OPTIMIZE + 3000, 32, 32, 4, false},
    };
    for (const auto& e : all) {
        SCOPED_TRACE(e.id);
        Dib dib = LoadDib(MAKEINTRESOURCEW(e.id));
        EXPECT_EQ(dib.width, e.width);
        EXPECT_EQ(dib.height, e.height);
        EXPECT_EQ(dib.bits, e.bits);
        if (e.whiteCorner && !dib.pixels.empty()) {
            EXPECT_EQ(dib.At(0, 0), kWhite);
        }
    }
}

TEST(Glyphs, ButtonImagesAreNotBlank)
{
    // The transparent colour is the top-left one; each glyph must still
    // draw something of its own.
    for (int id : {IDB_BUTTON_OPTIMIZE, IDB_BUTTON_SETTINGS, IDB_BUTTON_TRAY}) {
        Dib dib = LoadDib(MAKEINTRESOURCEW(id));
        int drawn = 0;
        for (auto p : dib.pixels) drawn += p != kWhite;
        EXPECT_GT(drawn, 40) << id;
    }
}

TEST(SpinArrows, AreBlackTrianglesOnOlive)
{
    constexpr std::uint32_t olive = 0x808000;
    for (bool up : {true, false}) {
        SCOPED_TRACE(up ? "SpinUp" : "SpinDown");
        Dib dib = LoadDib(up ? kSpinUpBitmap : kSpinDownBitmap);
        ASSERT_EQ(dib.width, 9);
        ASSERT_EQ(dib.height, 6);
        EXPECT_EQ(dib.bits, 4);
        for (int y = 0; y < 6; ++y) {
            // Row 1 of the up arrow is its apex; the down arrow is flipped.
            const int fromApex = up ? y - 1 : 4 - y;
            for (int x = 0; x < 9; ++x) {
                const bool black = fromApex >= 0 && fromApex < 4 && x >= 4 - fromApex && x <= 4 + fromApex;
                EXPECT_EQ(dib.At(x, y), black ? 0u : olive) << "x=" << x << " y=" << y;
            }
        }
    }
}

TEST(Version, NamesTheProductAndVersion)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(5, 1));
    wchar_t* name = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                               reinterpret_cast<void**>(&name), &len));
    EXPECT_EQ(std::wstring(name), L"Quenfel");
}

TEST(Manifest, ActivatesCommonControls6)
{
    INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);

    // The library loaded is the side-by-side version 6 assembly. (Its
    // DllGetVersion says 6 on Windows; Wine's reports 5.81 for both copies.)
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(comctl, path, MAX_PATH);
    std::wstring lower(path);
    CharLowerW(lower.data());
    EXPECT_NE(lower.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << ToUtf8(lower);

    // And the version 6 behaviour is there: push buttons answer for their
    // ideal size, which the older controls leave unhandled.
    HWND button = CreateWindowExW(0, L"BUTTON", L"&Optimize Now", WS_POPUP | BS_PUSHBUTTON,
                                  0, 0, 10, 10, nullptr, nullptr, Self(), nullptr);
    ASSERT_NE(button, nullptr);
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
    DestroyWindow(button);
}
