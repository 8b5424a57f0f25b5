#include "controls/iconlist.h"

#include <typeinfo>
#include <utility>

#include "controls/iconlist_stream.h"
#include "toolkit/errors.h"

namespace {

std::wstring ClassName(const TObject* object)
{
    if (object == nullptr) return L"nil";
    if (dynamic_cast<const TIcon*>(object)) return L"TIcon";
    if (dynamic_cast<const TIconList*>(object)) return L"TIconList";
    const char* raw = typeid(*object).name();
    return std::wstring(raw, raw + std::char_traits<char>::length(raw));
}

}  // namespace

TIconList::TIconList() = default;

TIconList::~TIconList()
{
    OnChange = nullptr;  // going away is no change anyone must hear about
    for (auto& entry : entries_) Unbind(entry.get());
}

void TIconList::NotifyChange()
{
    if (batch_ == 0) Fire(OnChange, this);
}

void TIconList::EndChanges()
{
    if (--batch_ == 0) NotifyChange();
}

void TIconList::CheckIndex(int index, int limit) const
{
    if (index < 0 || index >= limit) throw EListError(FormatMessageText(L"List index out of bounds (%d)", index));
}

std::unique_ptr<TIcon> TIconList::NewIcon(const TIcon* copyOf)
{
    auto icon = std::make_unique<TIcon>();
    if (copyOf != nullptr) icon->Assign(copyOf);
    icon->OnChange = [this](TObject*) { NotifyChange(); };
    return icon;
}

std::unique_ptr<TIcon> TIconList::ResourceIcon(HINSTANCE module, const std::wstring& name)
{
    auto icon = NewIcon(nullptr);
    if (HICON handle = LoadIconW(module, name.c_str())) icon->LoadFromHandle(handle);
    return icon;
}

void TIconList::Unbind(TIcon* icon) noexcept
{
    if (icon != nullptr) icon->OnChange = nullptr;
}

TIcon* TIconList::Items(int index) const
{
    CheckIndex(index, Count());
    return entries_[static_cast<size_t>(index)].get();
}

void TIconList::SetItems(int index, const TIcon* icon)
{
    TBatch batch(*this);
    if (index == Count()) Add(nullptr);
    CheckIndex(index, Count());
    auto& entry = entries_[static_cast<size_t>(index)];
    if (!entry) entry = NewIcon(nullptr);
    entry->Assign(icon);
}

int TIconList::Add(const TIcon* icon)
{
    entries_.push_back(NewIcon(icon));
    NotifyChange();
    return Count() - 1;
}

void TIconList::Insert(int index, const TIcon* icon)
{
    CheckIndex(index, Count() + 1);
    auto made = NewIcon(icon);
    entries_.insert(entries_.begin() + index, std::move(made));
    NotifyChange();
}

int TIconList::AddResource(HINSTANCE module, const std::wstring& name)
{
    entries_.push_back(ResourceIcon(module, name));
    NotifyChange();
    return Count() - 1;
}

void TIconList::InsertResource(int index, HINSTANCE module, const std::wstring& name)
{
    CheckIndex(index, Count() + 1);
    auto made = ResourceIcon(module, name);
    entries_.insert(entries_.begin() + index, std::move(made));
    NotifyChange();
}

void TIconList::Clear()
{
    TBatch batch(*this);
    for (int i = Count() - 1; i >= 0; --i) Delete(i);
}

void TIconList::Delete(int index)
{
    CheckIndex(index, Count());
    auto it = entries_.begin() + index;
    Unbind(it->get());
    entries_.erase(it);
    NotifyChange();
}

void TIconList::Exchange(int index1, int index2)
{
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    std::swap(entries_[static_cast<size_t>(index1)], entries_[static_cast<size_t>(index2)]);
    NotifyChange();
}

int TIconList::IndexOf(const TIcon* icon) const
{
    for (int i = 0; i < Count(); ++i)
        if (entries_[static_cast<size_t>(i)].get() == icon) return i;
    return -1;
}

void TIconList::Move(int from, int to)
{
    CheckIndex(from, Count());
    CheckIndex(to, Count());
    auto entry = std::move(entries_[static_cast<size_t>(from)]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + to, std::move(entry));
    NotifyChange();
}

void TIconList::LoadFromBytes(std::span<const std::uint8_t> data)
{
    TBatch batch(*this);
    Clear();
    ReadIconListStream(data, [this](std::span<const std::uint8_t> bytes) {
        if (bytes.empty()) {
            entries_.push_back(nullptr);
            return;
        }
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        icon->OnChange = [this](TObject*) { NotifyChange(); };
        entries_.push_back(std::move(icon));
    });
}

std::vector<std::uint8_t> TIconList::SaveToBytes() const
{
    std::vector<std::vector<std::uint8_t>> frames;
    frames.reserve(entries_.size());
    for (const auto& entry : entries_) {
        if (!entry || entry->Empty())
            frames.emplace_back();
        else
            frames.push_back(entry->SaveToBytes());
    }
    return WriteIconListStream(frames);
}

void TIconList::CopyContents(const TIconList* source)
{
    if (source == this) return;  // copying onto itself would clear the source first
    TBatch batch(*this);
    Clear();
    if (source == nullptr) return;
    for (const auto& entry : source->entries_) Add(entry.get());
}

void TIconList::CopyContents(const TIcon& source)
{
    TBatch batch(*this);
    Clear();
    Add(&source);
}

void TIconList::Assign(const TObject* source)
{
    if (source == nullptr) return CopyContents(static_cast<const TIconList*>(nullptr));
    if (auto* list = dynamic_cast<const TIconList*>(source)) return CopyContents(list);
    if (auto* icon = dynamic_cast<const TIcon*>(source)) return CopyContents(*icon);
    std::wstring text = FormatMessageText(L"Cannot assign a %s to a %s", ClassName(source));
    throw EConvertError(FormatMessageText(text, L"TIconList"));
}
