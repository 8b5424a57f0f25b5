// The tray icon's animation thread and the toolkit thread under it: a thread
// stopped before it started never runs, a failed start raises the system's
// message from the setter that starts the animation, a lost step does not
// stall the animation, steps run on the user-interface thread at Interval
// apart, and a step of an earlier animation changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/trayicon.h"
#include "toolkit/oserror.h"
#include "toolkit/utilwindow.h"
#include "tests/controls/control_test_support.h"

using namespace ctltest;

namespace {

// A stack reserve no address space can hold, so the system refuses the thread.
constexpr std::size_t ImpossibleStack =
    sizeof(void*) == 4 ? static_cast<std::size_t>(0xF0000000u) : (SIZE_MAX / 4) & ~static_cast<std::size_t>(0xFFFF);

std::atomic<int> g_runs{0};

class TCountingThread : public TThread {
protected:
    void Execute() override
    {
        ++g_runs;
        while (!Terminated()) {
            PausePoint();
            Sleep(1);
        }
    }
};

std::unique_ptr<TIcon> SystemIcon(LPCWSTR id)
{
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromHandle(LoadIconW(nullptr, id));
    return icon;
}

struct TStep {
    DWORD Thread;
    DWORD Tick;
    int Frame;
};

// Records each step that reaches the shell, and can be given a thread that
// the system refuses to make.
class TStepTrayIcon : public TTrayIcon {
public:
    using TTrayIcon::TTrayIcon;
    std::vector<TStep> Steps;
    bool RefuseThreads = false;

protected:
    bool NotifyShell(DWORD message, NOTIFYICONDATAW& data) override
    {
        if (message == NIM_MODIFY) Steps.push_back({GetCurrentThreadId(), GetTickCount(), FrameIndex()});
        return TTrayIcon::NotifyShell(message, data);
    }
    std::unique_ptr<TTimerThread> NewAnimationThread(std::shared_ptr<TTimerThread::TShared> shared) override
    {
        auto thread = TTrayIcon::NewAnimationThread(std::move(shared));
        if (RefuseThreads) thread->SetStackSize(ImpossibleStack);
        return thread;
    }
};

class TrayAnimationTest : public ::testing::Test {
protected:
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
    TStepTrayIcon* tray = new TStepTrayIcon(owner.get());
    TIconList frames;

    void SetUp() override
    {
        for (LPCWSTR id : {IDI_APPLICATION, IDI_WARNING, IDI_INFORMATION}) frames.Add(SystemIcon(id).get());
        tray->SetIcon(SystemIcon(IDI_QUESTION).get());
        tray->SetIcons(&frames);
        ASSERT_TRUE(tray->IconAdded());
    }
    // Steps from the n-th on, once at least count of them arrived.
    std::vector<TStep> WaitForSteps(size_t count)
    {
        tray->Steps.clear();
        EXPECT_TRUE(PumpUntil([&] { return tray->Steps.size() >= count; }, 10000));
        return tray->Steps;
    }
};

TEST(ThreadLifetime, AThreadStoppedBeforeItStartedNeverRuns)
{
    g_runs = 0;
    auto* stopped = TThread::Create<TCountingThread>(true);
    stopped->Terminate();
    stopped->Resume();
    stopped->WaitFor();
    EXPECT_FALSE(stopped->Started());
    delete stopped;

    delete TThread::Create<TCountingThread>(true);  // freed without ever running
    EXPECT_EQ(g_runs, 0);

    // The tray's thread, stopped and freed before it started: nothing
    // starts, and a start that could not succeed throws nothing out of
    // the destructor either.
    TComponent owner(nullptr);
    auto* tray = new TTrayIcon(&owner);
    {
        TTimerThread thread(tray, std::make_shared<TTimerThread::TShared>());
        thread.SetStackSize(ImpossibleStack);
        thread.Stop();
        EXPECT_FALSE(thread.Started());
    }
    {
        TTimerThread thread(tray, std::make_shared<TTimerThread::TShared>());
        thread.SetStackSize(ImpossibleStack);
    }

    auto* running = TThread::Create<TCountingThread>(false);
    ASSERT_TRUE(PumpUntil([] { return g_runs == 1; }));
    delete running;  // stops and waits
}

TEST(ThreadLifetime, CreationFailureRaisesTheSystemsMessage)
{
    auto* thread = TThread::Create<TCountingThread>(true);
    thread->SetStackSize(ImpossibleStack);
    try {
        thread->Resume();
        ADD_FAILURE() << "the thread started";
    } catch (const EThread& e) {
        EXPECT_NE(e.ErrorCode(), 0u);
        EXPECT_EQ(e.Message(), L"Thread creation error: " + SystemErrorMessage(e.ErrorCode()));
    }
    EXPECT_FALSE(thread->Started());
    EXPECT_TRUE(thread->Suspended());
    delete thread;
}

TEST_F(TrayAnimationTest, ThreadCreationErrorLeavesTheSetterThatStartsTheAnimation)
{
    tray->RefuseThreads = true;
    // With the icon shown, and with no icon (the thread would start paused).
    for (bool active : {true, false}) {
        SCOPED_TRACE(active);
        tray->SetActive(active);
        try {
            tray->SetAnimated(true);
            ADD_FAILURE() << "no error";
        } catch (const EThread& e) {
            const std::wstring prefix = L"Thread creation error: ";
            EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
            EXPECT_EQ(e.Message(), prefix + SystemErrorMessage(e.ErrorCode()));
        }
        EXPECT_FALSE(tray->Animated());
        EXPECT_NO_THROW(tray->SetActive(true));
    }
    tray->RefuseThreads = false;
    tray->SetActive(false);
    tray->SetAnimated(true);  // made now, held while no icon is shown
    EXPECT_TRUE(tray->Animated());
    EXPECT_NO_THROW(tray->SetActive(true));
}

TEST_F(TrayAnimationTest, StepsRunOnTheUserInterfaceThreadIntervalApart)
{
    tray->SetInterval(100);
    tray->SetAnimated(true);
    const auto steps = WaitForSteps(6);
    ASSERT_GE(steps.size(), 6u);
    for (const auto& s : steps) EXPECT_EQ(s.Thread, GetCurrentThreadId());
    // Generous bounds: one pause per step, not a burst and not a stall. A
    // step handled late shortens the next gap by as much, so single gaps are
    // bounded loosely and their mean is held to the Interval.
    for (size_t i = 1; i < steps.size(); ++i) {
        const DWORD gap = steps[i].Tick - steps[i - 1].Tick;
        EXPECT_GE(gap, 30u) << i;
        EXPECT_LE(gap, 600u) << i;
        EXPECT_EQ(steps[i].Frame, (steps[i - 1].Frame + 1) % 3) << i;
    }
    const DWORD total = steps.back().Tick - steps.front().Tick;
    EXPECT_GE(total, 5u * 70u);
    EXPECT_LE(total, 5u * 250u);

    // A new Interval takes effect from the next pause.
    tray->SetInterval(300);
    WaitForSteps(1);
    const auto slow = WaitForSteps(3);
    ASSERT_GE(slow.size(), 3u);
    const DWORD slowTotal = slow[2].Tick - slow[0].Tick;
    EXPECT_GE(slowTotal, 2u * 250u);
    EXPECT_LE(slowTotal, 2u * 700u);
}

TEST_F(TrayAnimationTest, StepOfAnEarlierAnimationIsIgnored)
{
    tray->SetInterval(60000);  // no step of its own during the test
    tray->SetAnimated(true);
    const WPARAM old = tray->AnimationGeneration();
    tray->SetAnimated(false);
    tray->SetAnimated(true);
    ASSERT_NE(tray->AnimationGeneration(), old);
    ASSERT_EQ(tray->FrameIndex(), 0);
    tray->Steps.clear();

    PostMessageW(tray->WindowHandle(), TrayStepMessage, old, 0);
    Pump();
    EXPECT_EQ(tray->FrameIndex(), 0);
    EXPECT_TRUE(tray->Steps.empty());

    // The same step with the current generation is taken.
    PostMessageW(tray->WindowHandle(), TrayStepMessage, tray->AnimationGeneration(), 0);
    Pump();
    EXPECT_EQ(tray->FrameIndex(), 1);
    EXPECT_EQ(tray->Steps.size(), 1u);
}

// A thread whose first posts fail, as PostMessage does when the queue is full.
class TFlakyPostThread : public TTimerThread {
public:
    using TTimerThread::TTimerThread;
    std::atomic<int> FailuresLeft{3};

protected:
    bool PostStep(HWND window, UINT message, WPARAM generation) override
    {
        if (FailuresLeft > 0) {
            --FailuresLeft;
            return false;
        }
        return TTimerThread::PostStep(window, message, generation);
    }
};

TEST_F(TrayAnimationTest, FailedPostsDoNotStallTheSteps)
{
    auto shared = std::make_shared<TTimerThread::TShared>();
    int received = 0;
    TUtilityWindow window([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == TrayStepMessage && wp == 7) {
            ++received;
            shared->Pending = false;  // what the tray does on taking a step
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    });
    shared->Interval = 10;
    shared->Window = window.Handle();
    shared->StepMessage = TrayStepMessage;
    shared->Generation = 7;
    TFlakyPostThread thread(tray, shared);
    thread.Resume();
    EXPECT_TRUE(PumpUntil([&] { return received >= 3; }));
    EXPECT_EQ(thread.FailuresLeft, 0);
}

}  // namespace
