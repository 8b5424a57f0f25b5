#include "toolkit/application.h"

#include <algorithm>
#include <new>
#include <vector>

#include "toolkit/forms.h"
#include "toolkit/highcontrast.h"
#include "toolkit/messages.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/texts.h"

namespace {

TApplication applicationInstance;

std::wstring ModuleTitle()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    const auto slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const auto dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

struct TOwnedSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwnedWindow(HWND w, LPARAM data)
{
    auto* search = reinterpret_cast<TOwnedSearch*>(data);
    if (GetWindow(w, GW_OWNER) == search->owner && IsWindowVisible(w)) search->found.push_back(w);
    return TRUE;
}

}  // namespace

TApplication* Application = &applicationInstance;

void ReportWindowError(TObject* sender) noexcept
{
    Application->HandleException(sender);
}

UINT MessageBoxReading() noexcept
{
    return CurrentLanguage().RightToLeft ? MB_RTLREADING | MB_RIGHT : 0;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) noexcept
{
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags | MessageBoxReading());
}

TApplication::TApplication() = default;

TApplication::~TApplication()
{
    MarkDestroying();
    // Forms go before the owner window they hang on.
    while (ComponentCount() > 0) Components(ComponentCount() - 1)->Free();
    if (handle_ != nullptr) {
        TWindowBinding<TApplication>::Unbind(handle_);
        DestroyWindow(handle_);
    }
    handle_ = nullptr;
}

void TApplication::Initialize()
{
    // The common controls are registered class by class as windows of them
    // are first made.
    Handle();
}

namespace {

BOOL CALLBACK TakeFirstName(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR found) noexcept
{
    *reinterpret_cast<HICON*>(found) = LoadIconW(module, name);
    return FALSE;
}

// The module's first icon group: the one the shell shows for the program.
HICON FirstIconOf(HINSTANCE instance)
{
    HICON icon = nullptr;
    EnumResourceNamesW(instance, RT_GROUP_ICON, TakeFirstName, reinterpret_cast<LONG_PTR>(&icon));
    return icon;
}

} // namespace

HWND TApplication::Handle()
{
    if (handle_ != nullptr) return handle_;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TWindowBinding<TApplication>::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = FirstIconOf(instance);
    if (wc.hIcon == nullptr) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = ApplicationWindowClass;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) RaiseLastOSError();
    if (title_.empty()) title_ = ModuleTitle();
    // Zero-sized and off to the side: it exists for its taskbar button and as
    // the owner of every form.
    handle_ = CreateWindowExW(0, ApplicationWindowClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, instance, this);
    if (handle_ == nullptr) RaiseLastOSError();
    return handle_;
}

void TApplication::SetTitle(const std::wstring& value)
{
    title_ = value;
    if (handle_ != nullptr) SetWindowTextW(handle_, title_.c_str());
}

void TApplication::FormCreating(TForm* form)
{
    if (mainForm_ == nullptr) mainForm_ = form;
}

void TApplication::FormLoaded(TForm* form)
{
    if (pendingReference_) {
        auto assign = std::move(pendingReference_);
        pendingReference_ = nullptr;
        assign(form);
    }
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::MainFormVisibilityChanged(bool visible)
{
    if (handle_ == nullptr && !visible) return;
    HWND h = Handle();
    if (visible) {
        minimized_ = false;
        ShowWindow(h, SW_SHOWNOACTIVATE);
    } else if (!minimized_) {
        ShowWindow(h, SW_HIDE);
    }
}

void TApplication::Minimize()
{
    if (minimized_) return;
    minimized_ = true;
    HWND h = Handle();
    // Forms hide with the taskbar button minimised, and come back on Restore.
    TOwnedSearch search{h, {}};
    EnumThreadWindows(GetCurrentThreadId(), &CollectOwnedWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND w : search.found) ShowWindow(w, SW_HIDE);
    hiddenByMinimize_ = std::move(search.found);
    ShowWindow(h, SW_MINIMIZE);
}

void TApplication::Restore()
{
    if (!minimized_) return;
    minimized_ = false;
    ShowWindow(Handle(), SW_RESTORE);
    for (HWND w : hiddenByMinimize_)
        if (IsWindow(w)) ShowWindow(w, SW_SHOW);
    hiddenByMinimize_.clear();
    if (mainForm_ != nullptr && mainForm_->HandleAllocated()) SetForegroundWindow(mainForm_->WindowHandle());
}

void TApplication::HookMainWindow(const TObject* owner, TApplicationHook hook)
{
    hooks_.emplace_back(owner, std::move(hook));
}

void TApplication::UnhookMainWindow(const TObject* owner) noexcept
{
    std::erase_if(hooks_, [owner](const auto& entry) { return entry.first == owner; });
}

LRESULT TApplication::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!hooks_.empty()) {
        // A copy, as a hook may remove itself or another; one removed on the
        // way is skipped.
        const auto hooks = hooks_;
        for (const auto& [owner, hook] : hooks) {
            const auto stillHooked = [o = owner](const auto& entry) { return entry.first == o; };
            if (std::none_of(hooks_.begin(), hooks_.end(), stillHooked)) continue;
            TMessage m{message, wParam, lParam, 0};
            if (hook(m)) return m.Result;
        }
    }
    switch (message) {
    case WM_SYSCOMMAND:
        switch (wParam & kSysCommandMask) {
        case SC_MINIMIZE: Minimize(); return 0;
        case SC_RESTORE: Restore(); return 0;
        case SC_CLOSE:
            if (mainForm_ != nullptr) mainForm_->Close();
            return 0;
        default: break;
        }
        break;
    case WM_CLOSE:
        if (mainForm_ != nullptr) mainForm_->Close();
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // Heard here even while no form has a window (a start in the tray),
        // so a form made later draws for the setting that holds then.
        RefreshHighContrast();
        break;
    case WM_SETFOCUS:
        if (mainForm_ != nullptr && mainForm_->HandleAllocated() && IsWindowVisible(mainForm_->WindowHandle())) {
            SetFocus(mainForm_->WindowHandle());
            return 0;
        }
        break;
    case CM_THREADEXCEPTION: {
        std::unique_ptr<std::exception_ptr> error(reinterpret_cast<std::exception_ptr*>(lParam));
        try {
            std::rethrow_exception(*error);
        } catch (...) {
            HandleException(this);
        }
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void TApplication::QueueException(std::exception_ptr error) noexcept
{
    if (handle_ == nullptr || !error) return;
    auto* heap = new (std::nothrow) std::exception_ptr(error);
    if (heap == nullptr) return;
    if (!PostMessageW(handle_, CM_THREADEXCEPTION, 0, reinterpret_cast<LPARAM>(heap))) delete heap;
}

void TApplication::Run()
{
    if (showMainForm_ && mainForm_ != nullptr) {
        try {
            mainForm_->Show();
        } catch (...) {
            HandleException(this);
        }
    }
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg)
{
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    try {
        handled = IsKeyMessage(msg);
    } catch (...) {
        HandleException(this);
        handled = true;
    }
    if (!handled) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg) && !terminated_) WaitMessage();
}

namespace {

// +1 for the next page, -1 for the previous one, 0 for a key that turns none.
int PageStep(WORD key)
{
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return 0;
    switch (key) {
    case VK_TAB: return GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    case VK_NEXT: return 1;
    case VK_PRIOR: return -1;
    default: return 0;
    }
}

}  // namespace

bool TApplication::IsKeyMessage(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    TWinControl* target = TWinControl::FindControl(msg.hwnd);
    if (target == nullptr) return false;
    TForm* form = target->GetParentForm();
    if (form == nullptr) return false;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // Ctrl+Tab and Ctrl+Page Down turn the pages from any control on
        // them, before the control sees the key, as property sheets do.
        if (const int step = PageStep(static_cast<WORD>(msg.wParam)); step != 0)
            for (TWinControl* c = target; c != nullptr; c = c->Parent())
                if (auto* pages = dynamic_cast<TPageControl*>(c)) {
                    pages->SelectNextPage(step > 0);
                    return true;
                }
        LRESULT mask = 0;
        switch (msg.wParam) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_EXECUTE:
        case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
        default: return false;
        }
        const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (code & (mask | DLGC_WANTALLKEYS)) return false;
        return form->DialogKey(static_cast<WORD>(msg.wParam), msg.lParam);
    }
    case WM_CHAR: {
        const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (code & DLGC_WANTCHARS) return false;
        return form->DialogChar(static_cast<wchar_t>(msg.wParam), msg.lParam);
    }
    case WM_SYSCHAR: {
        // A control that takes Alt combinations as its input (a hotkey
        // control) says so for the message.
        const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (code & DLGC_WANTMESSAGE) return false;
        return form->DialogChar(static_cast<wchar_t>(msg.wParam), msg.lParam);
    }
    default:
        return false;
    }
}

void TApplication::HandleException(TObject* sender) noexcept
{
    if (!std::current_exception()) return;
    try {
        try {
            throw;
        } catch (const EAbort&) {
            return;
        } catch (...) {
        }
        const Exception error = CurrentError();
        if (OnException)
            OnException(sender, error);
        else
            ShowException(error);
    } catch (...) {
        // The report itself failed (a handler threw, or no memory for the box):
        // nothing is left to tell, and nothing may escape from here.
    }
}

void TApplication::ShowException(const Exception& error)
{
    MessageBox(ErrorReportText(error.Message()), title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags)
{
    HWND owner = GetActiveWindow();
    if (owner == nullptr) owner = handle_;
    const std::wstring& shown = caption.empty() ? (title_.empty() ? (title_ = ModuleTitle()) : title_) : caption;
    ++openBoxes_;
    const int answer = ShowMessageBox(owner, text, shown, flags);
    --openBoxes_;
    return answer;
}

Exception CurrentError()
{
    // Every error becomes one of ours.
    try {
        throw;
    } catch (const EOutOfMemory&) {
        return Exception(Text(TText::ErrorOutOfMemory));
    } catch (const Exception& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return Exception(Text(TText::ErrorOutOfMemory));
    } catch (const std::exception& e) {
        return Exception(FromUtf8(e.what()));
    } catch (...) {
        return Exception(Text(TText::ErrorUnknown));
    }
}
