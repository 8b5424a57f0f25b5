#include "toolkit/checkbox.h"

#include "tests/toolkit/controls_fixture.h"
#include "toolkit/loader.h"

using enum TCheckBoxState;

namespace {

class CheckBoxTest : public ToolkitTest {
protected:
    TCheckBox* MakeBox()
    {
        auto* box = CreateComponent<TCheckBox>(form.get());
        box->SetParent(form.get());
        box->SetBounds(10, 10, 150, 17);
        box->SetCaption(L"&Autorun");
        box->OnClick = [this](TObject* sender) {
            rec.Add(static_cast<TCheckBox*>(sender)->Checked() ? "click:checked" : "click:unchecked");
        };
        return box;
    }
    static LRESULT WindowCheck(TCheckBox* box) { return SendMessageW(box->Handle(), BM_GETCHECK, 0, 0); }
};

TEST_F(CheckBoxTest, UserClickTogglesAndRunsTheHandlerOncePerChange)
{
    TCheckBox* box = MakeBox();
    ShowForm();
    HWND h = box->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 8));
    SendMessageW(h, WM_LBUTTONUP, 0, Point(5, 8));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(WindowCheck(box), BST_CHECKED);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 8));
    SendMessageW(h, WM_LBUTTONUP, 0, Point(5, 8));
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(rec.Matches({{"click:checked"}, {"click:unchecked"}}));
}

TEST_F(CheckBoxTest, ReleaseOutsideTheBoxChangesNothing)
{
    TCheckBox* box = MakeBox();
    ShowForm();
    HWND h = box->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 8));
    SendMessageW(h, WM_LBUTTONUP, 0, Point(500, 8));
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(rec.Entries().empty());
}

TEST_F(CheckBoxTest, SpaceKeyToggles)
{
    TCheckBox* box = MakeBox();
    ShowForm();
    box->SetFocus();
    SendMessageW(box->Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(box->Handle(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(rec.Matches({{"click:checked"}}));
}

TEST_F(CheckBoxTest, CodeChangesRunTheHandlerAndTheSameStateRunsNothing)
{
    TCheckBox* box = MakeBox();
    ShowForm();
    box->SetChecked(true);
    box->SetChecked(true);
    box->SetState(cbChecked);
    EXPECT_EQ(WindowCheck(box), BST_CHECKED);
    box->SetChecked(false);
    EXPECT_EQ(WindowCheck(box), BST_UNCHECKED);
    EXPECT_TRUE(rec.Matches({{"click:checked"}, {"click:unchecked"}}));
}

TEST_F(CheckBoxTest, AcceleratorTogglesTheBox)
{
    TCheckBox* box = MakeBox();
    ShowForm();
    EXPECT_TRUE(form->DialogChar(L'a', 0));
    EXPECT_TRUE(box->Checked());
    EXPECT_FALSE(form->DialogChar(L'q', 0));
    EXPECT_TRUE(rec.Matches({{"click:checked"}}));
}

TEST_F(CheckBoxTest, LoadedCheckedRunsNothingAndShowsChecked)
{
    TCheckBox* box = nullptr;
    {
        TLoadSession load(form.get());
        box = CreateComponent<TCheckBox>(form.get());
        box->SetParent(form.get());
        box->SetChecked(true);
        box->OnClick = Note("click");
        load.Finish();
    }
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(WindowCheck(box), BST_CHECKED);
    EXPECT_TRUE(rec.Entries().empty());
    box->SetChecked(false);
    EXPECT_TRUE(rec.Matches({{"click"}}));
}

TEST_F(CheckBoxTest, LeftJustifiedPutsTheBoxAtTheRightEnd)
{
    TCheckBox* box = MakeBox();
    box->SetAlignment(TAlignment::taLeftJustify);
    const LONG_PTR style = GetWindowLongPtrW(box->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (BS_LEFTTEXT | BS_RIGHTBUTTON), BS_LEFTTEXT | BS_RIGHTBUTTON);
    box->SetAlignment(TAlignment::taRightJustify);
    EXPECT_EQ(GetWindowLongPtrW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
}

TEST_F(CheckBoxTest, GrayedIsPartOfTheUsersCycleOnlyWhenAllowed)
{
    TCheckBox* box = MakeBox();
    box->SetAllowGrayed(true);
    box->Toggle();
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(WindowCheck(box), BST_INDETERMINATE);
    box->Toggle();
    EXPECT_EQ(box->State(), cbChecked);
    box->Toggle();
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(rec.Entries().size(), 3u);
}

}  // namespace
