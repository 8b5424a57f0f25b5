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
    return b == mbLeft ? "L" : b == mbRight ? "R" : "M";
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

void SendMouse(HWND host, UINT message, int x, int y, WPARAM keys)
{
    POINT screen{x, y};
    ClientToScreen(host, &screen);
    SetCursorPos(screen.x, screen.y);
    // In a virtual desktop the pointer's own move comes back later through
    // the queue; let it land first, so it cannot undo what the test sends.
    for (int i = 0; i < 8; ++i) {
        Sleep(5);
        Pump();
    }
    SendMessageW(host, message, keys, MAKELPARAM(x, y));
}
