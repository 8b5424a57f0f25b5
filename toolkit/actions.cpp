#include "toolkit/actions.h"

#include <algorithm>
#include <memory>
#include <utility>

// --- TActionLink ---

TActionLink::TActionLink(TBasicAction* action) : action_(action)
{
    if (action_ != nullptr) action_->links_.push_back(this);
}

TActionLink::~TActionLink()
{
    if (action_ != nullptr) {
        auto& links = action_->links_;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
}

bool TActionLink::ExecuteAction()
{
    return action_ != nullptr && action_->Execute();
}

// --- TBasicAction ---

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction()
{
    MarkDestroying();
    // Each client drops its link; the link must not touch this action any more.
    while (!links_.empty()) {
        TActionLink* link = links_.back();
        links_.pop_back();
        link->action_ = nullptr;
        link->ActionDestroyed();
    }
}

bool TBasicAction::Execute()
{
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

// --- TAction ---

TAction::TAction(TComponent* owner) : TBasicAction(owner) {}

TAction::~TAction()
{
    SetActionList(nullptr);
}

void TAction::SetCaption(const std::wstring& value)
{
    if (value == caption_) return;
    const std::wstring old = std::exchange(caption_, value);
    ForEachLink([&](TActionLink* link) { link->CaptionChanged(old); });
}

void TAction::SetEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    ForEachLink([&](TActionLink* link) { link->EnabledChanged(!value); });
}

void TAction::SetVisible(bool value)
{
    if (value == visible_) return;
    visible_ = value;
    ForEachLink([&](TActionLink* link) { link->VisibleChanged(!value); });
}

void TAction::SetChecked(bool value)
{
    if (value == checked_) return;
    checked_ = value;
    ForEachLink([&](TActionLink* link) { link->CheckedChanged(!value); });
}

void TAction::SetHint(const std::wstring& value)
{
    if (value == hint_) return;
    const std::wstring old = std::exchange(hint_, value);
    ForEachLink([&](TActionLink* link) { link->HintChanged(old); });
}

void TAction::SetActionList(TActionList* list)
{
    if (list == actionList_) return;
    if (actionList_ != nullptr) {
        auto& actions = actionList_->actions_;
        actions.erase(std::remove(actions.begin(), actions.end(), this), actions.end());
    }
    actionList_ = list;
    if (actionList_ != nullptr) actionList_->actions_.push_back(this);
}

int TAction::Index() const
{
    if (actionList_ == nullptr) return -1;
    const auto& actions = actionList_->actions_;
    const auto it = std::find(actions.begin(), actions.end(), this);
    return it == actions.end() ? -1 : static_cast<int>(it - actions.begin());
}

bool TAction::Execute()
{
    return enabled_ && TBasicAction::Execute();
}

// --- TActionList ---

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

TActionList::~TActionList()
{
    MarkDestroying();
    while (!actions_.empty()) {
        TAction* action = actions_.back();
        action->SetActionList(nullptr);
        action->Free();
    }
}

void TActionList::Add(TAction* action)
{
    if (action != nullptr) action->SetActionList(this);
}

// --- TControlLink ---

TControlLink::TControlLink(TControl* client, TBasicAction* action) : TActionLink(action), client_(client) {}

TAction* TControlLink::Properties() const
{
    return dynamic_cast<TAction*>(LinkedAction());
}

void TControlLink::Apply(bool checkDefaults)
{
    TAction* a = Properties();
    if (a == nullptr) return;
    if (!checkDefaults || client_->Caption().empty() || client_->Caption() == client_->Name())
        client_->SetCaption(a->Caption());
    if (!checkDefaults || client_->Enabled()) client_->SetEnabled(a->Enabled());
    if (!checkDefaults || client_->Visible()) client_->SetVisible(a->Visible());
    if (!checkDefaults || client_->Hint().empty()) client_->SetHint(a->Hint());
    client_->ActionChanged();
}

void TControlLink::CaptionChanged(const std::wstring& old)
{
    if (client_->Caption() != old) return;
    client_->SetCaption(Properties()->Caption());
    client_->ActionChanged();
}

void TControlLink::EnabledChanged(bool old)
{
    if (client_->Enabled() != old) return;
    client_->SetEnabled(Properties()->Enabled());
    client_->ActionChanged();
}

void TControlLink::VisibleChanged(bool old)
{
    if (client_->Visible() != old) return;
    client_->SetVisible(Properties()->Visible());
    client_->ActionChanged();
}

void TControlLink::HintChanged(const std::wstring& old)
{
    if (client_->Hint() != old) return;
    client_->SetHint(Properties()->Hint());
    client_->ActionChanged();
}

void TControlLink::ActionDestroyed()
{
    client_->SetActionLink(nullptr);  // deletes this link
}

// The control side of the seam: declared with TControl, defined with actions.
void TControl::SetAction(TBasicAction* action)
{
    if (action == Action()) return;
    if (action == nullptr) {
        SetActionLink(nullptr);
        return;
    }
    auto link = std::make_unique<TControlLink>(this, action);
    TControlLink* raw = link.get();
    SetActionLink(std::move(link));
    raw->Apply(IsLoading());
}
