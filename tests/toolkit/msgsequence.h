// Message sequences in the manner of Wine's conformance tests: record what a
// window and its parent receive, then compare it with an expected table whose
// entries say whether the message was sent or posted, whether the parent got
// it, which parameters must match, and whether it may be missing.
//
//   TMessageSequence seq(form->Handle());
//   seq.Flush();
//   bar->SetPosition(5);
//   EXPECT_TRUE(seq.Matches({{TBM_SETPOS, sent | wparam | lparam, TRUE, 5}}));
//
// Recording goes through thread hooks, so it sees every message that really
// crosses the window manager (SendMessage, DispatchMessage) and nothing a
// procedure calls directly. Windows created under a watched one are watched
// from their WM_NCCREATE on.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

enum TMsgFlag : unsigned {
    sent = 1u << 0,      // delivered by SendMessage (or from inside the system)
    posted = 1u << 1,    // taken from the queue and dispatched
    parent = 1u << 2,    // received by the parent window, not the child
    wparam = 1u << 3,    // wParam must match
    lparam = 1u << 4,    // lParam must match
    optional = 1u << 5,  // may be missing
};

struct TMsg {
    UINT message = 0;
    unsigned flags = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class TMessageSequence {
public:
    // Watches parentWindow (entries flagged parent) and every window created
    // under it from now on; Watch adds existing children.
    explicit TMessageSequence(HWND parentWindow);
    ~TMessageSequence();
    TMessageSequence(const TMessageSequence&) = delete;
    TMessageSequence& operator=(const TMessageSequence&) = delete;

    void Watch(HWND window) { watched_.insert(window); }
    // Messages never recorded (beyond the usual noise of hit tests, cursors,
    // input method and accessibility queries).
    void Ignore(std::initializer_list<UINT> messages) { ignored_.insert(messages); }
    void Flush() { recorded_.clear(); }
    const std::vector<TMsg>& Recorded() const { return recorded_; }

    // Every expected entry that is not optional appears in order, and nothing
    // else was recorded.
    testing::AssertionResult Matches(const std::vector<TMsg>& expected) const;

    // Called once a sent message to a watched window was handled, with the
    // window still alive (for checks at WM_NCCREATE or WM_NCDESTROY).
    std::function<void(HWND window, UINT message, LRESULT result)> OnHandled;

private:
    static LRESULT CALLBACK CallProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK CallRetProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, unsigned how);

    static inline TMessageSequence* active_ = nullptr;  // not owned; one sequence at a time
    HWND parent_;
    std::set<HWND> watched_;
    std::set<UINT> ignored_;
    std::vector<TMsg> recorded_;
    HHOOK hooks_[4] = {};
};

// "WM_SETTEXT" or "0x0401" for a report.
std::string MessageName(UINT message);
