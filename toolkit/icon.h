// An icon image. Copies share one immutable image (handle plus the icon-file
// bytes or the module resource it came from), so assigning is cheap and never
// aliases a change: loading or clearing gives the object a new image of its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/object.h"

class TIcon : public TObject {
public:
    TIcon();
    ~TIcon() override;

    bool Empty() const noexcept { return image_ == nullptr; }
    // The shown handle (null when empty); owned by the shared image.
    HICON Handle() const noexcept;
    // A handle of the same picture size x size pixels, made from the file's
    // image nearest that size, or the resource's image the system picks for
    // it (stretched only when it holds none of it), and owned by the image,
    // like Handle(); null when empty.
    HICON HandleForSize(int size) const;
    int Width() const noexcept;
    int Height() const noexcept;

    // Copies source's image (null or empty source empties this one).
    void Assign(const TIcon* source);
    void Assign(const TIcon& source) { Assign(&source); }
    void Clear();

    // Icon-file layout. Loading picks the image nearest the system's large
    // icon size with the most colours; saving writes back the bytes the icon
    // was loaded from, or encodes the handle as one 32-bit image with its mask.
    void LoadFromBytes(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> SaveToBytes() const;
    void LoadFromFile(const std::wstring& path);
    void SaveToFile(const std::wstring& path) const;
    // An icon resource (group icon) of the module, read in place: each size
    // is made from the image the system picks for it, and saving gives back
    // every image the resource holds.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    // Takes a copy of an icon handle (the caller keeps its handle).
    void LoadFromHandle(HICON icon);
    // Takes over an icon the caller made (no copy): it is destroyed when the
    // last icon sharing it lets go.
    void AdoptHandle(HICON icon);

    TNotifyEvent OnChange;

private:
    struct TImage;
    void SetImage(std::shared_ptr<const TImage> image);

    std::shared_ptr<const TImage> image_;
};

// Draws one of the system's stock icons (IDI_SHIELD, …) at size pixels on
// background into glyph, a button's picture whose transparent colour
// background is: the icon's soft edges blend into the face it stands on.
// Leaves glyph empty when the system has no such icon.
void LoadStockIconGlyph(TBitmap& glyph, const wchar_t* id, int size, TColor background);
