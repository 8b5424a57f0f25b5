// The autorun box: it shows whether the one Run entry starts this copy, and
// a tick that would take the entry from another copy asks first.
#include "app/formmain.h"

#include <utility>

#include "settings/autorun.h"
#include "toolkit/application.h"
#include "toolkit/checkbox.h"
#include "toolkit/modulepath.h"
#include "toolkit/texts.h"

void TFormMain::ShowAutorunAtStart()
{
    ShowAutorun(ReconcileAutorunAtStart(ExecutablePath()));
}

void TFormMain::ShowAutorun(bool starts)
{
    // What the entry does, not a choice: the click handler stays out of it.
    auto onClick = std::exchange(CheckBoxAutoRun2->OnClick, nullptr);
    CheckBoxAutoRun2->SetChecked(starts);
    CheckBoxAutoRun2->OnClick = std::move(onClick);
}

void TFormMain::CheckBoxAutoRun2Click(TObject*)
{
    const std::wstring exe = ExecutablePath();
    const bool checked = CheckBoxAutoRun2->Checked();
    if (const auto other = checked ? RunEntryOfAnotherCopy(exe) : std::nullopt) {
        // Runs wait while the box is open, as under any box of ours.
        const bool take = AskTakeAutorun ? AskTakeAutorun(*other)
                                         : Application->MessageBox(Text(TText::SettingsAutorunOther, {*other}), L"",
                                                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
        if (!take) {
            // Left to the other copy, which still starts.
            ShowAutorun(false);
            return;
        }
    }
    ApplyAutorunChoice(checked, exe);
}
