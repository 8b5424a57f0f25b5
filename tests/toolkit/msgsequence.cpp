#include "msgsequence.h"

#include <commctrl.h>

#include <cstdio>
#include <sstream>

namespace {

// Messages that come and go with the pointer, the input method, themes and
// accessibility, whatever the control does.
const std::set<UINT> kNoise = {
    WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_MOUSELEAVE, WM_NCMOUSELEAVE, WM_TIMER,
    WM_GETICON, WM_GETOBJECT, WM_IME_SETCONTEXT, WM_IME_NOTIFY, WM_IME_REQUEST, WM_DEVICECHANGE,
    WM_SYNCPAINT, WM_ENTERIDLE, WM_THEMECHANGED, 0x0093, 0x0094, 0x0095, 0x0096, 0x031F /* WM_DWMNCRENDERINGCHANGED */,
};

std::string Describe(const TMsg& m)
{
    std::ostringstream out;
    out << MessageName(m.message);
    if (m.flags & sent) out << " sent";
    if (m.flags & posted) out << " posted";
    if (m.flags & parent) out << " parent";
    out << " w=0x" << std::hex << static_cast<unsigned long long>(m.wParam) << " l=0x"
        << static_cast<unsigned long long>(m.lParam);
    if (m.flags & optional) out << " (optional)";
    return out.str();
}

bool Fits(const TMsg& want, const TMsg& got)
{
    if (want.message != got.message) return false;
    if ((want.flags & parent) != (got.flags & parent)) return false;
    if ((want.flags & (sent | posted)) && (want.flags & (sent | posted)) != (got.flags & (sent | posted))) return false;
    if ((want.flags & wparam) && want.wParam != got.wParam) return false;
    if ((want.flags & lparam) && want.lParam != got.lParam) return false;
    return true;
}

}  // namespace

std::string MessageName(UINT message)
{
    static const std::pair<UINT, const char*> names[] = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
        {WM_PAINT, "WM_PAINT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_SETFONT, "WM_SETFONT"},
        {WM_GETFONT, "WM_GETFONT"},
        {WM_NOTIFY, "WM_NOTIFY"},
        {WM_DRAWITEM, "WM_DRAWITEM"},
        {WM_STYLECHANGING, "WM_STYLECHANGING"},
        {WM_STYLECHANGED, "WM_STYLECHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_GETDLGCODE, "WM_GETDLGCODE"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_HSCROLL, "WM_HSCROLL"},
        {WM_VSCROLL, "WM_VSCROLL"},
        {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
        {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
        {WM_UPDATEUISTATE, "WM_UPDATEUISTATE"},
        {WM_QUERYUISTATE, "WM_QUERYUISTATE"},
        {BM_SETCHECK, "BM_SETCHECK"},
        {BM_SETSTATE, "BM_SETSTATE"},
        {BM_GETSTATE, "BM_GETSTATE"},
        {BM_CLICK, "BM_CLICK"},
        {TBM_GETPOS, "TBM_GETPOS"},
        {TBM_SETPOS, "TBM_SETPOS"},
        {TBM_SETRANGEMIN, "TBM_SETRANGEMIN"},
        {TBM_SETRANGEMAX, "TBM_SETRANGEMAX"},
        {TBM_SETTICFREQ, "TBM_SETTICFREQ"},
        {TBM_SETLINESIZE, "TBM_SETLINESIZE"},
        {TBM_SETPAGESIZE, "TBM_SETPAGESIZE"},
        {TBM_SETTHUMBLENGTH, "TBM_SETTHUMBLENGTH"},
        {PBM_SETRANGE32, "PBM_SETRANGE32"},
        {PBM_SETPOS, "PBM_SETPOS"},
        {PBM_SETSTEP, "PBM_SETSTEP"},
    };
    for (const auto& [number, name] : names)
        if (number == message) return name;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", message);
    return buffer;
}

TMessageSequence::TMessageSequence(HWND parentWindow) : parent_(parentWindow)
{
    watched_.insert(parentWindow);
    active_ = this;
    const DWORD thread = GetCurrentThreadId();
    hooks_[0] = SetWindowsHookExW(WH_CALLWNDPROC, &TMessageSequence::CallProc, nullptr, thread);
    hooks_[1] = SetWindowsHookExW(WH_CALLWNDPROCRET, &TMessageSequence::CallRetProc, nullptr, thread);
    hooks_[2] = SetWindowsHookExW(WH_GETMESSAGE, &TMessageSequence::GetMsgProc, nullptr, thread);
    hooks_[3] = SetWindowsHookExW(WH_CBT, &TMessageSequence::CbtProc, nullptr, thread);
    for (HHOOK h : hooks_) EXPECT_NE(h, nullptr) << "hook not installed";
}

TMessageSequence::~TMessageSequence()
{
    for (HHOOK h : hooks_)
        if (h != nullptr) UnhookWindowsHookEx(h);
    active_ = nullptr;
}

void TMessageSequence::Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, unsigned how)
{
    if (!watched_.contains(window) || kNoise.contains(message) || ignored_.contains(message)) return;
    recorded_.push_back({message, how | (window == parent_ ? parent : 0u), wParam, lParam});
}

LRESULT CALLBACK TMessageSequence::CallProc(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code == HC_ACTION && active_ != nullptr) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        try {
            active_->Record(cwp->hwnd, cwp->message, cwp->wParam, cwp->lParam, sent);
        } catch (...) {
            ADD_FAILURE() << "recording failed";
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TMessageSequence::CallRetProc(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code == HC_ACTION && active_ != nullptr && active_->OnHandled) {
        const auto* ret = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (active_->watched_.contains(ret->hwnd)) {
            try {
                active_->OnHandled(ret->hwnd, ret->message, ret->lResult);
            } catch (...) {
                ADD_FAILURE() << "check after a message failed";
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TMessageSequence::GetMsgProc(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code == HC_ACTION && wParam == PM_REMOVE && active_ != nullptr) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        try {
            active_->Record(msg->hwnd, msg->message, msg->wParam, msg->lParam, posted);
        } catch (...) {
            ADD_FAILURE() << "recording failed";
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TMessageSequence::CbtProc(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code == HCBT_CREATEWND && active_ != nullptr) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (create->lpcs != nullptr && active_->watched_.contains(create->lpcs->hwndParent)) {
            try {
                active_->watched_.insert(reinterpret_cast<HWND>(wParam));
            } catch (...) {
                ADD_FAILURE() << "recording failed";
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

testing::AssertionResult TMessageSequence::Matches(const std::vector<TMsg>& expected) const
{
    std::ostringstream report;
    auto dump = [&] {
        report << "\nrecorded:\n";
        for (const TMsg& m : recorded_) report << "  " << Describe(m) << "\n";
    };
    std::size_t at = 0;
    for (const TMsg& want : expected) {
        if (at < recorded_.size() && Fits(want, recorded_[at])) {
            ++at;
            continue;
        }
        if (want.flags & optional) continue;
        report << "expected " << Describe(want) << " at position " << at;
        if (at < recorded_.size()) report << ", got " << Describe(recorded_[at]);
        dump();
        return testing::AssertionFailure() << report.str();
    }
    if (at != recorded_.size()) {
        report << "unexpected " << Describe(recorded_[at]) << " at position " << at;
        dump();
        return testing::AssertionFailure() << report.str();
    }
    return testing::AssertionSuccess();
}
