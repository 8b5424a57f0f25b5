#include "toolkit/thread.h"

#include "toolkit/application.h"

TThread::TThread() = default;

TThread::~TThread()
{
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();  // freeing itself at the end of its own run
        } else {
            Terminate();
            Resume();
            thread_.join();
        }
    }
}

void TThread::Resume()
{
    {
        std::lock_guard lock(mutex_);
        suspended_ = false;
    }
    if (!started_.exchange(true)) {
        thread_ = std::thread([this] { Run(); });
        return;
    }
    wake_.notify_all();
}

void TThread::Pause()
{
    std::lock_guard lock(mutex_);
    suspended_ = true;
}

void TThread::Terminate()
{
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
    }
    wake_.notify_all();
}

void TThread::PausePoint()
{
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !suspended_ || terminated_; });
}

void TThread::WaitFor()
{
    if (!started_) Resume();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

std::exception_ptr TThread::FatalException() const
{
    std::lock_guard lock(mutex_);
    return fatal_;
}

void TThread::Run() noexcept
{
    try {
        Execute();
    } catch (...) {
        std::exception_ptr error = std::current_exception();
        {
            std::lock_guard lock(mutex_);
            fatal_ = error;
        }
        // Shown by the user-interface thread, never from here.
        Application->QueueException(error);
    }
    try {
        Fire(OnTerminate, this);
    } catch (...) {
        Application->QueueException(std::current_exception());
    }
    finished_ = true;
    if (freeOnTerminate_) delete this;
}
