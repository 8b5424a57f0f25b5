#include "toolkit/themedraw.h"

#include <algorithm>

#include "toolkit/errors.h"
#include "toolkit/graphics.h"
#include "toolkit/handles.h"
#include "toolkit/theme.h"

void FillThemed(HDC dc, const RECT& rect, int role)
{
    TUniqueBrush brush(CreateSolidBrush(ThemeSystemColor(role)));
    CheckGdi(brush.Get() != nullptr, L"CreateSolidBrush");
    ::FillRect(dc, &rect, brush.Get());
}

namespace {

// The sides of r that flags names, one pixel wide, in the role's colour.
void Frame(HDC dc, const RECT& r, UINT flags, int role)
{
    if (flags & BF_LEFT) FillThemed(dc, {r.left, r.top, r.left + 1, r.bottom}, role);
    if (flags & BF_TOP) FillThemed(dc, {r.left, r.top, r.right, r.top + 1}, role);
    if (flags & BF_RIGHT) FillThemed(dc, {r.right - 1, r.top, r.right, r.bottom}, role);
    if (flags & BF_BOTTOM) FillThemed(dc, {r.left, r.bottom - 1, r.right, r.bottom}, role);
}

}  // namespace

void DrawThemedEdge(HDC dc, RECT& rect, UINT edge, UINT flags)
{
    if (!DarkTheme()) {
        DrawEdge(dc, &rect, edge, flags);
        return;
    }
    Frame(dc, rect, flags, COLOR_BTNSHADOW);
    if (flags & BF_ADJUST) InflateRect(&rect, -1, -1);
}

void DrawThemedButtonFrame(HDC dc, RECT& rect, bool pushed)
{
    if (!DarkTheme()) {
        UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
        if (pushed) state |= DFCS_PUSHED;
        CheckGdi(DrawFrameControl(dc, &rect, DFC_BUTTON, state) != FALSE, L"DrawFrameControl");
        return;
    }
    FillThemed(dc, rect, pushed ? COLOR_BTNFACE : COLOR_3DLIGHT);
    Frame(dc, rect, BF_RECT, COLOR_BTNSHADOW);
    // As DFCS_ADJUSTRECT leaves the system's two-pixel frame.
    InflateRect(&rect, -2, -2);
}

void DrawDarkCheckMark(HDC dc, const RECT& box, int state, bool pressed, bool enabled)
{
    FillThemed(dc, box, pressed ? COLOR_BTNFACE : COLOR_WINDOW);
    Frame(dc, box, BF_RECT, enabled ? COLOR_GRAYTEXT : COLOR_BTNSHADOW);
    const int side = box.right - box.left;
    const int markRole = enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT;
    if (state == BST_INDETERMINATE) {
        RECT inner = box;
        InflateRect(&inner, -std::max(3, side / 4), -std::max(3, side / 4));
        FillThemed(dc, inner, markRole);
        return;
    }
    if (state != BST_CHECKED) return;
    // A tick through three points of the box, as thick as the box is large.
    const int pen = std::max(1, side / 7);
    TUniquePen tick(CreatePen(PS_SOLID, pen, ThemeSystemColor(markRole)));
    CheckGdi(tick.Get() != nullptr, L"CreatePen");
    TSelectObject select(dc, tick.Get());
    const POINT points[] = {{box.left + side * 3 / 13, box.top + side * 6 / 13},
                            {box.left + side * 5 / 13, box.top + side * 9 / 13},
                            {box.left + side * 10 / 13, box.top + side * 3 / 13}};
    Polyline(dc, points, 3);
}
