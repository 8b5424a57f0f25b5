#include "toolkit/edit.h"

#include "tests/toolkit/controls_fixture.h"
#include "toolkit/loader.h"

namespace {

// Takes digits only, as a numeric field built on the edit does.
class TDigitsEdit : public TEdit {
public:
    using TEdit::TEdit;
    int Refused = 0;

protected:
    void KeyPress(wchar_t& key) override
    {
        TEdit::KeyPress(key);
        if (key >= L' ' && (key < L'0' || key > L'9')) {
            key = 0;
            ++Refused;
        }
    }
};

// Multi-line edits report no EN_CHANGE for text set by code.
class TMultiLineEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void CreateParams(TCreateParams& p) override
    {
        TEdit::CreateParams(p);
        p.Style |= ES_MULTILINE;
    }
};

class EditTest : public ToolkitTest {
protected:
    template <class T = TEdit>
    T* MakeEdit()
    {
        auto* e = CreateComponent<T>(form.get());
        e->SetParent(form.get());
        e->SetBounds(10, 10, 120, 21);
        e->OnChange = [this](TObject* sender) { rec.Add("change:" + Narrow(static_cast<TEdit*>(sender)->Text())); };
        return e;
    }
    static std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }
    static void Type(TEdit* e, const std::wstring& text)
    {
        for (wchar_t c : text) SendMessageW(e->Handle(), WM_CHAR, c, 1);
    }
};

TEST_F(EditTest, TypingAndCodeBothChangeTheTextOnce)
{
    TEdit* e = MakeEdit();
    ShowForm();
    e->SetText(L"1");
    e->SetText(L"1");
    SendMessageW(e->Handle(), EM_SETSEL, 1, 1);
    Type(e, L"5");
    EXPECT_EQ(e->Text(), L"15");
    e->SetText(L"1");  // differs from what the user left
    EXPECT_TRUE(rec.Matches({{"change:1"}, {"change:15"}, {"change:1"}}));
    wchar_t shown[8] = {};
    GetWindowTextW(e->Handle(), shown, 8);
    EXPECT_STREQ(shown, L"1");
}

TEST_F(EditTest, MultiLineStyleStillReportsEachCodeChangeOnce)
{
    auto* e = MakeEdit<TMultiLineEdit>();
    ShowForm();
    e->SetText(L"8");
    SendMessageW(e->Handle(), EM_SETSEL, 1, 1);
    Type(e, L"9");
    EXPECT_TRUE(rec.Matches({{"change:8"}, {"change:89"}}));
}

TEST_F(EditTest, KeyPressCanRefuseCharacters)
{
    auto* e = MakeEdit<TDigitsEdit>();
    ShowForm();
    e->SetText(L"");
    rec.Flush();
    Type(e, L"4x2");
    EXPECT_EQ(e->Text(), L"42");
    EXPECT_EQ(e->Refused, 1);
    EXPECT_TRUE(rec.Matches({{"change:4"}, {"change:42"}}));
}

TEST_F(EditTest, ReadOnlyAndMaxLengthLimitTheUser)
{
    TEdit* e = MakeEdit();
    ShowForm();
    e->SetMaxLength(3);
    Type(e, L"12345");
    EXPECT_EQ(e->Text(), L"123");
    e->SetReadOnly(true);
    SendMessageW(e->Handle(), EM_SETSEL, 0, -1);
    Type(e, L"9");
    EXPECT_EQ(e->Text(), L"123");
    e->SetText(L"7");  // code still may
    EXPECT_EQ(e->Text(), L"7");
}

TEST_F(EditTest, AutoSelectSelectsAllWhenTheFocusArrives)
{
    TEdit* first = MakeEdit();
    TEdit* second = MakeEdit();
    second->SetTop(40);
    second->SetText(L"1234");
    ShowForm();
    first->SetFocus();
    second->SetFocus();
    EXPECT_EQ(second->SelStart(), 0);
    EXPECT_EQ(second->SelLength(), 4);
    first->SetFocus();
    second->SetAutoSelect(false);
    SendMessageW(second->Handle(), EM_SETSEL, 2, 2);
    second->SetFocus();
    EXPECT_EQ(second->SelLength(), 0);
}

TEST_F(EditTest, LoadingRunsNothingAndCutPasteGoThroughTheEdit)
{
    TEdit* e = nullptr;
    {
        TLoadSession load(form.get());
        e = MakeEdit();
        e->SetText(L"0");
        load.Finish();
    }
    EXPECT_TRUE(rec.Entries().empty());
    ShowForm();
    e->SetText(L"abc");
    e->SelectAll();
    e->CutToClipboard();
    EXPECT_EQ(e->Text(), L"");
    e->PasteFromClipboard();
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), L"abcabc");
}

}  // namespace
