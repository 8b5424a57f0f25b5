// Actions: named commands with a caption, enabled/visible/checked state, a
// hint and an execute handler, shared by several clients (buttons, menu items).
// A client holds a link to its action; the action tells every link when one
// of its properties changes and the link updates its client.
//
// Attaching an action while the client's form is loading gives the client
// only what it lacks:
//   - a control takes the action's caption when its own is empty or equal to
//     its name; a menu item only when its own is empty;
//   - the action's enabled state only while the client is enabled, its
//     visibility only while the client is visible, its hint when the client
//     has none, its checked state only when the client is unchecked;
//   - a client with no click handler of its own runs the action when clicked.
// Attached after loading, the client takes all of the action's properties.
// Afterwards, a change of the action's property reaches every client that
// still shows the action's previous value; a client changed on its own (say,
// disabled by code) is left alone, and changing a client never changes the
// action or its other clients.
//
// Layout code:
//   ActionListMenu = CreateComponent<TActionList>(this);
//   ActionOptimize = CreateComponent<TAction>(this);
//   ActionOptimize->SetActionList(ActionListMenu);
//   ActionOptimize->SetCaption(L"&Optimize");
//   ActionOptimize->OnExecute = Bind(this, &TFormMain::ActionOptimizeExecute);
//   load.Fixup([this] { SpeedButtonOptimize->SetAction(ActionOptimize); });
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/component.h"
#include "toolkit/control.h"

class TBasicAction;
class TAction;
class TActionList;

// The client's end of a link. Registers with its action on construction and
// leaves it on destruction.
class TActionLink {
public:
    explicit TActionLink(TBasicAction* action);
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;
    virtual ~TActionLink();

    // The action (not owned); null once the action is gone.
    TBasicAction* LinkedAction() const noexcept { return action_; }
    // Runs the action; false when it ran nothing (no handler, or disabled).
    bool ExecuteAction();

    // The action's property changed from old; the client follows when it
    // still shows old.
    virtual void CaptionChanged(const std::wstring& old) {}
    virtual void EnabledChanged(bool old) {}
    virtual void VisibleChanged(bool old) {}
    virtual void CheckedChanged(bool old) {}
    virtual void HintChanged(const std::wstring& old) {}
    // The action is being destroyed: the client drops its link, which may
    // delete this object.
    virtual void ActionDestroyed() = 0;

private:
    friend class TBasicAction;
    TBasicAction* action_;  // not owned
};

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;

    // Runs OnExecute with this action as sender; false when none is bound.
    virtual bool Execute();
    TNotifyEvent OnExecute;

    std::size_t ClientCount() const noexcept { return links_.size(); }

protected:
    // Calls f(link) for every link; links may go away meanwhile.
    template <class F>
    void ForEachLink(F f)
    {
        const std::vector<TActionLink*> snapshot = links_;
        for (TActionLink* link : snapshot)
            if (std::find(links_.begin(), links_.end(), link) != links_.end()) f(link);
    }

private:
    friend class TActionLink;
    std::vector<TActionLink*> links_;  // not owned: each belongs to its client
};

class TAction : public TBasicAction {
public:
    explicit TAction(TComponent* owner);
    ~TAction() override;

    const std::wstring& Caption() const noexcept { return caption_; }
    void SetCaption(const std::wstring& value);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool value);
    bool Checked() const noexcept { return checked_; }
    void SetChecked(bool value);
    const std::wstring& Hint() const noexcept { return hint_; }
    void SetHint(const std::wstring& value);

    // The list holding this action (not owned), or null.
    TActionList* ActionList() const noexcept { return actionList_; }
    void SetActionList(TActionList* list);
    // Position in its list, or -1.
    int Index() const;

    // A disabled action runs nothing.
    bool Execute() override;

private:
    std::wstring caption_;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    std::wstring hint_;
    TActionList* actionList_ = nullptr;
};

// Holds the form's actions. The actions are components of the form (found by
// name there); the list keeps their order and frees them when it goes.
class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* owner);
    ~TActionList() override;

    std::size_t ActionCount() const noexcept { return actions_.size(); }
    TAction* Actions(std::size_t index) const
    {
        CheckListIndex(index, actions_.size());
        return actions_[index];
    }
    // Same as action->SetActionList(this).
    void Add(TAction* action);

private:
    friend class TAction;
    std::vector<TAction*> actions_;  // freed by the destructor (owned by the form's component list)
};

// The link between a control and its action (the control's TControlActionLink).
class TControlLink final : public TControlActionLink, public TActionLink {
public:
    TControlLink(TControl* client, TBasicAction* action);

    TBasicAction* Action() const override { return LinkedAction(); }
    bool Execute() override { return ExecuteAction(); }

    // Gives the client the action's properties; with checkDefaults only what
    // it lacks (the loading rule).
    void Apply(bool checkDefaults);

    void CaptionChanged(const std::wstring& old) override;
    void EnabledChanged(bool old) override;
    void VisibleChanged(bool old) override;
    void HintChanged(const std::wstring& old) override;
    void ActionDestroyed() override;

private:
    TAction* Properties() const;
    TControl* client_;  // not owned: the control owns this link
};
