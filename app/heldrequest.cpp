#include "app/heldrequest.h"

#include <utility>

#include "toolkit/timer.h"

THeldRequest::THeldRequest(std::function<bool()> heldBack, std::function<void()> run)
    : heldBack_(std::move(heldBack)), run_(std::move(run)), timer_(std::make_unique<TTimer>(nullptr))
{
    timer_->SetEnabled(false);
    timer_->SetInterval(250);
    timer_->OnTimer = [this](TObject* sender) { Check(sender); };
}

THeldRequest::~THeldRequest() = default;

void THeldRequest::Arrived()
{
    if (heldBack_()) {
        timer_->SetEnabled(true);
        return;
    }
    timer_->SetEnabled(false);
    run_();
}

bool THeldRequest::Waiting() const noexcept
{
    return timer_->Enabled();
}

void THeldRequest::Check(TObject*)
{
    if (heldBack_()) return;
    // Off before the run: its message pumping comes back here.
    timer_->SetEnabled(false);
    run_();
}
