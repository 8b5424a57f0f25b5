// Components: named objects with an owner that frees them, removal
// notification between components that refer to each other, and the loading
// state a form's components share while their stored properties are applied.
// Platform-free.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/errors.h"
#include "toolkit/object.h"

enum class TOperation : std::uint8_t { opInsert, opRemove };

// Component state flags.
using TComponentState = std::uint8_t;
inline constexpr TComponentState csLoading = 1u << 0;     // stored properties are being applied
inline constexpr TComponentState csDestroying = 1u << 1;  // the destructor has started

class TComponent : public TObject {
public:
    // owner (not owned) takes ownership of the new component when not null;
    // prefer CreateComponent, which makes that ownership explicit.
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    const std::wstring& Name() const noexcept { return name_; }
    virtual void SetName(std::wstring name) { name_ = std::move(name); }

    TComponent* Owner() const noexcept { return owner_; }

    // Owned components, in creation order.
    std::size_t ComponentCount() const noexcept { return components_.size(); }
    TComponent* Components(std::size_t index) const
    {
        CheckListIndex(index, components_.size());
        return components_[index].get();
    }
    // The owned component of that name, or null.
    TComponent* FindComponent(std::wstring_view name) const;

    // Destroys this component now; its owner forgets it first. For components
    // created with new (or CreateComponent) only.
    void Free();

    // Gives up ownership without destroying.
    std::unique_ptr<TComponent> RemoveComponent(TComponent* component);

    TComponentState ComponentState() const noexcept { return state_; }
    bool IsLoading() const noexcept { return (state_ & csLoading) != 0; }
    bool IsDestroying() const noexcept { return (state_ & csDestroying) != 0; }

    // Asks that other is told (Notification(this, opRemove)) when this component
    // is destroyed, and vice versa. Both sides forget the link when either dies.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Told when a component this one refers to is being destroyed (opRemove), and
    // when one is inserted into or removed from this component's ownership.
    // Overrides clear their references to component and call the base.
    virtual void Notification(TComponent* component, TOperation operation);

    // Called once all stored properties of the form were applied and every
    // reference between its components was resolved.
    virtual void Loaded() {}

    // The form that owns this component, directly or through others, now
    // draws at dpi (its positions and fonts are already scaled): a component
    // that carries artwork picks the size drawn for that dpi.
    virtual void DpiChanged(int dpi) {}
    // The language of the texts has changed: a component that sets a text
    // of its own from the tables sets it again.
    virtual void LanguageChanged() {}

    // Load-session hooks on the root component: ReadingDone runs after every
    // stored property was applied and before references are resolved;
    // AfterLoad runs after every component's Loaded().
    virtual void ReadingDone() {}
    virtual void AfterLoad() {}

    // Loading state; the load session sets and clears it.
    void BeginLoading() noexcept { state_ |= csLoading; }
    void EndLoading() noexcept { state_ &= static_cast<TComponentState>(~csLoading); }

protected:
    // Derived destructors that must stop callbacks early may set this first.
    void MarkDestroying() noexcept { state_ |= csDestroying; }

private:
    void RemoveFreeNotifier(TComponent* other) noexcept;

    std::wstring name_;
    TComponent* owner_ = nullptr;                           // not owned
    std::vector<std::unique_ptr<TComponent>> components_;   // owned
    std::vector<TComponent*> freeNotifies_;                 // not owned, both directions
    TComponentState state_ = 0;
};

// Creates a component owned by owner (may be null: the caller then owns it and
// must delete it). A component created under a loading owner starts loading too.
template <class T, class... A>
T* CreateComponent(TComponent* owner, A&&... args)
{
    return new T(owner, std::forward<A>(args)...);
}
