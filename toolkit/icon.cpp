#include "toolkit/icon.h"

#include <cstring>
#include <iterator>
#include <utility>

#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/graphics.h"
#include "toolkit/iconfile.h"
#include "toolkit/systemlibrary.h"

struct TIcon::TImage {
    TUniqueIcon handle;
    std::vector<std::uint8_t> bytes;  // the icon file it came from; empty when made from a handle
    // Or the module's icon resource it came from, which is read in place for
    // each size rather than copied.
    HINSTANCE instance = nullptr;
    std::wstring resource;
    int width = 0;
    int height = 0;
    // Handles made for other sizes, kept while the image lives: the shell
    // and the window manager hold on to the handles they are given.
    mutable std::vector<std::pair<int, TUniqueIcon>> sized;
};

namespace {

// The icon format version CreateIconFromResourceEx is documented to take.
constexpr DWORD kIconFormatVersion = 0x00030000;

void ReadIconSize(HICON icon, int& width, int& height)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) RaiseLastOSError();
    TUniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    if (GetObjectW(mask.Get(), sizeof(bm), &bm) == 0) throw EInvalidGraphic(L"Icon image is not valid");
    width = bm.bmWidth;
    height = color ? bm.bmHeight : bm.bmHeight / 2;  // a monochrome mask holds AND and XOR halves
}

// One 32-bit image with its mask, in the icon-file image layout.
TIconFileImage EncodeIcon(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) RaiseLastOSError();
    TUniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    if (!color) throw EInvalidGraphic(L"Monochrome icons cannot be saved");
    BITMAP bm{};
    if (GetObjectW(color.Get(), sizeof(bm), &bm) == 0) throw EInvalidGraphic(L"Icon image is not valid");
    const int w = bm.bmWidth, h = bm.bmHeight;
    if (w < 1 || h < 1 || w > 256 || h > 256) throw EInvalidGraphic(L"Icon image is too large");

    TWindowDC screen(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as icon files store it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> xorBits(static_cast<std::size_t>(w) * h * 4);
    if (GetDIBits(screen.Get(), color.Get(), 0, h, xorBits.data(), &bi, DIB_RGB_COLORS) == 0)
        RaiseGdiError(L"GetDIBits");

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } mi{};
    mi.header = bi.bmiHeader;
    mi.header.biBitCount = 1;
    const std::size_t maskStride = static_cast<std::size_t>(((w + 31) / 32) * 4);
    std::vector<std::uint8_t> andBits(maskStride * h);
    if (GetDIBits(screen.Get(), mask.Get(), 0, h, andBits.data(), reinterpret_cast<BITMAPINFO*>(&mi),
                  DIB_RGB_COLORS) == 0)
        RaiseGdiError(L"GetDIBits");

    BITMAPINFOHEADER header = bi.bmiHeader;
    header.biHeight = h * 2;  // the image height covers the colour and the mask
    header.biSizeImage = static_cast<DWORD>(xorBits.size() + andBits.size());
    TIconFileImage image;
    image.Width = w;
    image.Height = h;
    image.BitCount = 32;
    image.Data.resize(sizeof(header));
    std::memcpy(image.Data.data(), &header, sizeof(header));
    image.Data.insert(image.Data.end(), xorBits.begin(), xorBits.end());
    image.Data.insert(image.Data.end(), andBits.begin(), andBits.end());
    return image;
}

}  // namespace

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

HICON TIcon::Handle() const noexcept
{
    return image_ ? image_->handle.Get() : nullptr;
}

int TIcon::Width() const noexcept
{
    return image_ ? image_->width : 0;
}

int TIcon::Height() const noexcept
{
    return image_ ? image_->height : 0;
}

void TIcon::SetImage(std::shared_ptr<const TImage> image)
{
    // The old handles outlive the change: windows given them keep them
    // until the handlers have handed out the new ones.
    const std::shared_ptr<const TImage> previous = std::exchange(image_, std::move(image));
    Fire(OnChange, this);
}

void TIcon::Assign(const TIcon* source)
{
    if (source == this) return;
    SetImage(source != nullptr ? source->image_ : nullptr);
}

void TIcon::Clear()
{
    SetImage(nullptr);
}

namespace {

// The image nearest wanted pixels square, with the most colours.
const TIconFileImage& NearestImage(const std::vector<TIconFileImage>& images, int wanted)
{
    if (images.empty()) throw EInvalidGraphic(L"Icon image is not valid");
    const TIconFileImage* best = &images.front();
    for (const auto& image : images) {
        const int d = std::abs(image.Width - wanted), bestD = std::abs(best->Width - wanted);
        if (d < bestD || (d == bestD && image.BitCount > best->BitCount)) best = &image;
    }
    return *best;
}

// An icon of that image, at width x height (stretched only when they differ).
HICON MakeIcon(const TIconFileImage& image, int width, int height)
{
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(image.Data.data()), static_cast<DWORD>(image.Data.size()),
                                          TRUE, kIconFormatVersion, width, height, LR_DEFAULTCOLOR);
    if (icon == nullptr) throw EInvalidGraphic(L"Icon image is not valid");
    return icon;
}

// The group directory of a module's icon resource, checked for its length.
const std::uint8_t* IconGroup(HINSTANCE instance, const std::wstring& name, std::size_t& count)
{
    HRSRC group = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    if (group == nullptr) RaiseLastOSError();
    const auto* dir = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, group)));
    const DWORD dirSize = SizeofResource(instance, group);
    if (dir == nullptr || dirSize < 6) throw EInvalidGraphic(L"Icon image is not valid");
    count = dir[4] | (dir[5] << 8);
    if (count == 0 || dirSize < 6 + count * 14) throw EInvalidGraphic(L"Icon image is not valid");
    return dir;
}

// One image of an icon resource, as it lies in the module.
const std::uint8_t* IconResourceImage(HINSTANCE instance, int id, DWORD& size)
{
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3) /* RT_ICON */);
    if (res == nullptr) RaiseLastOSError();
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, res)));
    size = SizeofResource(instance, res);
    if (data == nullptr || size == 0) throw EInvalidGraphic(L"Icon image is not valid");
    return data;
}

// An icon of the resource at size x size, from the image the system picks
// for that size (as LoadImage would), read in place.
HICON ResourceIcon(HINSTANCE instance, const std::wstring& name, int size)
{
    std::size_t count = 0;
    const std::uint8_t* dir = IconGroup(instance, name, count);
    const int id = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(dir), TRUE, size, size, LR_DEFAULTCOLOR);
    if (id == 0) throw EInvalidGraphic(L"Icon image is not valid");
    DWORD bytes = 0;
    const std::uint8_t* data = IconResourceImage(instance, id, bytes);
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(data), bytes, TRUE, kIconFormatVersion, size, size,
                                          LR_DEFAULTCOLOR);
    if (icon == nullptr) throw EInvalidGraphic(L"Icon image is not valid");
    return icon;
}

// Every image of the resource, for saving it as an icon file.
std::vector<TIconFileImage> ResourceImages(HINSTANCE instance, const std::wstring& name)
{
    std::size_t count = 0;
    const std::uint8_t* dir = IconGroup(instance, name, count);
    std::vector<TIconFileImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = dir + 6 + i * 14;
        DWORD size = 0;
        const std::uint8_t* data = IconResourceImage(instance, e[12] | (e[13] << 8), size);
        TIconFileImage image;
        image.Width = e[0] == 0 ? 256 : e[0];
        image.Height = e[1] == 0 ? 256 : e[1];
        image.ColorCount = e[2];
        image.BitCount = e[6] | (e[7] << 8);
        image.Data.assign(data, data + size);
        images.push_back(std::move(image));
    }
    return images;
}

}  // namespace

HICON TIcon::HandleForSize(int size) const
{
    if (!image_) return nullptr;
    if (size <= 0 || (image_->width == size && image_->height == size)) return image_->handle.Get();
    for (const auto& [s, handle] : image_->sized)
        if (s == size) return handle.Get();
    HICON icon = nullptr;
    if (!image_->resource.empty()) {
        icon = ResourceIcon(image_->instance, image_->resource, size);
    } else if (!image_->bytes.empty()) {
        icon = MakeIcon(NearestImage(ParseIconFile(image_->bytes), size), size, size);
    } else {
        icon = static_cast<HICON>(CopyImage(image_->handle.Get(), IMAGE_ICON, size, size, 0));
        if (icon == nullptr) RaiseLastOSError();
    }
    image_->sized.emplace_back(size, TUniqueIcon(icon));
    return icon;
}

void TIcon::LoadFromBytes(const std::vector<std::uint8_t>& bytes)
{
    const std::vector<TIconFileImage> images = ParseIconFile(bytes);
    const TIconFileImage& best = NearestImage(images, GetSystemMetrics(SM_CXICON));
    HICON icon = MakeIcon(best, best.Width, best.Height);
    auto image = std::make_shared<TImage>();
    image->handle.Reset(icon);
    image->bytes = bytes;
    ReadIconSize(icon, image->width, image->height);
    SetImage(std::move(image));
}

std::vector<std::uint8_t> TIcon::SaveToBytes() const
{
    if (!image_) throw EInvalidGraphic(L"Icon is empty");
    if (!image_->bytes.empty()) return image_->bytes;
    if (!image_->resource.empty()) return BuildIconFile(ResourceImages(image_->instance, image_->resource));
    return BuildIconFile({EncodeIcon(image_->handle.Get())});
}

void TIcon::LoadFromFile(const std::wstring& path)
{
    TUniqueKernelHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseLastOSError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) RaiseLastOSError();
    if (size.QuadPart > 16 * 1024 * 1024) throw EInvalidGraphic(L"Icon image is not valid");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        RaiseLastOSError();
    bytes.resize(read);
    LoadFromBytes(bytes);
}

void TIcon::SaveToFile(const std::wstring& path) const
{
    const std::vector<std::uint8_t> bytes = SaveToBytes();
    TUniqueKernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseLastOSError();
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        RaiseLastOSError();
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::wstring& name)
{
    // The image owns the handle from the moment it is made, on every path.
    auto image = std::make_shared<TImage>();
    image->handle.Reset(ResourceIcon(instance, name, GetSystemMetrics(SM_CXICON)));
    image->instance = instance;
    image->resource = name;
    ReadIconSize(image->handle.Get(), image->width, image->height);
    SetImage(std::move(image));
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id)
{
    wchar_t name[16];
    swprintf(name, 16, L"#%d", id);
    LoadFromResourceName(instance, name);
}

void TIcon::LoadFromHandle(HICON icon)
{
    if (icon == nullptr) {
        Clear();
        return;
    }
    HICON copy = CopyIcon(icon);
    if (copy == nullptr) RaiseLastOSError();
    AdoptHandle(copy);
}

void TIcon::AdoptHandle(HICON icon)
{
    if (icon == nullptr) {
        Clear();
        return;
    }
    TUniqueIcon owned(icon);  // destroyed on every path until the image holds it
    auto image = std::make_shared<TImage>();
    image->handle = std::move(owned);
    ReadIconSize(icon, image->width, image->height);
    SetImage(std::move(image));
}

void LoadStockIconGlyph(TBitmap& glyph, const wchar_t* id, int size, TColor background)
{
    glyph.SetSize(0, 0);
    // Drawn from the image made for this size, not a 32-pixel one shrunk; the
    // call is the common controls' version 6 (Vista and later).
    using TLoadIconWithScaleDown = HRESULT WINAPI(HINSTANCE, PCWSTR, int, int, HICON*);
    const auto load = OptionalSystemEntry<TLoadIconWithScaleDown>(L"comctl32.dll", "LoadIconWithScaleDown");
    HICON loaded = nullptr;
    if (load == nullptr || FAILED(load(nullptr, id, size, size, &loaded)) || loaded == nullptr) return;
    const TUniqueIcon icon(loaded);
    glyph.SetSize(size, size);
    TCanvas& canvas = glyph.Canvas();
    canvas.Brush().SetColor(background);
    canvas.FillRect(RECT{0, 0, size, size});
    DrawIconEx(canvas.Handle(), 0, 0, icon.Get(), size, size, 0, nullptr, DI_NORMAL);
    glyph.SetTransparentColor(background);
}
