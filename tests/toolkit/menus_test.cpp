#include "toolkit/menus.h"

#include "resources/resource.h"
#include "tests/toolkit/controls_fixture.h"
#include "toolkit/loader.h"

namespace {

class MenusTest : public ToolkitTest {
protected:
    // The tray menu: a bold default item with a bitmap, an action item with
    // a bitmap, a separator and a plain item.
    void Load()
    {
        TLoadSession load(form.get());
        list = CreateComponent<TActionList>(form.get());
        optimize = CreateComponent<TAction>(form.get());
        optimize->SetActionList(list);
        optimize->SetCaption(L"&Optimize");
        optimize->OnExecute = Note("optimize");
        menu = CreateComponent<TPopupMenu>(form.get());
        openMain = CreateComponent<TMenuItem>(form.get());
        openMain->SetCaption(L"Open &Main Window");
        openMain->SetDefault(true);
        openMain->OnClick = Note("open");
        TBitmap picture;
        picture.LoadFromResourceID(GetModuleHandleW(nullptr), IDB_MENU_OPEN_MAIN);
        openMain->SetBitmap(picture);
        menu->Items().Add(openMain);
        optimizeNow = CreateComponent<TMenuItem>(form.get());
        picture.LoadFromResourceID(GetModuleHandleW(nullptr), IDB_MENU_OPTIMIZE);
        optimizeNow->SetBitmap(picture);
        menu->Items().Add(optimizeNow);
        line = CreateComponent<TMenuItem>(form.get());
        line->SetCaption(L"-");
        menu->Items().Add(line);
        exit = CreateComponent<TMenuItem>(form.get());
        exit->SetCaption(L"E&xit");
        exit->OnClick = Note("exit");
        menu->Items().Add(exit);
        load.Fixup([this] { optimizeNow->SetAction(optimize); });
        load.Finish();
    }
    MENUITEMINFOW Info(UINT position, std::wstring* text = nullptr)
    {
        static wchar_t buffer[64];
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_BITMAP;
        mii.dwTypeData = buffer;
        mii.cch = 64;
        buffer[0] = 0;
        EXPECT_TRUE(GetMenuItemInfoW(menu->Handle(), position, TRUE, &mii));
        if (text != nullptr) *text = buffer;
        return mii;
    }
    void Choose(TMenuItem* item) { SendMessageW(menu->WindowHandle(), WM_COMMAND, item->Command(), 0); }

    TActionList* list = nullptr;
    TAction* optimize = nullptr;
    TPopupMenu* menu = nullptr;
    TMenuItem *openMain = nullptr, *optimizeNow = nullptr, *line = nullptr, *exit = nullptr;
};

TEST_F(MenusTest, TheSystemMenuShowsCaptionsDefaultSeparatorAndBitmaps)
{
    Load();
    ASSERT_EQ(GetMenuItemCount(menu->Handle()), 4);
    std::wstring text;
    const MENUITEMINFOW open = Info(0, &text);
    EXPECT_EQ(text, L"Open &Main Window");
    EXPECT_TRUE(open.fState & MFS_DEFAULT);
    EXPECT_EQ(GetMenuDefaultItem(menu->Handle(), TRUE, 0), 0u);
    EXPECT_NE(open.hbmpItem, nullptr);
    Info(1, &text);
    EXPECT_EQ(text, L"&Optimize");  // from the action
    EXPECT_NE(Info(1).hbmpItem, nullptr);
    EXPECT_TRUE(Info(2).fType & MFT_SEPARATOR);
    EXPECT_EQ(Info(3).hbmpItem, nullptr);
    EXPECT_EQ(Info(3).wID, exit->Command());
}

TEST_F(MenusTest, ItemBitmapsAreOpaqueExceptTheirBackground)
{
    Load();
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(openMain->MenuBitmap(), sizeof(info), &info));
    EXPECT_EQ(info.bmBitsPixel, 32);
    ASSERT_EQ(info.bmWidth, 16);
    ASSERT_NE(info.bmBits, nullptr);
    const auto* px = static_cast<const std::uint32_t*>(info.bmBits);
    // Bottom-up: memory row 0 is the picture's bottom row; its corner is the white background.
    EXPECT_EQ(px[0], 0u);
    std::size_t opaque = 0;
    for (int i = 0; i < 16 * 16; ++i) {
        const std::uint32_t a = px[i] >> 24;
        EXPECT_TRUE(a == 0 || a == 255);
        if (a == 0) {
            EXPECT_EQ(px[i], 0u);  // premultiplied: nothing under zero alpha
        }
        opaque += a == 255 ? 1 : 0;
    }
    EXPECT_GT(opaque, 0u);
    EXPECT_LT(opaque, 256u);
}

TEST_F(MenusTest, ChoosingAnItemRunsItsHandlerOrItsAction)
{
    Load();
    Choose(openMain);
    Choose(optimizeNow);
    Choose(exit);
    Choose(line);
    SendMessageW(menu->WindowHandle(), WM_COMMAND, 0xFFFE, 0);  // nothing of ours
    EXPECT_TRUE(rec.Matches({{"open"}, {"optimize"}, {"exit"}}));
    rec.Flush();
    exit->SetEnabled(false);
    Choose(exit);
    EXPECT_TRUE(rec.Entries().empty());
    EXPECT_TRUE(Info(3).fState & MFS_DISABLED);
}

TEST_F(MenusTest, TheDefaultItemIsTheFirstEnabledOne)
{
    Load();
    EXPECT_EQ(menu->DefaultItem(), openMain);
    exit->SetDefault(true);
    openMain->SetEnabled(false);
    EXPECT_EQ(menu->DefaultItem(), exit);
    exit->SetEnabled(false);
    EXPECT_EQ(menu->DefaultItem(), nullptr);
}

TEST_F(MenusTest, ChangesAndRemovalsReachTheSystemMenu)
{
    Load();
    exit->SetCaption(L"&Quit");
    std::wstring text;
    Info(3, &text);
    EXPECT_EQ(text, L"&Quit");
    line->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(menu->Handle()), 3);
    const UINT gone = optimizeNow->Command();
    optimizeNow->Free();
    EXPECT_EQ(GetMenuItemCount(menu->Handle()), 2);
    SendMessageW(menu->WindowHandle(), WM_COMMAND, gone, 0);
    EXPECT_TRUE(rec.Entries().empty());
}

// A component that refers to the menu, as a tray icon does.
class TMenuUser : public TComponent {
public:
    using TComponent::TComponent;
    TPopupMenu* Menu = nullptr;
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == Menu) Menu = nullptr;
    }
};

TEST_F(MenusTest, DestroyingTheMenuTellsItsReferrersAndFreesItsItemsTree)
{
    Load();
    auto* user = CreateComponent<TMenuUser>(form.get());
    user->Menu = menu;
    menu->FreeNotification(user);
    menu->SetPopupComponent(user);
    menu->Free();
    EXPECT_EQ(user->Menu, nullptr);
    EXPECT_EQ(exit->Parent(), nullptr);  // items survive with their owner, out of the tree
    exit->Click();
    EXPECT_TRUE(rec.Matches({{"exit"}}));
}

}  // namespace
