// The main window at the dpi of the prefix it runs in (tests/dpi/run makes
// one at 96, 120, 144 and 192): in each state every visible control lies
// inside the client area and every label's text fits; the design's places
// scale with the dpi (exactly today's at 96); a change of monitor dpi gives
// the layout a start there gives; the window's and the tray's icons come at
// the size the system asks for.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "controls/gradientbutton.h"
#include "controls/spinbutton.h"
#include "controls/spinedit.h"
#include "controls/timerspeedbutton.h"
#include "controls/trayicon.h"
#include "engine/mem.h"
#include "tests/app/formmain_fixture.h"
#include "tests/app/layout_design.h"
#include "tests/support/portable_copy.h"
#include "toolkit/dpi.h"
#include "toolkit/label.h"
#include "toolkit/menus.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/texts.h"
#include "toolkit/trackbar.h"

namespace {

// The dpi the prefix was made with; 96 when run by hand in a plain session.
int PrefixDpi()
{
    const char* value = std::getenv("QUENFEL_DPI");
    return value != nullptr ? std::atoi(value) : 96;
}

// A design edge at dpi.
int At(int value, int dpi)
{
    return MulDiv(value, dpi, 96);
}

int IconSide(HICON icon)
{
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
    BITMAP bm{};
    GetObjectW(info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bm.bmWidth;
}

// Records the icon of every request to the shell.
class TRecordingTray : public TTrayIcon {
public:
    using TTrayIcon::TTrayIcon;
    std::vector<int> sides;

protected:
    bool NotifyShell(DWORD message, NOTIFYICONDATAW& data) override
    {
        // Every picture handed over; a new tip alone comes without one.
        if (message != NIM_DELETE && (data.uFlags & NIF_ICON) != 0) sides.push_back(IconSide(data.hIcon));
        return TTrayIcon::NotifyShell(message, data);
    }
};

std::wstring Describe(const RECT& r)
{
    return L"(" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L")-(" + std::to_wstring(r.right) + L"," +
           std::to_wstring(r.bottom) + L")";
}

class DpiTest : public FormMainTest {
protected:
    TControl* Control(const std::wstring& name)
    {
        if (name == L"FormMain") return form;
        return dynamic_cast<TControl*>(form->FindComponent(name));
    }

    // control's rectangle in the form's client coordinates.
    static RECT InForm(const TControl* control)
    {
        RECT r = control->BoundsRect();
        for (const TControl* p = control->Parent(); p != nullptr && p->Parent() != nullptr; p = p->Parent())
            OffsetRect(&r, p->Left(), p->Top());
        return r;
    }

    // Every control that shows lies inside its parent's client area, and
    // inside the window's client area unless it lies wholly beyond its edge
    // (the strip below a compact window); the named ones are in view; every
    // label's text fits its box.
    void CheckState(const wchar_t* state, const std::vector<std::wstring>& inView)
    {
        SCOPED_TRACE(state);
        const RECT client = form->ClientRect();
        for (std::size_t i = 0; i < form->ComponentCount(); ++i) {
            auto* c = dynamic_cast<TControl*>(form->Components(i));
            if (c == nullptr || !c->Showing()) continue;
            const std::wstring name = c->Name();
            const RECT own = c->BoundsRect();
            const RECT parent = c->Parent()->ClientRect();
            RECT inside;
            IntersectRect(&inside, &own, &parent);
            if (c->Parent() != form) {
                EXPECT_TRUE(EqualRect(&inside, &own)) << "in its parent: " << testing::PrintToString(name) << " "
                                                      << testing::PrintToString(Describe(own)) << " parent "
                                                      << testing::PrintToString(Describe(parent));
            }
            const RECT r = InForm(c);
            RECT seen;
            if (IntersectRect(&seen, &r, &client)) {
                EXPECT_TRUE(EqualRect(&seen, &r)) << "cut by the window's edge: " << testing::PrintToString(name)
                                                  << " " << testing::PrintToString(Describe(r)) << " client "
                                                  << testing::PrintToString(Describe(client));
            }
            // Its text whole, measured in its own font.
            EXPECT_LE(c->TextWidthNeeded(), c->Width()) << "text cut: " << testing::PrintToString(name);
            // No sibling over it.
            for (std::size_t j = 0; j < i; ++j) {
                auto* other = dynamic_cast<TControl*>(form->Components(j));
                if (other == nullptr || !other->Showing() || other->Parent() != c->Parent()) continue;
                const RECT theirs = other->BoundsRect();
                RECT both;
                EXPECT_FALSE(IntersectRect(&both, &own, &theirs))
                    << testing::PrintToString(name) << " over " << testing::PrintToString(std::wstring(other->Name()));
            }
            if (auto* label = dynamic_cast<TLabel*>(c); label != nullptr && !label->Caption().empty()) {
                const SIZE text = TextSize(label->Font(), label->Caption());
                EXPECT_LE(text.cx, label->Width()) << testing::PrintToString(name);
                EXPECT_LE(text.cy, label->Height()) << testing::PrintToString(name);
            }
        }
        for (const std::wstring& name : inView) {
            TControl* c = Control(name);
            ASSERT_NE(c, nullptr);
            EXPECT_TRUE(c->Showing()) << testing::PrintToString(name);
            const RECT r = InForm(c);
            RECT seen;
            EXPECT_TRUE(IntersectRect(&seen, &r, &client) && EqualRect(&seen, &r))
                << "not in view: " << testing::PrintToString(name);
        }
    }

    // Every place of the design at dpi: each edge within tolerance pixels of
    // the design edge scaled. A label that sizes itself to its text is
    // checked by its corner only.
    void CheckDesignPlaces(int dpi, int tolerance)
    {
        const TRoomForTexts room(*form, dpi);
        auto check = [&](const wchar_t* name, int, int, int, int) {
            TControl* c = Control(name);
            ASSERT_NE(c, nullptr) << testing::PrintToString(std::wstring(name));
            auto* label = dynamic_cast<TLabel*>(c);
            const bool sized = label == nullptr || !label->AutoSize();
            const RECT r = c->BoundsRect();
            const std::string what = testing::PrintToString(std::wstring(name)) + " at " + std::to_string(dpi);
            const RECT expected = room.Place(name);
            EXPECT_NEAR(r.left, expected.left, tolerance) << what;
            EXPECT_NEAR(r.top, expected.top, tolerance) << what;
            if (sized) {
                EXPECT_NEAR(r.right, expected.right, tolerance) << what;
                EXPECT_NEAR(r.bottom, expected.bottom, tolerance) << what;
            }
        };
        for (const TPlace& p : kWindowed) check(p.name, p.left, p.top, p.width, p.height);
        for (const TGraphicPlace& g : kGraphic) check(g.name, g.left, g.top, g.width, g.height);
    }

    // The pictures as drawn for dpi, never stretched: a glyph, the spin
    // arrows, and the program's icons on the taskbar at the sizes the system
    // draws them at that dpi.
    void CheckArtwork(int dpi)
    {
        EXPECT_EQ(form->SpeedButtonOptimize->Glyph().Width(), At(16, dpi));
        EXPECT_EQ(form->SpinEditRefresh->Button()->UpButton()->Glyph().Width(), At(9, dpi));
        EXPECT_EQ(form->OpenMain->Bitmap().Width(), At(16, dpi));
        EXPECT_EQ(form->Icon().HandleForSize(GetSystemMetrics(SM_CXSMICON)) != nullptr, true);
        // The window's own icon, or else its class's.
        const auto icon = [](WPARAM kind) {
            HWND app = Application->Handle();
            auto h = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, kind, 0));
            if (h == nullptr) h = reinterpret_cast<HICON>(GetClassLongPtrW(app, kind == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
            return IconSide(h);
        };
        EXPECT_EQ(icon(ICON_SMALL), SystemMetricForDpi(SM_CXSMICON, dpi));
        EXPECT_EQ(icon(ICON_BIG), SystemMetricForDpi(SM_CXICON, dpi));
    }

    void CheckCompactClient(int dpi)
    {
        const RECT client = form->ClientRect();
        EXPECT_EQ(client.right, At(TFormMain::CompactClientWidth, dpi));
        EXPECT_EQ(client.bottom, At(TFormMain::CompactClientHeight, dpi));
    }
};

TEST_F(DpiTest, ThePrefixAndTheWindowHaveTheDpiAskedFor)
{
    Create();
    EXPECT_EQ(SystemDpi(), PrefixDpi());
    form->Show();
    EXPECT_EQ(form->Dpi(), PrefixDpi());
    EXPECT_EQ(WindowDpi(form->Handle()), PrefixDpi());
}

TEST_F(DpiTest, DesignPlacesScaleWithTheDpiExactlyAsDesignedAt96)
{
    Create();
    form->Show();
    const int dpi = PrefixDpi();
    CheckDesignPlaces(dpi, dpi == 96 ? 0 : 1);
    CheckCompactClient(dpi);
    CheckArtwork(dpi);
    if (dpi == 96) {
        // Today's window in this prefix's frame.
        EXPECT_EQ(form->Width(), 164);
        EXPECT_EQ(form->Height(), 332);
    }
    EXPECT_EQ(form->Font().Height(), -At(11, dpi));
}

// Every language, chosen in the open window: the window and its settings
// and About pages hold every control whole, every text whole, nothing over
// anything else.
TEST_F(DpiTest, EveryLanguageShowsItsControlsWholeAndItsTextsFit)
{
    status = Machine(8'000'000'000ull, 5'987'654'321ull);
    // Another program holds the hotkey, so the text beside it shows too.
    HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F8));
    Create();
    // Without administrator rights, so every reason beside an area shows.
    form->Elevated = [] { return false; };
    form->Show();
    form->ActionSettingsExecute(form);
    for (const TLanguage& language : Languages()) {
        SCOPED_TRACE(ToUtf8(language.Tag));
        form->LanguageClick(language.Tag);
        form->PageControlSettings->SetActivePage(form->TabSheetSettings);
        CheckState(L"settings", {L"GroupBoxMonitor", L"SpeedButtonOptimize", L"GradientButton2", L"CheckBoxAutoOptimize",
                                 L"LabelMB", L"CheckBoxAutoRun2", L"HotkeyOptimize", L"LabelHotkeyTaken"});
        form->PageControlSettings->SetActivePage(form->TabSheetMemory);
        CheckState(L"memory", {L"CheckBoxAreaStandbyLow", L"LabelAreaWhyStandbyLow", L"LabelAreaWhyCombine",
                               L"GradientButtonElevate", L"EditTrimExclude", L"SpinEditInterval",
                               L"LabelIntervalMinutes"});
        form->PageControlSettings->SetActivePage(form->TabSheetAbout);
        CheckState(L"about", {L"GroupBox2", L"Label2"});
    }
    form->LanguageClick(L"");
    SetCurrentLanguage(EnglishLanguage());
    UnregisterHotKey(other, 1);
    DestroyWindow(other);
}

// A portable copy's autorun box says it starts this copy, a longer text in
// every language: it fits too.
TEST_F(DpiTest, APortableCopysAutorunBoxFitsInEveryLanguage)
{
    const testsupport::TPortableCopy portable(L"quenfel-portable-dpi");
    ASSERT_TRUE(portable.Made());
    Create();
    form->Show();
    form->ActionSettingsExecute(form);
    for (const TLanguage& language : Languages()) {
        SCOPED_TRACE(ToUtf8(language.Tag));
        form->LanguageClick(language.Tag);
        form->PageControlSettings->SetActivePage(form->TabSheetSettings);
        CheckState(L"portable", {L"GroupBoxMisc", L"LabelRefresh", L"SpinEditRefresh", L"CheckBoxAutoRun2"});
    }
    form->LanguageClick(L"");
    SetCurrentLanguage(EnglishLanguage());
}

TEST_F(DpiTest, EveryStateShowsItsControlsWholeAndItsLabelsFit)
{
    status = Machine(8'000'000'000ull, 5'987'654'321ull);  // a long free-memory text
    Create();
    form->Show();
    const std::vector<std::wstring> column = {L"GroupBoxMonitor", L"LabelMEMP",       L"LabelFree",
                                              L"ProgressBarMEM",  L"SpeedButtonOptimize", L"SpeedButtonSettings",
                                              L"GradientButton1", L"GradientButton2"};
    CheckState(L"compact", column);

    // A run: checked while its strip is in view.
    form->TrackRAM->SetPosition(2);
    bool checked = false;
    const TBlockEvent bound = engine->OnBlockAllocated;
    engine->OnBlockAllocated = [&](TObject* s, std::int32_t i) {
        bound(s, i);
        if (checked) return;
        checked = true;
        std::vector<std::wstring> strip = column;
        strip.push_back(L"GroupBoxOptimizing");
        strip.push_back(L"ProgressBarFree");
        CheckState(L"a run's strip", strip);
    };
    form->ActionOptimizeExecute(form);
    EXPECT_TRUE(checked);
    CheckCompactClient(form->Dpi());

    form->ActionSettingsExecute(form);
    std::vector<std::wstring> settings = column;
    for (const wchar_t* name : {L"PageControlSettings", L"GroupBoxRam", L"TrackRAM", L"LabelSlider", L"GroupBoxAlarm",
                                L"CheckBoxAutoOptimize", L"SpinEditAlarmMB", L"LabelMB", L"GroupBoxMisc",
                                L"LabelRefresh", L"SpinEditRefresh", L"CheckBoxAutoRun2", L"GroupBoxHotkey",
                                L"HotkeyOptimize"})
        settings.push_back(name);
    CheckState(L"settings open", settings);
    EXPECT_EQ(SendMessageW(form->TrackRAM->Handle(), TBM_GETTHUMBLENGTH, 0, 0), At(20, form->Dpi()));

    form->PageControlSettings->SetActivePage(form->TabSheetAbout);
    std::vector<std::wstring> about = column;
    for (const wchar_t* name : {L"PageControlSettings", L"GroupBox1", L"Label1", L"Label2", L"GroupBox2", L"Label4",
                                L"Label5"})
        about.push_back(name);
    CheckState(L"about open", about);

    form->ActionSettingsExecute(form);
    CheckCompactClient(form->Dpi());
}

// A move to a monitor of another dpi: 144 (192 from a 144 prefix; Wine keeps
// the system's minimum window width, which a 96-dpi window would be under).
TEST_F(DpiTest, ADpiChangeGivesTheLayoutOfAStartAtThatDpi)
{
    Create();
    form->Show();
    const int target = PrefixDpi() == 144 ? 192 : 144;
    RECT window, client;
    GetWindowRect(form->Handle(), &window);
    GetClientRect(form->Handle(), &client);
    // The suggested rectangle: the client area of a start at the new dpi in
    // this window's frame.
    RECT suggested = {window.left, window.top,
                      window.left + (window.right - window.left - client.right) + At(TFormMain::CompactClientWidth, target),
                      window.top + (window.bottom - window.top - client.bottom) +
                          At(TFormMain::CompactClientHeight, target)};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(target, target), reinterpret_cast<LPARAM>(&suggested));
    RECT now;
    GetWindowRect(form->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << testing::PrintToString(Describe(now));
    EXPECT_EQ(form->Dpi(), target);
    CheckCompactClient(target);
    CheckDesignPlaces(target, 1);
    CheckArtwork(target);
    EXPECT_NEAR(form->Font().Height(), -At(11, target), 1);
    EXPECT_NEAR(form->Label1->Font().Height(), -At(13, target), 1);

    // The settings slide at the new dpi opens exactly its design width, and
    // what its texts need in the fonts of that dpi.
    form->ActionSettingsExecute(form);
    EXPECT_EQ(form->ClientRect().right, At(TFormMain::CompactClientWidth, target) +
                                            At(TFormMain::SettingsSlideSteps * TFormMain::SettingsSlideStep, target) +
                                            TRoomForTexts(*form, target).Page());
    form->ActionSettingsExecute(form);
    CheckCompactClient(target);
}

TEST_F(DpiTest, TheTrayGetsTheProgramIconAtTheSizeTheNotificationAreaDraws)
{
    Create();
    TRecordingTray tray(nullptr);
    tray.SetIcon(&form->Icon());
    tray.SetActive(true);
    tray.SetHint(L"tip");
    ASSERT_FALSE(tray.sides.empty());
    for (int side : tray.sides) EXPECT_EQ(side, GetSystemMetrics(SM_CXSMICON));
}

}  // namespace
