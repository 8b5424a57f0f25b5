// Records the events controls raise, and compares them with an expected
// sequence in which some entries may be optional (window messages are
// recorded by msgsequence.h). Each test flushes, acts, then checks:
//   rec.Flush(); Click(...); EXPECT_TRUE(rec.Matches({{"label:down"}, {"label:click"}, {"label:up"}}));
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "toolkit/control.h"

inline constexpr unsigned kOptional = 1;

struct TExpected {
    std::string what;
    unsigned flags = 0;
};

class TRecorder {
public:
    void Add(std::string entry) { entries_.push_back(std::move(entry)); }
    void Flush() { entries_.clear(); }
    const std::vector<std::string>& Entries() const { return entries_; }

    // Every non-optional expected entry must appear in order; optional ones may
    // be skipped; nothing unexpected may appear.
    testing::AssertionResult Matches(std::initializer_list<TExpected> expected) const;

    // Binds the mouse and click events of control to entries "name:click",
    // "name:dblclick", "name:down(L)", "name:up(L)", "name:enter", "name:leave";
    // moves only when recordMoves.
    void Watch(TControl* control, const std::string& name, bool recordMoves = false);

private:
    std::vector<std::string> entries_;
};

// Pumps the queue: every pending message, then returns.
void Pump();
// Puts the real pointer on a host's client point and sends the mouse message
// there, as the system would.
void SendMouse(HWND host, UINT message, int x, int y, WPARAM keys = 0);
