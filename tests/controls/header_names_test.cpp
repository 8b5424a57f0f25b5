// The enumerations keep their values to themselves. Several families share a
// prefix (bs: brush styles, form border styles, speed-button states; cs: the
// button's and the bar's colour schemes), so a header that brought its values
// into a wider scope would let a short name mean whichever header came last.
// Checked when this file compiles: every name below collides with a value
// that a header has let out into the same scope.
#include <concepts>

#include "controls/gradientbutton.h"
#include "controls/gradientprogressbar.h"
#include "toolkit/checkbox.h"
#include "toolkit/forms.h"
#include "toolkit/progressbar.h"
#include "toolkit/registry.h"
#include "toolkit/speedbutton.h"

[[maybe_unused]] static constexpr int mbLeft = 0;         // TMouseButton
[[maybe_unused]] static constexpr int opRemove = 0;       // TOperation
[[maybe_unused]] static constexpr int alClient = 0;       // TAlign
[[maybe_unused]] static constexpr int taCenter = 0;       // TAlignment
[[maybe_unused]] static constexpr int cbChecked = 0;      // TCheckBoxState
[[maybe_unused]] static constexpr int bsDialog = 0;       // TFormBorderStyle
[[maybe_unused]] static constexpr int poDesigned = 0;     // TPosition
[[maybe_unused]] static constexpr int caHide = 0;         // TCloseAction
[[maybe_unused]] static constexpr int psSolid = 0;        // TPenStyle
[[maybe_unused]] static constexpr int bsSolid = 0;        // TBrushStyle
[[maybe_unused]] static constexpr int bsDown = 0;         // TButtonState
[[maybe_unused]] static constexpr int rdString = 0;       // TRegDataType
[[maybe_unused]] static constexpr int pbVertical = 0;     // TProgressBarOrientation
[[maybe_unused]] static constexpr int blGlyphLeft = 0;    // TButtonLayout
[[maybe_unused]] static constexpr int vsDown = 0;         // TButtonVisualState
[[maybe_unused]] static constexpr int csNeoGrass = 0;     // GradientButton::TColorScheme
[[maybe_unused]] static constexpr int csGrass = 0;        // both TColorScheme

namespace GradientButton {
[[maybe_unused]] static constexpr int csNeoGrass = 0;
}
namespace GradientProgressBar {
[[maybe_unused]] static constexpr int csGrass = 0;
}

namespace {

// Nor does either control class take its scheme's values in as its own.
template <class T>
concept ShortSchemeNames = requires { T::csCustom; };
static_assert(!ShortSchemeNames<TGradientButton>);
static_assert(!ShortSchemeNames<TGradientProgressBar>);
static_assert(ShortSchemeNames<TGradientButton::TColorScheme>);

}  // namespace
