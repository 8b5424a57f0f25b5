// The plain root of the toolkit's classes and the event shapes shared by every
// layer. Platform-free.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

// Root object: gives every sender of an event a common type.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Shift state: bit 0 ssShift ... bit 6 ssDouble.
using TShiftState = std::uint8_t;
inline constexpr TShiftState ssShift = 1u << 0;
inline constexpr TShiftState ssAlt = 1u << 1;
inline constexpr TShiftState ssCtrl = 1u << 2;
inline constexpr TShiftState ssLeft = 1u << 3;
inline constexpr TShiftState ssRight = 1u << 4;
inline constexpr TShiftState ssMiddle = 1u << 5;
inline constexpr TShiftState ssDouble = 1u << 6;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, std::int32_t x, std::int32_t y)>;

// Binds a member function of obj as an event handler:
//   Button->OnClick = Bind(this, &TFormMain::GradientButton1Click);
template <class C, class R, class... A>
std::function<R(A...)> Bind(C* obj, R (C::*method)(A...))
{
    return [obj, method](A... args) -> R { return (obj->*method)(std::forward<A>(args)...); };
}

// Calls an event only when a handler is bound.
template <class F, class... A>
void Fire(const F& event, A&&... args)
{
    if (event) event(std::forward<A>(args)...);
}
