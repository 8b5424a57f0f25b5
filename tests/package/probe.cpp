// A small Windows-side helper for tests/package/run, which checks the
// installer and the portable zip from the Linux side:
//   package_probe shows TITLE    starts QUENFEL_EXE, waits for its main window
//                                (titled TITLE) to be shown, closes it and
//                                expects a clean exit
//   package_probe slides TITLE   as shows, moving the settings page's slider
//                                with its arrow key first; prints "position N"
//   package_probe position TITLE as shows, printing the slider's "position N"
//   package_probe appears TITLE  waits for a running copy's main window
//   package_probe reads TITLE NAME...
//                                as appears, then reads the window as a screen
//                                reader does: an object is named each NAME
//   package_probe runs           waits for a running copy, shown or in the tray
//   package_probe gone           waits until no copy runs (no window, no lock)
//   package_probe close          asks a running copy to close, then as gone
//   package_probe elevated closes|ignores READY
//                                poses as a copy with administrator rights:
//                                its lock refuses to be opened and its
//                                application window drops WM_CLOSE; it ends on
//                                the registered close message (closes) or
//                                never (ignores, for 60 s); READY is made once
//                                it stands
//   package_probe wizard SETUP_TITLE AUTORUN NEXT INSTALL RUN FINISH [turn-autorun] [untick-run]
//                                in the running installer's window, titled
//                                SETUP_TITLE: the components list's second
//                                entry reads AUTORUN (turn-autorun turns it
//                                over: it must change); the button reads NEXT,
//                                then INSTALL, each pressed; the finish page's
//                                check box reads RUN, ticked (untick-run
//                                unticks it); the button reads FINISH, pressed
// Exit code 0 when the condition came true before the deadline.
#include <windows.h>
#include <commctrl.h>
#include <sddl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/support/accessible_tree.h"

namespace {

using namespace std::chrono_literals;

// The main window is a form of the program's class; the application window
// (the taskbar button, present in the tray too) is titled like the product.
constexpr wchar_t kFormClass[] = L"QuenfelForm";
constexpr wchar_t kApplicationClass[] = L"QuenfelApplication";
constexpr wchar_t kProduct[] = L"Quenfel";
// Held by every running copy.
constexpr wchar_t kInstanceMutex[] = L"Quenfel";
// A first start in a new prefix loads fonts and the common controls.
constexpr auto kDeadline = 30s;

bool Shown(HWND window)
{
    return window != nullptr && IsWindowVisible(window) && e2e::WindowWidth(window) > 0 &&
           e2e::WindowHeight(window) > 0;
}

bool CopyRuns()
{
    HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutex);
    if (lock == nullptr) return false;
    CloseHandle(lock);
    return true;
}

int Fail(const char* what)
{
    std::printf("package_probe: %s\n", what);
    return 1;
}

// The settings page's slider, the amount a run frees; the page opens first,
// as its windows are made when it first opens.
HWND SliderOf(HWND window)
{
    if (!e2e::OpenSettingsPage(window)) return nullptr;
    return e2e::FindChildByClass(window, TRACKBAR_CLASSW);
}

int StartsAndShows(const std::wstring& title, const std::function<int(HWND)>& meanwhile = {})
{
    e2e::TProcess program = e2e::TProcess::Start();
    if (program.Handle() == nullptr) return Fail("the program did not start");
    HWND window = nullptr;
    const bool shown = e2e::WaitUntil(
        [&] {
            window = e2e::FindTopLevel(program.Id(), title, kFormClass);
            return Shown(window) || !program.IsRunning();
        },
        kDeadline);
    if (!shown || !Shown(window)) return Fail("the program showed no main window");
    const RECT r = e2e::WindowRect(window);
    std::printf("package_probe: main window %ldx%ld at %ld,%ld\n", r.right - r.left, r.bottom - r.top, r.left,
                r.top);
    if (meanwhile && meanwhile(window) != 0) return 1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    const auto code = program.WaitForExit(kDeadline);
    if (!code) return Fail("the program did not end on WM_CLOSE");
    if (*code != 0) return Fail("the program ended with a non-zero exit code");
    return 0;
}

int Appears(const std::wstring& title)
{
    if (!e2e::WaitUntil([&] { return Shown(FindWindowW(kFormClass, title.c_str())); }, kDeadline))
        return Fail("no running copy showed its main window");
    return 0;
}

// The main window titled title, read as a screen reader reads it from
// another process, holds an object named each of names.
int Reads(const std::wstring& title, const std::vector<std::wstring>& names)
{
    if (Appears(title) != 0) return 1;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::vector<std::wstring> lines = accessible_tree::Read(FindWindowW(kFormClass, title.c_str()));
    CoUninitialize();
    int missing = 0;
    for (const std::wstring& name : names) {
        const std::wstring quoted = L"\"" + name + L"\"";
        bool found = false;
        for (const std::wstring& line : lines) found = found || line.find(quoted) != std::wstring::npos;
        if (!found) {
            std::printf("package_probe: nothing is named \"%ls\"\n", name.c_str());
            ++missing;
        }
    }
    return missing == 0 ? 0 : 1;
}

bool CopyRunsWithWindow()
{
    return FindWindowW(kApplicationClass, kProduct) != nullptr && CopyRuns();
}

int Runs()
{
    if (!e2e::WaitUntil(CopyRunsWithWindow, kDeadline)) return Fail("no copy is running");
    return 0;
}

int Gone()
{
    if (!e2e::WaitUntil([] { return FindWindowW(kApplicationClass, kProduct) == nullptr && !CopyRuns(); }, kDeadline))
        return Fail("a copy is still running");
    return 0;
}

int Close()
{
    if (!CopyRunsWithWindow()) return Fail("no copy is running");
    PostMessageW(FindWindowW(kApplicationClass, kProduct), WM_CLOSE, 0, 0);
    return Gone();
}

UINT poseCloseMessage = 0;

LRESULT CALLBACK PoseProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) return 0;
    if (message == poseCloseMessage && poseCloseMessage != 0) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int PoseAsElevated(bool closes, const std::wstring& ready)
{
    PSECURITY_DESCRIPTOR denying = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &denying, nullptr))
        return Fail("no security descriptor");
    SECURITY_ATTRIBUTES attributes{sizeof attributes, denying, FALSE};
    HANDLE lock = CreateMutexW(&attributes, FALSE, kInstanceMutex);
    LocalFree(denying);
    if (lock == nullptr) return Fail("no lock");
    if (closes) poseCloseMessage = RegisterWindowMessageW(L"Quenfel.Close");
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PoseProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kApplicationClass;
    if (RegisterClassW(&windowClass) == 0 ||
        CreateWindowExW(0, kApplicationClass, kProduct, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr) == nullptr)
        return Fail("no window");
    CloseHandle(CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SetTimer(nullptr, 0, 60'000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER) DispatchMessageW(&msg);
    CloseHandle(lock);
    return 0;
}

struct ChildClassSearch {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchChildClass(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ChildClassSearch*>(data);
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (lstrcmpiW(cls, search->className) != 0 || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The installer's wizard: one outer window whose Next/Install/Finish button
// has the id IDOK, and an inner page; the components page holds a tree.
HWND FindChildOfClass(HWND parent, const wchar_t* className)
{
    ChildClassSearch search{className, nullptr};
    EnumChildWindows(parent, MatchChildClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ButtonText(HWND wizard)
{
    return e2e::WindowText(GetDlgItem(wizard, IDOK));
}

// Waits until the wizard's IDOK button reads text and can be pressed.
bool ButtonReads(HWND wizard, const std::wstring& text)
{
    if (!e2e::WaitUntil([&] { return ButtonText(wizard) == text && IsWindowEnabled(GetDlgItem(wizard, IDOK)); },
                        kDeadline)) {
        std::printf("package_probe: the wizard's button reads \"%ls\", not \"%ls\"\n", ButtonText(wizard).c_str(),
                    text.c_str());
        return false;
    }
    return true;
}

// Presses the wizard's IDOK button once it reads text, as a click would.
bool Press(HWND wizard, const std::wstring& text)
{
    if (!ButtonReads(wizard, text)) return false;
    PostMessageW(wizard, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(wizard, IDOK)));
    return true;
}

// Memory in another process, given back on every path.
class TRemoteBuffer {
public:
    TRemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process),
          address_(static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)))
    {
    }
    ~TRemoteBuffer()
    {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    TRemoteBuffer(const TRemoteBuffer&) = delete;
    TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

    BYTE* Address() const { return address_; }

private:
    HANDLE process_;
    BYTE* address_;
};

// A tree entry's text. The tree belongs to the installer, so the request and
// the buffer it fills must be in the installer's memory; both programs are
// 32-bit, so the request has the same layout there.
std::wstring TreeItemText(HWND tree, HTREEITEM item)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return L"";
    std::wstring text;
    {
        constexpr int kChars = 260;
        TRemoteBuffer remote(process, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
        TVITEMW request{};
        request.mask = TVIF_TEXT;
        request.hItem = item;
        request.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof(TVITEMW));
        request.cchTextMax = kChars;
        wchar_t buffer[kChars] = {};
        if (remote.Address() != nullptr &&
            WriteProcessMemory(process, remote.Address(), &request, sizeof request, nullptr) &&
            SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address())) &&
            ReadProcessMemory(process, request.pszText, buffer, sizeof buffer, nullptr)) {
            buffer[kChars - 1] = L'\0';
            text = buffer;
        }
    }
    CloseHandle(process);
    return text;
}

int Wizard(const std::wstring& setupTitle, const std::wstring& autorunText, const std::wstring& nextText,
           const std::wstring& installText, const std::wstring& runText, const std::wstring& finishText,
           bool turnAutorun, bool untickRun)
{
    HWND wizard = nullptr;
    HWND tree = nullptr;
    if (!e2e::WaitUntil(
            [&] {
                // A dialog; its caption may end in a blank.
                for (wizard = FindWindowExW(nullptr, nullptr, WC_DIALOG, nullptr); wizard != nullptr;
                     wizard = FindWindowExW(nullptr, wizard, WC_DIALOG, nullptr)) {
                    std::wstring caption = e2e::WindowText(wizard);
                    caption.erase(caption.find_last_not_of(L' ') + 1);
                    if (caption != setupTitle) continue;
                    if ((tree = FindChildOfClass(wizard, WC_TREEVIEWW)) != nullptr) return true;
                }
                return false;
            },
            kDeadline))
        return Fail("no installer showing its components");
    // The second entry, below the program itself.
    const auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    const auto autorun = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(root)));
    if (autorun == nullptr) return Fail("the components list has no second entry");
    const std::wstring entry = TreeItemText(tree, autorun);
    if (entry != autorunText) {
        std::printf("package_probe: the second component reads \"%ls\", not \"%ls\"\n", entry.c_str(),
                    autorunText.c_str());
        return 1;
    }
    auto checkState = [&] {
        return SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(autorun), TVIS_STATEIMAGEMASK);
    };
    if (turnAutorun) {
        const LRESULT before = checkState();
        // As a user selecting the entry and pressing the space bar.
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(autorun));
        PostMessageW(tree, WM_KEYDOWN, VK_SPACE, 0);
        PostMessageW(tree, WM_KEYUP, VK_SPACE, 0xC0000000);
        if (!e2e::WaitUntil([&] { return checkState() != before; }, kDeadline))
            return Fail("\"Start with Windows\" did not change");
    }
    if (!Press(wizard, nextText) || !Press(wizard, installText) || !ButtonReads(wizard, finishText)) return 1;
    // The finish page's box that starts the program, ticked at first.
    HWND run = nullptr;
    if (!e2e::WaitUntil([&] { return (run = e2e::FindChildByText(wizard, runText)) != nullptr; }, kDeadline)) {
        std::printf("package_probe: the finish page has no \"%ls\"\n", runText.c_str());
        return 1;
    }
    if (SendMessageW(run, BM_GETCHECK, 0, 0) != BST_CHECKED) return Fail("the box that starts the program is not ticked");
    if (untickRun) {
        SendMessageW(run, BM_CLICK, 0, 0);
        if (SendMessageW(run, BM_GETCHECK, 0, 0) != BST_UNCHECKED) return Fail("the box that starts the program stays ticked");
    }
    return Press(wizard, finishText) ? 0 : 1;
}

// The slider a line up, as its arrow key moves it; prints where it is then.
int Slides(HWND window)
{
    HWND slider = SliderOf(window);
    if (slider == nullptr) return Fail("the settings page has no slider");
    const LRESULT before = SendMessageW(slider, TBM_GETPOS, 0, 0);
    PostMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageW(slider, WM_KEYUP, VK_RIGHT, 0xC0000000);
    LRESULT after = before;
    if (!e2e::WaitUntil([&] { return (after = SendMessageW(slider, TBM_GETPOS, 0, 0)) != before; }, kDeadline))
        return Fail("the slider did not move");
    std::printf("position %ld\n", static_cast<long>(after));
    return 0;
}

int Position(HWND window)
{
    HWND slider = SliderOf(window);
    if (slider == nullptr) return Fail("the settings page has no slider");
    std::printf("position %ld\n", static_cast<long>(SendMessageW(slider, TBM_GETPOS, 0, 0)));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"shows" && argc == 3) return StartsAndShows(argv[2]);
    if (mode == L"slides" && argc == 3) return StartsAndShows(argv[2], Slides);
    if (mode == L"position" && argc == 3) return StartsAndShows(argv[2], Position);
    if (mode == L"appears" && argc == 3) return Appears(argv[2]);
    if (mode == L"reads" && argc >= 4) return Reads(argv[2], std::vector<std::wstring>(argv + 3, argv + argc));
    if (mode == L"runs" && argc == 2) return Runs();
    if (mode == L"gone" && argc == 2) return Gone();
    if (mode == L"close" && argc == 2) return Close();
    if (mode == L"elevated" && argc == 4) return PoseAsElevated(std::wstring(argv[2]) == L"closes", argv[3]);
    if (mode == L"wizard" && argc >= 8) {
        bool turnAutorun = false;
        bool untickRun = false;
        bool known = true;
        for (int i = 8; i < argc; ++i) {
            const std::wstring option = argv[i];
            if (option == L"turn-autorun") turnAutorun = true;
            else if (option == L"untick-run") untickRun = true;
            else known = false;
        }
        if (known) return Wizard(argv[2], argv[3], argv[4], argv[5], argv[6], argv[7], turnAutorun, untickRun);
    }
    std::printf("usage: package_probe shows TITLE | slides TITLE | position TITLE | appears TITLE | reads TITLE NAME... | runs | gone | close\n"
                "       | wizard SETUP_TITLE AUTORUN NEXT INSTALL RUN FINISH [turn-autorun] [untick-run]\n");
    return 2;
}
