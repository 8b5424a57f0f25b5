// A worker thread. Derive, override Execute(), and check Terminated() (and
// call PausePoint() between steps so that Pause() can hold the thread).
// Errors raised by Execute are caught on the thread and reported through
// FatalException() and, on the user-interface thread, the application's error
// report.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "toolkit/object.h"

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
        if (!createSuspended) thread->Resume();
        return thread;
    }
    // Asks the thread to terminate and waits for it (unless it frees itself).
    ~TThread() override;

    // Starts a suspended thread, or lets a paused one go on.
    void Resume();
    // Holds the thread at its next PausePoint() until Resume().
    void Pause();
    bool Suspended() const noexcept { return suspended_; }

    void Terminate();
    bool Terminated() const noexcept { return terminated_; }
    // Waits until Execute has returned; a suspended thread is started first.
    // Not for a thread that frees itself.
    void WaitFor();
    bool Finished() const noexcept { return finished_; }

    // The thread deletes itself when Execute returns. Set before it can finish.
    bool FreeOnTerminate() const noexcept { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }

    // The error Execute ended with, if any.
    std::exception_ptr FatalException() const;

    TNotifyEvent OnTerminate;  // runs on the worker thread as it finishes

protected:
    TThread();
    virtual void Execute() = 0;
    // Blocks while paused; returns at once when terminated.
    void PausePoint();

private:
    void Run() noexcept;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    std::atomic<bool> suspended_{true};
    std::atomic<bool> started_{false};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> freeOnTerminate_{false};
    std::exception_ptr fatal_;
};
