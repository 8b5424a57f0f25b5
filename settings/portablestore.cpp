#include "settings/portablestore.h"

#include <windows.h>

#include "settings/filereplace.h"
#include "settings/storedsettings.h"
#include "toolkit/handles.h"

namespace {

// Far more than any settings file of ours: a larger one is not read, and
// never written over.
constexpr DWORD kMaxFileSize = 1 << 20;

// Bytes in the system's ANSI code page, as Notepad before Windows 10 saves
// a file it did not find UTF-8.
std::wstring AnsiText(std::string_view bytes)
{
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
    return text;
}

} // namespace

TPortableStore::TPortableStore(std::wstring folder) : folder_(std::move(folder))
{
    const std::wstring path = FilePath();
    TUniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxFileSize) {
        // What cannot be read whole is kept as it is: settings last until
        // the program ends.
        keeps_ = false;
        return;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        keeps_ = false;
        return;
    }
    document_ = TIniDocument::FromBytes(bytes, AnsiText);
    keeps_ = CanReplace();
}

std::wstring TPortableStore::FilePath() const
{
    return folder_ + L"\\" + std::wstring(kPortableSettingsFile);
}

bool TPortableStore::CanReplace() const
{
    // The file opened for writing, and a new file made in the folder (and
    // gone again at once): what a save needs, on a read-only stick or in a
    // folder without rights to it neither works.
    const std::wstring path = FilePath();
    TUniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const std::wstring probe = path + std::wstring(kNewFileSuffix);
    TUniqueKernelHandle made(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(made);
}

std::optional<std::uint32_t> TPortableStore::Number(std::wstring_view name) const
{
    try {
        const auto text = document_.Value(name);
        return text ? DecimalNumberFromText(*text) : std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::wstring> TPortableStore::Text(std::wstring_view name, std::size_t maxChars) const
{
    try {
        auto text = document_.Value(name);
        if (!text || text->size() > maxChars) return std::nullopt;
        return text;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::wstring>> TPortableStore::Names(std::wstring_view name) const
{
    try {
        const auto text = document_.Value(name);
        if (!text) return std::nullopt;
        return NamesFromText(*text);
    } catch (...) {
        return std::nullopt;
    }
}

void TPortableStore::Write(std::initializer_list<TStoredWrite> values)
{
    for (const TStoredWrite& value : values) {
        if (const auto* number = std::get_if<std::uint32_t>(&value.Value))
            document_.SetValue(value.Name, std::to_wstring(*number));
        else if (const auto* text = std::get_if<std::wstring>(&value.Value))
            document_.SetValue(value.Name, *text);
        else
            document_.SetValue(value.Name, NamesToText(std::get<std::vector<std::wstring>>(value.Value)));
    }
    if (!keeps_) return;
    if (!Save()) NotKept();
}

bool TPortableStore::Save() const
{
    return ReplaceFileWith(FilePath(), document_.Bytes());
}

void TPortableStore::NotKept()
{
    keeps_ = false;
    if (OnNotKept) OnNotKept();
}
