// What the toolkit's controls tell a screen reader where the default (the
// caption, the state) is not enough.
#include <oleacc.h>

#include "toolkit/checkbox.h"
#include "toolkit/groupbox.h"
#include "toolkit/hotkeyedit.h"
#include "toolkit/label.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/shorthint.h"
#include "toolkit/speedbutton.h"
#include "toolkit/trackbar.h"
#include "toolkit/texts.h"

long TLabel::AccessibleRole() const
{
    return ROLE_SYSTEM_STATICTEXT;
}

unsigned long TLabel::AccessibleState() const
{
    return TGraphicControl::AccessibleState() | STATE_SYSTEM_READONLY;
}

long TGroupBox::AccessibleRole() const
{
    return ROLE_SYSTEM_GROUPING;
}

long TSpeedButton::AccessibleRole() const
{
    return ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring TSpeedButton::AccessibleName() const
{
    // A toolbar button is known by its hint; the caption serves when it has none.
    const std::wstring_view hint = ShortHint(Hint());
    return hint.empty() ? TGraphicControl::AccessibleName() : std::wstring(hint);
}

std::wstring TSpeedButton::AccessibleDefaultAction() const
{
    return Text(TText::AccessPress);
}

bool TSpeedButton::DoAccessibleDefaultAction()
{
    Click();
    return true;
}

long TTrackBar::AccessibleRole() const
{
    return ROLE_SYSTEM_SLIDER;
}

std::wstring TTrackBar::AccessibleValue() const
{
    return ValueText ? ValueText(Position()) : std::to_wstring(Position());
}

long TCheckBox::AccessibleRole() const
{
    return ROLE_SYSTEM_CHECKBUTTON;
}

unsigned long TCheckBox::AccessibleState() const
{
    unsigned long state = TWinControl::AccessibleState();
    if (Checked()) state |= STATE_SYSTEM_CHECKED;
    if (State() == TCheckBoxState::cbGrayed) state |= STATE_SYSTEM_MIXED;
    return state;
}

std::wstring TCheckBox::AccessibleDefaultAction() const
{
    return Text(Checked() ? TText::AccessUncheck : TText::AccessCheck);
}

bool TCheckBox::DoAccessibleDefaultAction()
{
    SetChecked(!Checked());
    return true;
}

long THotkeyEdit::AccessibleRole() const
{
    return ROLE_SYSTEM_HOTKEYFIELD;
}

std::wstring THotkeyEdit::AccessibleValue() const
{
    // As shown: the modifiers held while a key is chosen.
    return Shown() != 0 ? HotkeyText(Shown()) : Text(TText::SettingsHotkeyNone);
}

long TTabSheet::AccessibleRole() const
{
    return ROLE_SYSTEM_PROPERTYPAGE;
}

long TPageControl::AccessibleRole() const
{
    return ROLE_SYSTEM_PAGETABLIST;
}

std::wstring TPageControl::AccessibleName() const
{
    // A tab list has no caption of its own: a reader names it by the page on show.
    std::wstring own = TWinControl::AccessibleName();
    if (own.empty() && ActivePage() != nullptr) return ActivePage()->AccessibleName();
    return own;
}
