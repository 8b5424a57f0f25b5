// A worker thread. Derive, override Execute(), and check Terminated() (and
// call PausePoint() between steps so that Pause() can hold the thread).
// Errors raised by Execute are caught on the thread and reported through
// FatalException() and, on the user-interface thread, the application's error
// report.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <utility>

#include "toolkit/errors.h"
#include "toolkit/object.h"

// The system could not make the thread: "Thread creation error: <system text>".
class EThread : public Exception {
public:
    EThread(std::wstring message, std::uint32_t code) : Exception(std::move(message)), code_(code) {}
    std::uint32_t ErrorCode() const noexcept { return code_; }

private:
    std::uint32_t code_;
};

class TThread : public TObject {
public:
    // Creates a T (a TThread) and starts it unless createSuspended; a
    // suspended thread runs Execute from its first Resume(). Starting only
    // once the object is complete keeps Execute away from a half-built one.
    //   auto* worker = TThread::Create<TWorker>(false, args...);
    template <class T, class... A>
    static T* Create(bool createSuspended, A&&... args)
    {
        T* thread = new T(std::forward<A>(args)...);
        if (!createSuspended) {
            try {
                thread->Resume();
            } catch (...) {
                delete thread;
                throw;
            }
        }
        return thread;
    }
    // Asks the thread to terminate and waits for it (unless it frees itself).
    // A thread that never started is not started to be stopped. Never throws.
    ~TThread() override;

    // Starts a suspended thread, or lets a paused one go on. Raises EThread
    // when the system cannot make the thread. A thread terminated before it
    // ever started stays unstarted.
    void Resume();
    // Makes the system thread now but holds it at its first PausePoint()
    // until Resume(): creation fails here, never in a later Resume().
    void StartPaused();
    // Holds the thread at its next PausePoint() until Resume().
    void Pause();
    bool Suspended() const noexcept { return suspended_; }
    // The system thread exists (it was started, paused or not).
    bool Started() const noexcept { return started_; }

    void Terminate();
    bool Terminated() const noexcept { return terminated_; }
    // Waits until Execute has returned; a suspended thread is started first,
    // one terminated before it started is not waited for. Not for a thread
    // that frees itself.
    void WaitFor();
    bool Finished() const noexcept { return finished_; }

    // The thread deletes itself when Execute returns. Set before it can finish.
    bool FreeOnTerminate() const noexcept { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }

    // Stack reserve of the system thread in bytes, 0 for the program's
    // default. Only before the thread starts.
    std::size_t StackSize() const noexcept { return stackSize_; }
    void SetStackSize(std::size_t bytes) { stackSize_ = bytes; }

    // The error Execute ended with, if any.
    std::exception_ptr FatalException() const;

    TNotifyEvent OnTerminate;  // runs on the worker thread as it finishes

protected:
    TThread();
    virtual void Execute() = 0;
    // Blocks while paused; returns at once when terminated.
    void PausePoint();

private:
    // Makes the system thread once; false when it was never to start.
    bool Start();
    static DWORD WINAPI ThreadProc(void* self) noexcept;
    void Run() noexcept;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    HANDLE handle_ = nullptr;  // owned
    DWORD threadId_ = 0;
    std::size_t stackSize_ = 0;
    std::atomic<bool> suspended_{true};
    std::atomic<bool> started_{false};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> freeOnTerminate_{false};
    std::exception_ptr fatal_;
};
