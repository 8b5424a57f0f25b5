// What the custom controls tell a screen reader.
#include <oleacc.h>

#include "controls/gradientbutton.h"
#include "controls/spinedit.h"
#include "toolkit/texts.h"

long TGradientButton::AccessibleRole() const
{
    return ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring TGradientButton::AccessibleDefaultAction() const
{
    return Text(TText::AccessPress);
}

bool TGradientButton::DoAccessibleDefaultAction()
{
    Click();
    return true;
}

unsigned long TGradientButton::AccessibleState() const
{
    unsigned long state = TCustomControl::AccessibleState();
    if (VisualState() == TButtonVisualState::vsDown) state |= STATE_SYSTEM_PRESSED;
    if (Default()) state |= STATE_SYSTEM_DEFAULT;
    return state;
}

long TSpinEdit::AccessibleRole() const
{
    return ROLE_SYSTEM_SPINBUTTON;
}
