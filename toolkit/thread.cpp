#include "toolkit/thread.h"

#include "toolkit/application.h"
#include "toolkit/oserror.h"

TThread::TThread() = default;

TThread::~TThread()
{
    if (handle_ == nullptr) return;  // never started: nothing to stop
    if (GetCurrentThreadId() == threadId_) {
        CloseHandle(handle_);  // freeing itself at the end of its own run
        return;
    }
    // Nothing may leave a destructor: the flags are set even if the lock fails.
    terminated_ = true;
    try {
        std::lock_guard lock(mutex_);
    } catch (...) {
    }
    wake_.notify_all();
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
}

bool TThread::Start()
{
    if (started_) return true;
    if (terminated_) return false;  // stopped before it ever ran: stays that way
    DWORD id = 0;
    const DWORD flags = CREATE_SUSPENDED | (stackSize_ != 0 ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0);
    HANDLE handle = CreateThread(nullptr, stackSize_, &ThreadProc, this, flags, &id);
    if (handle == nullptr) {
        const DWORD code = GetLastError();
        throw EThread(FormatMessageText(L"Thread creation error: %s", SystemErrorMessage(code)), code);
    }
    // Both are known before the thread runs, so a thread that frees itself
    // at once finds them set.
    handle_ = handle;
    threadId_ = id;
    started_ = true;
    ResumeThread(handle);  // from here on the thread may finish and free itself
    return true;
}

void TThread::Resume()
{
    if (!started_) {
        {
            std::lock_guard lock(mutex_);
            suspended_ = false;
        }
        try {
            Start();
        } catch (...) {
            suspended_ = true;
            throw;
        }
        return;
    }
    {
        std::lock_guard lock(mutex_);
        suspended_ = false;
    }
    wake_.notify_all();
}

void TThread::StartPaused()
{
    {
        std::lock_guard lock(mutex_);
        suspended_ = true;
    }
    Start();
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
    if (!started_) {
        if (terminated_) return;  // never ran and never will
        Resume();
    }
    if (handle_ != nullptr && GetCurrentThreadId() != threadId_) WaitForSingleObject(handle_, INFINITE);
}

std::exception_ptr TThread::FatalException() const
{
    std::lock_guard lock(mutex_);
    return fatal_;
}

DWORD WINAPI TThread::ThreadProc(void* self) noexcept
{
    static_cast<TThread*>(self)->Run();
    return 0;
}

void TThread::Run() noexcept
{
    try {
        Execute();
    } catch (...) {
        std::exception_ptr error = std::current_exception();
        try {
            std::lock_guard lock(mutex_);
            fatal_ = error;
        } catch (...) {
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
