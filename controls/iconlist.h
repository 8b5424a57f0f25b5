// TIconList: an ordered list of icons that owns them, raises one change event
// per change (or per batch of changes), and stores itself as one block of
// bytes: the frames of an animated tray icon.
//
//   list.Add(&icon);                       // a copy; the caller keeps icon
//   list.AddResource(instance, L"FRAME2");
//   std::vector<std::uint8_t> bytes = list.SaveToBytes();
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "toolkit/icon.h"
#include "toolkit/object.h"

class TIconList : public TObject {
public:
    TIconList();
    ~TIconList() override;

    // Raised with the list as sender after each change, once no batch is open.
    TNotifyEvent OnChange;
    void NotifyChange();
    // A batch raises exactly one change event at its end.
    void BeginChanges() noexcept { ++batch_; }
    void EndChanges();

    // The entry at index (null only for an empty entry read from stored data).
    // Bad indexes raise EListError.
    virtual TIcon* Items(int index) const;
    // Copies icon into the entry; index Count() appends.
    virtual void SetItems(int index, const TIcon* icon);
    virtual int Count() const noexcept { return static_cast<int>(entries_.size()); }
    // Append or insert a copy of icon (null: an empty icon); Add returns the index.
    virtual int Add(const TIcon* icon);
    virtual void Insert(int index, const TIcon* icon);
    // An icon resource of module; a name the module lacks gives an empty icon.
    virtual int AddResource(HINSTANCE module, const std::wstring& name);
    virtual void InsertResource(int index, HINSTANCE module, const std::wstring& name);
    virtual void Clear();
    virtual void Delete(int index);
    virtual void Exchange(int index1, int index2);
    virtual int IndexOf(const TIcon* icon) const;
    virtual void Move(int from, int to);

    // The stored form: entry count, then each icon's size and icon-file bytes.
    // Loading replaces the contents; damaged data raise EInvalidGraphic after
    // the entries before the damage were taken.
    virtual void LoadFromBytes(std::span<const std::uint8_t> data);
    virtual std::vector<std::uint8_t> SaveToBytes() const;

    // Replaces the contents with copies of source's entries (null clears).
    void CopyContents(const TIconList* source);
    // Replaces the contents with one copy of source.
    void CopyContents(const TIcon& source);
    // Either of the above by the source's class; any other class raises
    // EConvertError.
    void Assign(const TObject* source);

private:
    // Ends a batch on every path, so an error inside still raises its event.
    struct TBatch {
        TIconList& list;
        explicit TBatch(TIconList& l) : list(l) { list.BeginChanges(); }
        ~TBatch() { list.EndChanges(); }
    };
    void CheckIndex(int index, int limit) const;
    std::unique_ptr<TIcon> NewIcon(const TIcon* copyOf);
    std::unique_ptr<TIcon> ResourceIcon(HINSTANCE module, const std::wstring& name);
    void Unbind(TIcon* icon) noexcept;

    std::vector<std::unique_ptr<TIcon>> entries_;
    int batch_ = 0;
};
