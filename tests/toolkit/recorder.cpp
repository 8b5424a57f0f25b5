#include "recorder.h"

#include <sstream>

#include "toolkit/application.h"

namespace {

std::string Join(const std::vector<std::string>& v)
{
    std::ostringstream out;
    for (const auto& s : v) out << "  " << s << "\n";
    return out.str();
}

const char* ButtonName(TMouseButton b)
{
    return b == TMouseButton::mbLeft ? "L" : b == TMouseButton::mbRight ? "R" : "M";
}

}  // namespace

testing::AssertionResult TRecorder::Matches(std::initializer_list<TExpected> expected) const
{
    std::size_t at = 0;
    for (const auto& e : expected) {
        if (at < entries_.size() && entries_[at] == e.what) {
            ++at;
            continue;
        }
        if (e.flags & kOptional) continue;
        std::ostringstream out;
        out << "expected \"" << e.what << "\" at position " << at << "; recorded:\n" << Join(entries_);
        return testing::AssertionFailure() << out.str();
    }
    if (at != entries_.size())
        return testing::AssertionFailure() << "unexpected \"" << entries_[at] << "\" at position " << at
                                           << "; recorded:\n"
                                           << Join(entries_);
    return testing::AssertionSuccess();
}

void TRecorder::Watch(TControl* c, const std::string& name, bool recordMoves)
{
    c->OnClick = [this, name](TObject*) { Add(name + ":click"); };
    c->OnDblClick = [this, name](TObject*) { Add(name + ":dblclick"); };
    c->OnMouseDown = [this, name](TObject*, TMouseButton b, TShiftState s, int, int) {
        Add(name + ":down(" + ButtonName(b) + ((s & ssDouble) ? ",double" : "") + ")");
    };
    c->OnMouseUp = [this, name](TObject*, TMouseButton b, TShiftState, int, int) {
        Add(name + ":up(" + ButtonName(b) + ")");
    };
    c->OnMouseEnter = [this, name](TObject*) { Add(name + ":enter"); };
    c->OnMouseLeave = [this, name](TObject*) { Add(name + ":leave"); };
    if (recordMoves)
        c->OnMouseMove = [this, name](TObject*, TShiftState, int x, int y) {
            Add(name + ":move(" + std::to_string(x) + "," + std::to_string(y) + ")");
        };
}

void Pump()
{
    Application->ProcessMessages();
}

namespace {

// When the system last queued a pointer message of its own.
DWORD lastPointerMessage = 0;

// The system's own pointer moves (from SetCursorPos, and again later from
// the display server's copy of the same warp) are taken out of the queue:
// arriving late on a busy machine, they would replay a path the test has
// already left. The test's own messages are sent, not posted, and pass.
LRESULT CALLBACK DropPointerMoves(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) lastPointerMessage = GetTickCount();
        if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void SendMouse(HWND host, UINT message, int x, int y, WPARAM keys)
{
    // One hook for the test thread's life.
    static const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, DropPointerMoves, nullptr, GetCurrentThreadId());
    (void)hook;
    POINT screen{x, y};
    ClientToScreen(host, &screen);
    // Hit tests and leave tracking read the real pointer. Its own messages
    // are let through the queue until it has been quiet for a while (or a
    // second has passed), so the pointer stays where the test put it.
    SetCursorPos(screen.x, screen.y);
    const DWORD start = GetTickCount();
    lastPointerMessage = start;
    while (GetTickCount() - lastPointerMessage < 50 && GetTickCount() - start < 1000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
        POINT now{};
        if (GetCursorPos(&now) && (now.x != screen.x || now.y != screen.y)) {
            // A late copy of an earlier move took the pointer away.
            SetCursorPos(screen.x, screen.y);
            lastPointerMessage = GetTickCount();
        }
    }
    SendMessageW(host, message, keys, MAKELPARAM(x, y));
}
