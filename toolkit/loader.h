// Loading a form's layout. The layout code creates the components and applies
// their stored properties through the normal setters, in stored order, inside
// one load session:
//
//   TFormMain::TFormMain(TComponent* owner) : TForm(owner)
//   {
//       TLoadSession load(this);              // this and every component created under it load
//       SetCaption(L"...");                   // stored properties, in stored order
//       Button = CreateComponent<TGradientButton>(this);
//       Button->SetParent(this);
//       load.Fixup([this] { Button->SetAction(ActionOptimize); });  // references: after all were read
//       OnCreate = Bind(this, &TFormMain::FormCreate);
//       load.Finish();                        // fix-ups, Loaded(), then OnCreate
//   }
//
// Setters that must behave differently while loading ask IsLoading(). If the
// layout code throws before Finish, the session only clears the loading state:
// no fix-up, Loaded() or creation handler runs. Platform-free.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/component.h"

class TLoadSession {
public:
    // root (not owned) and every component it owns, directly or through other
    // components, now and until Finish, are in the loading state.
    explicit TLoadSession(TComponent* root);
    TLoadSession(const TLoadSession&) = delete;
    TLoadSession& operator=(const TLoadSession&) = delete;
    ~TLoadSession();

    // A reference between components, resolved once every component was read.
    void Fixup(std::function<void()> resolve);

    // Ends loading: root->ReadingDone() (a form scales itself there), the
    // fix-ups in the order given, then each component leaves the loading state
    // and gets Loaded() (root first, then owned components depth-first in
    // creation order), and last root->AfterLoad() (a form runs OnCreate there).
    void Finish();

private:
    void EndLoadingAll(TComponent* component);

    TComponent* root_;  // not owned
    std::vector<std::function<void()>> fixups_;
    bool finished_ = false;
};
