// A run another copy asked for (a scheduled /optimize handed over) while the
// window holds runs back: on the settings page the run would take choices
// not yet saved and enable the button under the page, and under a box of
// ours its failure would open a box inside a box. The request waits, and
// runs once when runs are no longer held back.
#pragma once

#include <functional>
#include <memory>

class TObject;
class TTimer;

class THeldRequest {
public:
    // heldBack: whether a run must wait now; run: the run itself, whose
    // errors leave through the caller or the timer's error report.
    THeldRequest(std::function<bool()> heldBack, std::function<void()> run);
    ~THeldRequest();
    THeldRequest(const THeldRequest&) = delete;
    THeldRequest& operator=(const THeldRequest&) = delete;

    // A request came: run now, or wait. Requests that come while one waits
    // are that one run.
    void Arrived();
    bool Waiting() const noexcept;

private:
    void Check(TObject* sender);

    std::function<bool()> heldBack_;
    std::function<void()> run_;
    // Looks again while a request waits: a page closed, a box answered or a
    // run ended each let it go, and none of them tells.
    std::unique_ptr<TTimer> timer_;
};
