#include "toolkit/component.h"

#include <algorithm>

using enum TOperation;

TComponent::TComponent(TComponent* owner)
{
    if (owner != nullptr) {
        owner->components_.emplace_back(this);
        owner_ = owner;
        if (owner->IsLoading()) BeginLoading();
        owner->Notification(this, opInsert);
    }
}

TComponent::~TComponent()
{
    MarkDestroying();
    // Those that refer to this component clear their references first.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->RemoveFreeNotifier(this);
        other->Notification(this, opRemove);
    }
    // Owned components go in reverse creation order; each is released from the
    // list before it is destroyed so that it never sees itself half-removed.
    while (!components_.empty()) {
        std::unique_ptr<TComponent> last = std::move(components_.back());
        components_.pop_back();
        last->owner_ = nullptr;
        Notification(last.get(), opRemove);
        last.reset();
    }
    if (owner_ != nullptr) {
        TComponent* owner = owner_;
        owner_ = nullptr;
        auto it = std::find_if(owner->components_.begin(), owner->components_.end(),
                               [this](const std::unique_ptr<TComponent>& p) { return p.get() == this; });
        if (it != owner->components_.end()) {
            it->release();  // being destroyed already: the owner must not delete it again
            owner->components_.erase(it);
        }
        owner->Notification(this, opRemove);
    }
}

TComponent* TComponent::FindComponent(std::wstring_view name) const
{
    if (name.empty()) return nullptr;
    for (const auto& c : components_)
        if (c->Name() == name) return c.get();
    return nullptr;
}

void TComponent::Free()
{
    if (owner_ != nullptr) {
        std::unique_ptr<TComponent> self = owner_->RemoveComponent(this);
        self.reset();
    } else {
        delete this;
    }
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component)
{
    auto it = std::find_if(components_.begin(), components_.end(),
                           [component](const std::unique_ptr<TComponent>& p) { return p.get() == component; });
    if (it == components_.end()) return nullptr;
    std::unique_ptr<TComponent> result = std::move(*it);
    components_.erase(it);
    result->owner_ = nullptr;
    Notification(result.get(), opRemove);
    return result;
}

void TComponent::FreeNotification(TComponent* other)
{
    if (other == nullptr || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other)
{
    if (other == nullptr) return;
    RemoveFreeNotifier(other);
    other->RemoveFreeNotifier(this);
}

void TComponent::RemoveFreeNotifier(TComponent* other) noexcept
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
}

void TComponent::Notification(TComponent*, TOperation) {}
