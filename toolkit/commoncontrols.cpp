#include "toolkit/commoncontrols.h"

#include <atomic>

#include "toolkit/errors.h"
#include "toolkit/systemlibrary.h"

namespace {

constexpr wchar_t kLibrary[] = L"comctl32.dll";

// Each is resolved once; a failed lookup raises and the next call tries again.
auto* InitEntry()
{
    static auto* const entry = SystemEntry<decltype(InitCommonControlsEx)>(kLibrary, "InitCommonControlsEx");
    return entry;
}

auto* SetSubclassEntry()
{
    static auto* const entry = SystemEntry<decltype(SetWindowSubclass)>(kLibrary, "SetWindowSubclass");
    return entry;
}

// Set together once a subclass has been installed: only then can the other
// two be needed, and they are resolved with it so that neither can fail later.
std::atomic<decltype(&RemoveWindowSubclass)> removeEntry{nullptr};
std::atomic<decltype(&DefSubclassProc)> defaultEntry{nullptr};

void BindSubclassEntries()
{
    if (defaultEntry.load() != nullptr) return;
    removeEntry.store(SystemEntry<decltype(RemoveWindowSubclass)>(kLibrary, "RemoveWindowSubclass"));
    defaultEntry.store(SystemEntry<decltype(DefSubclassProc)>(kLibrary, "DefSubclassProc"));
}

// The classes already registered; registering again is harmless but not free.
DWORD registered = 0;

}  // namespace

void RegisterCommonControls(DWORD classes)
{
    if ((registered & classes) == classes) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, classes};
    if (!InitEntry()(&icc)) throw EOSError(L"The common controls could not be registered", ERROR_CLASS_DOES_NOT_EXIST);
    registered |= classes;
}

bool InstallSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data)
{
    auto* install = SetSubclassEntry();
    BindSubclassEntries();
    return install(window, procedure, id, data) != FALSE;
}

void RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) noexcept
{
    if (auto* remove = removeEntry.load()) remove(window, procedure, id);
}

LRESULT DefaultSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    // Only a subclassed window gets here, so the entry is bound; the plain
    // default keeps a message from being lost if it ever were not.
    auto* forward = defaultEntry.load();
    return forward != nullptr ? forward(window, message, wParam, lParam)
                              : DefWindowProcW(window, message, wParam, lParam);
}
