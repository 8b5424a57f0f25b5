// Icons: the icon-file layout round trip and copy semantics.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/bitmap.h"
#include "toolkit/errors.h"
#include "toolkit/icon.h"

namespace {

// A 32 x 32 icon: red left half, blue right half, one transparent corner pixel.
TUniqueIcon MakeIcon()
{
    TBitmap color;
    color.SetSize(32, 32);
    color.Canvas().Brush().SetColor(clRed);
    color.Canvas().FillRect({0, 0, 16, 32});
    color.Canvas().Brush().SetColor(static_cast<TColor>(0x00FF0000));
    color.Canvas().FillRect({16, 0, 32, 32});
    color.Canvas().SetPixel(0, 0, clBlack);  // under a set mask bit the screen shows through unchanged
    TBitmap mask;
    mask.SetSize(32, 32);
    mask.Canvas().Brush().SetColor(clBlack);
    mask.Canvas().FillRect({0, 0, 32, 32});
    mask.Canvas().SetPixel(0, 0, clWhite);
    TUniqueBitmap monoMask(CreateBitmap(32, 32, 1, 1, nullptr));
    {
        TMemoryDC dc;
        TSelectObject sel(dc.Get(), monoMask.Get());
        BitBlt(dc.Get(), 0, 0, 32, 32, mask.DC(), 0, 0, SRCCOPY);
    }
    ICONINFO info{TRUE, 0, 0, monoMask.Get(), color.Handle()};
    return TUniqueIcon(CreateIconIndirect(&info));
}

TColor IconPixel(const TIcon& icon, int x, int y)
{
    TBitmap b;
    b.SetSize(32, 32);
    b.Canvas().Brush().SetColor(clGray);
    b.Canvas().FillRect({0, 0, 32, 32});
    DrawIconEx(b.DC(), 0, 0, icon.Handle(), 32, 32, 0, nullptr, DI_NORMAL);
    return b.Pixel(x, y);
}

TEST(Icon, SavedIconLoadsBackWithTheSamePicture)
{
    TUniqueIcon handle = MakeIcon();
    ASSERT_TRUE(handle);
    TIcon icon;
    icon.LoadFromHandle(handle.Get());
    EXPECT_EQ(icon.Width(), 32);
    const std::vector<std::uint8_t> bytes = icon.SaveToBytes();
    ASSERT_GT(bytes.size(), 22u);
    EXPECT_EQ(bytes[2], 1);  // an icon, not a cursor
    EXPECT_EQ(bytes[4], 1);  // one image

    TIcon loaded;
    loaded.LoadFromBytes(bytes);
    EXPECT_EQ(loaded.Width(), 32);
    EXPECT_EQ(loaded.Height(), 32);
    EXPECT_EQ(IconPixel(loaded, 5, 5), clRed);
    EXPECT_EQ(IconPixel(loaded, 25, 5), static_cast<TColor>(0x00FF0000));
    EXPECT_EQ(IconPixel(loaded, 0, 0), clGray);  // masked out
    EXPECT_EQ(loaded.SaveToBytes(), bytes);      // the loaded bytes come back unchanged

    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"ico", 0, path);
    loaded.SaveToFile(path);
    TIcon fromFile;
    fromFile.LoadFromFile(path);
    DeleteFileW(path);
    EXPECT_EQ(fromFile.SaveToBytes(), bytes);
}

TEST(Icon, AssignCopiesAndNotifiesAndLoadingOneLeavesTheOtherAlone)
{
    TUniqueIcon handle = MakeIcon();
    TIcon a, b;
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    a.LoadFromHandle(handle.Get());
    b.Assign(a);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(b.Empty());
    a.Clear();
    EXPECT_TRUE(a.Empty());
    EXPECT_FALSE(b.Empty());
    EXPECT_EQ(IconPixel(b, 5, 5), clRed);
    // A window given the last handle holds it until the change is heard and
    // a new one handed out; only then may it go.
    const HICON shown = b.Handle();
    const auto alive = [](HICON icon) {
        ICONINFO info{};
        if (!GetIconInfo(icon, &info)) return false;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return true;
    };
    bool aliveWhenHeard = false;
    b.OnChange = [&](TObject*) {
        ++changes;
        aliveWhenHeard = alive(shown);
    };
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(aliveWhenHeard);
    EXPECT_FALSE(alive(shown));
    EXPECT_THROW(b.SaveToBytes(), EInvalidGraphic);
}

TEST(Icon, MalformedDataIsRefusedAndTheOldImageKept)
{
    TUniqueIcon handle = MakeIcon();
    TIcon icon;
    icon.LoadFromHandle(handle.Get());
    std::vector<std::uint8_t> bytes = icon.SaveToBytes();
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 100);
    EXPECT_THROW(icon.LoadFromBytes(cut), EInvalidGraphic);
    std::vector<std::uint8_t> cursor = bytes;
    cursor[2] = 2;
    EXPECT_THROW(icon.LoadFromBytes(cursor), EInvalidGraphic);
    std::vector<std::uint8_t> garbage = bytes;
    for (std::size_t i = 22; i < 62; ++i) garbage[i] = 0;  // no valid image header
    EXPECT_THROW(icon.LoadFromBytes(garbage), EInvalidGraphic);
    EXPECT_FALSE(icon.Empty());
    EXPECT_EQ(IconPixel(icon, 5, 5), clRed);
}

}  // namespace
