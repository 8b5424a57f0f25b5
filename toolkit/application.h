// The application object: the hidden owner window that carries the title and
// the taskbar button, the main form, the message loop, and the default error
// report that every window procedure, timer and thread hands its errors to.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/component.h"
#include "toolkit/errors.h"
#include "toolkit/messages.h"
#include "toolkit/windowbinding.h"

class TForm;

using TExceptionEvent = std::function<void(TObject* sender, const Exception& error)>;
// Sees a message to the application window first; true when it has answered
// (in message.Result) and nothing else may handle it.
using TApplicationHook = std::function<bool(TMessage& message)>;

// The application window's class, by which another process can find it.
inline constexpr wchar_t ApplicationWindowClass[] = L"QuenfelApplication";

// The flags that make a message box read in the current language's
// direction: from the right, and set against the right edge, for Arabic and
// Hebrew; none for the others.
UINT MessageBoxReading() noexcept;
// MessageBoxW with those flags. Every box of ours goes through here, also
// those shown before the application window exists or after it failed.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) noexcept;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Makes the application window.
    void Initialize();

    // The hidden owner window (created on first use).
    HWND Handle();
    // The title shown on the taskbar button and as the caption of reports.
    const std::wstring& Title() const noexcept { return title_; }
    void SetTitle(const std::wstring& value);

    // Creates a form owned by the application and stores it in reference
    // before its layout is loaded; the first form created becomes the main form.
    template <class T>
    void CreateForm(T*& reference)
    {
        pendingReference_ = [&reference](TForm* form) { reference = static_cast<T*>(form); };
        T* form = nullptr;
        try {
            form = new T(this);
        } catch (...) {
            pendingReference_ = nullptr;
            reference = nullptr;
            throw;
        }
        pendingReference_ = nullptr;
        reference = form;
    }
    TForm* MainForm() const noexcept { return mainForm_; }
    bool ShowMainForm() const noexcept { return showMainForm_; }
    void SetShowMainForm(bool value) { showMainForm_ = value; }

    // Shows the main form (unless ShowMainForm is false) and runs the message
    // loop until Terminate.
    void Run();
    // Posts a quit request; the loop ends once the running handler returns.
    void Terminate();
    bool Terminated() const noexcept { return terminated_; }
    // Handles every queued message, then returns. Handlers run inside it and
    // may call it again.
    void ProcessMessages();
    // Handles one message, or waits for one when the queue is empty.
    void HandleMessage();

    // The default error report for the exception being handled (call inside a
    // catch block): OnException when bound, else a message box captioned with
    // the title, error icon and OK. EAbort is reported by neither.
    void HandleException(TObject* sender) noexcept;
    void ShowException(const Exception& error);
    TExceptionEvent OnException;

    // A message box owned by the active window, captioned with the title when
    // caption is empty.
    int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
    // A box of ours is waiting for the user. Its loop keeps timers running,
    // so work that could end in another box waits until it is closed.
    bool MessageBoxOpen() const noexcept { return openBoxes_ > 0; }

    // Minimises the application to its taskbar button (hiding its forms) and
    // brings it back.
    void Minimize();
    void Restore();

    // Called by forms: the main form shows, hides or goes away.
    void MainFormVisibilityChanged(bool visible);
    void FormCreating(TForm* form);
    // A form created by CreateForm finished loading: its reference is set
    // before its creation handler runs.
    void FormLoaded(TForm* form);
    void Notification(TComponent* component, TOperation operation) override;
    // Hands an error from a worker thread to the report on this thread.
    void QueueException(std::exception_ptr error) noexcept;

    // Lets owner see the application window's messages first: the one window
    // that exists from start to end, whether a form is shown or not (messages
    // from other processes, the end of the session). The hook must be removed
    // before owner goes.
    void HookMainWindow(const TObject* owner, TApplicationHook hook);
    void UnhookMainWindow(const TObject* owner) noexcept;

private:
    friend class TWindowBinding<TApplication>;
    LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool ProcessMessage(MSG& msg);
    bool IsKeyMessage(MSG& msg);

    HWND handle_ = nullptr;
    std::wstring title_;
    TForm* mainForm_ = nullptr;  // not owned (owned by this object as a component)
    std::function<void(TForm*)> pendingReference_;
    bool showMainForm_ = true;
    bool terminated_ = false;
    bool minimized_ = false;
    int openBoxes_ = 0;
    std::vector<HWND> hiddenByMinimize_;
    std::vector<std::pair<const TObject*, TApplicationHook>> hooks_;
};

// The one application object.
extern TApplication* Application;

// The error being handled (call inside a catch block) as one of ours: what
// the default report would show for it.
Exception CurrentError();

// Runs body and hands any error to Application->HandleException; for the
// boundaries where nothing may escape (window procedures, callbacks, threads).
template <class F>
void CatchAll(TObject* sender, F&& body) noexcept
{
    try {
        body();
    } catch (...) {
        Application->HandleException(sender);
    }
}
