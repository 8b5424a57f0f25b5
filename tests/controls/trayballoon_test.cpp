// The balloon over the tray icon, checked in the records handed to the real
// shell of the test desktop: every record is large enough to carry one, the
// balloon goes out once with its texts, and only while the icon is shown.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/trayicon.h"
#include "resources/resource.h"

namespace {

struct TShellRecord {
    DWORD Message;
    bool Result;
    NOTIFYICONDATAW Data;
};

class TRecordingTrayIcon : public TTrayIcon {
public:
    using TTrayIcon::TTrayIcon;
    std::vector<TShellRecord> Records;

protected:
    bool NotifyShell(DWORD message, NOTIFYICONDATAW& data) override
    {
        const bool ok = TTrayIcon::NotifyShell(message, data);
        Records.push_back({message, ok, data});
        return ok;
    }
};

class TrayBalloonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        icon.LoadFromResourceID(GetModuleHandleW(nullptr), IDI_QUENFEL);
        tray->SetHint(L"1.00 GB Available");
    }

    TIcon icon;
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
    TRecordingTrayIcon* tray = new TRecordingTrayIcon(owner.get());
};

} // namespace

TEST_F(TrayBalloonTest, BalloonGoesOutOnceWithItsTextsInARecordThatCarriesIt)
{
    tray->SetIcon(&icon);
    ASSERT_TRUE(tray->IconAdded());
    tray->Records.clear();

    tray->ShowBalloon(L"Quenfel", L"Freed 812.50 MB");
    ASSERT_EQ(tray->Records.size(), 1u);
    const TShellRecord& balloon = tray->Records[0];
    EXPECT_EQ(balloon.Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_TRUE(balloon.Result);
    EXPECT_EQ(balloon.Data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
    EXPECT_EQ(balloon.Data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_EQ(std::wstring(balloon.Data.szInfo), L"Freed 812.50 MB");
    EXPECT_EQ(std::wstring(balloon.Data.szInfoTitle), L"Quenfel");
    EXPECT_EQ(balloon.Data.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    // The tip and the image stay what they were.
    EXPECT_EQ(std::wstring(balloon.Data.szTip), L"1.00 GB Available");
    EXPECT_EQ(balloon.Data.hIcon, icon.HandleForSize(GetSystemMetrics(SM_CXSMICON)));
    EXPECT_EQ(tray->BalloonText(), L"Freed 812.50 MB");

    // The next tip change must not bring the balloon back.
    tray->SetHint(L"2.00 GB Available");
    ASSERT_EQ(tray->Records.size(), 2u);
    EXPECT_EQ(tray->Records[1].Data.uFlags & NIF_INFO, 0u);
    EXPECT_EQ(tray->Records[1].Data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));

    // A report nobody asked for: no sound, and nothing in the user's quiet time.
    tray->ShowBalloon(L"Quenfel", L"Freed 1.00 MB", TBalloonStyle::bsQuiet);
    ASSERT_EQ(tray->Records.size(), 3u);
    EXPECT_EQ(tray->Records[2].Data.dwInfoFlags, static_cast<DWORD>(NIIF_INFO | NIIF_NOSOUND | NIIF_RESPECT_QUIET_TIME));

    tray->SetActive(false);
    for (const TShellRecord& r : tray->Records)
        EXPECT_EQ(r.Data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE)) << "message " << r.Message;
}

TEST_F(TrayBalloonTest, NoBalloonWhileTheIconIsNotShown)
{
    tray->ShowBalloon(L"Quenfel", L"Freed 1.00 MB");  // no image yet: nothing in the tray
    tray->SetIcon(&icon);
    tray->SetActive(false);
    tray->Records.clear();
    tray->ShowBalloon(L"Quenfel", L"Freed 2.00 MB");
    EXPECT_TRUE(tray->Records.empty());
    EXPECT_EQ(tray->BalloonText(), L"");
}

TEST_F(TrayBalloonTest, LongTextsAreCutToTheirFields)
{
    tray->SetIcon(&icon);
    tray->Records.clear();
    tray->ShowBalloon(std::wstring(100, L't'), std::wstring(400, L'x'));
    ASSERT_EQ(tray->Records.size(), 1u);
    EXPECT_EQ(std::wstring(tray->Records[0].Data.szInfo), std::wstring(255, L'x'));
    EXPECT_EQ(std::wstring(tray->Records[0].Data.szInfoTitle), std::wstring(63, L't'));
}
