#include "toolkit/loader.h"

#include <utility>

namespace {

void SetLoadingTree(TComponent* component, bool loading)
{
    if (loading)
        component->BeginLoading();
    else
        component->EndLoading();
    for (std::size_t i = 0; i < component->ComponentCount(); ++i) SetLoadingTree(component->Components(i), loading);
}

void CollectTree(TComponent* component, std::vector<TComponent*>& out)
{
    out.push_back(component);
    for (std::size_t i = 0; i < component->ComponentCount(); ++i) CollectTree(component->Components(i), out);
}

}  // namespace

TLoadSession::TLoadSession(TComponent* root) : root_(root)
{
    SetLoadingTree(root_, true);
}

TLoadSession::~TLoadSession()
{
    if (!finished_) EndLoadingAll(root_);
}

void TLoadSession::EndLoadingAll(TComponent* component)
{
    SetLoadingTree(component, false);
}

void TLoadSession::Fixup(std::function<void()> resolve)
{
    fixups_.push_back(std::move(resolve));
}

void TLoadSession::Finish()
{
    if (finished_) return;
    root_->ReadingDone();
    auto fixups = std::move(fixups_);
    for (auto& f : fixups) f();
    std::vector<TComponent*> all;
    CollectTree(root_, all);
    finished_ = true;
    // Each component leaves the loading state just before its own Loaded(), so
    // one that asks about another still being loaded gets the truth.
    for (TComponent* c : all) {
        c->EndLoading();
        c->Loaded();
    }
    root_->AfterLoad();
}
