// The application loop around its main form: the taskbar button follows the
// form, closing the main form ends the loop once the running handler returns.
// Its own program: a finished loop cannot be restarted.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/application.h"
#include "toolkit/forms.h"
#include "toolkit/loader.h"
#include "toolkit/thread.h"

namespace {

// Polls a condition another thread makes true, up to a deadline.
template <class F>
bool WaitFor(F condition, DWORD milliseconds = 5000)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(1);
    }
    return true;
}

class TMainForm : public TForm {
public:
    static inline TMainForm* Instance = nullptr;
    static inline bool ReferenceSetInCreate = false;
    explicit TMainForm(TComponent* owner) : TForm(owner)
    {
        TLoadSession load(this);
        SetCaption(L"Main");
        SetBorderStyle(TFormBorderStyle::bsDialog);
        SetClientWidth(200);
        SetClientHeight(100);
        OnCreate = [](TObject* sender) { ReferenceSetInCreate = Instance == sender; };
        load.Finish();
    }
};

class TCountingThread : public TThread {
public:
    std::atomic<int> Steps{0};
    std::atomic<bool>* Freed = nullptr;
    ~TCountingThread() override
    {
        if (Freed) *Freed = true;
    }

protected:
    void Execute() override
    {
        while (!Terminated()) {
            PausePoint();
            if (Terminated()) break;
            ++Steps;
            Sleep(1);
            if (Steps == 1000) throw Exception(L"worker failed");
        }
    }
};

TEST(MainForm, TheLoopRunsUntilTheMainFormClosesAndTheTaskbarButtonFollowsIt)
{
    Application->Initialize();
    Application->SetTitle(L"Quenfel test");
    std::vector<std::wstring> reports;
    Application->OnException = [&](TObject*, const Exception& e) { reports.push_back(e.Message()); };

    Application->CreateForm(TMainForm::Instance);
    ASSERT_NE(TMainForm::Instance, nullptr);
    EXPECT_TRUE(TMainForm::ReferenceSetInCreate);
    EXPECT_EQ(Application->MainForm(), TMainForm::Instance);
    TForm* second = nullptr;
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), TMainForm::Instance);  // the first one stays main

    HWND app = Application->Handle();
    wchar_t title[64] = {};
    GetWindowTextW(app, title, 64);
    EXPECT_STREQ(title, L"Quenfel test");
    EXPECT_FALSE(IsWindowVisible(app));

    // The dialog frame: close box only.
    HWND main = TMainForm::Instance->Handle();
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(main, GW_OWNER), app);
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);

    TMainForm::Instance->Show();
    EXPECT_TRUE(IsWindowVisible(app));
    TMainForm::Instance->Hide();
    EXPECT_FALSE(IsWindowVisible(app));

    // A worker that fails: its error is reported on this thread.
    std::atomic<bool> freed = false;
    auto* worker = TThread::Create<TCountingThread>(true);
    worker->Freed = &freed;
    worker->SetFreeOnTerminate(true);
    Sleep(20);
    EXPECT_EQ(worker->Steps, 0);  // created suspended
    worker->Resume();

    int closes = 0;
    bool handlerFinished = false;
    TMainForm::Instance->OnClose = [&](TObject*, TCloseAction& action) {
        ++closes;
        EXPECT_EQ(action, TCloseAction::caHide);
        Application->ProcessMessages();  // re-entrant pumping inside a handler is normal
        handlerFinished = true;
    };
    PostMessageW(main, WM_CLOSE, 0, 0);
    Application->Run();  // shows the main form first
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(handlerFinished);
    EXPECT_TRUE(Application->Terminated());

    EXPECT_TRUE(WaitFor([&] { return freed.load(); }));  // freed itself when Execute ended with the error
    Application->ProcessMessages();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], L"worker failed");
    Application->OnException = nullptr;
}

TEST(Thread, PauseHoldsTheWorkerBetweenStepsAndWaitForJoins)
{
    auto* worker = TThread::Create<TCountingThread>(false);
    EXPECT_TRUE(WaitFor([&] { return worker->Steps >= 3; }));
    worker->Pause();
    Sleep(20);
    const int held = worker->Steps;
    Sleep(50);
    EXPECT_LE(worker->Steps, held + 1);  // at most the step in progress
    worker->Resume();
    EXPECT_TRUE(WaitFor([&] { return worker->Steps >= held + 3; }));
    worker->Terminate();
    worker->WaitFor();
    EXPECT_TRUE(worker->Finished());
    EXPECT_EQ(worker->FatalException(), nullptr);
    delete worker;
}

}  // namespace
