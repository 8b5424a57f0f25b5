#include "toolkit/accessibilitylibrary.h"

#include <atomic>

#include "toolkit/errors.h"
#include "toolkit/systemlibrary.h"

namespace {

constexpr wchar_t kOleacc[] = L"oleacc.dll";
constexpr wchar_t kOle32[] = L"ole32.dll";
constexpr wchar_t kOleaut32[] = L"oleaut32.dll";

// Each is resolved once; a failed lookup raises and the next call tries again.
template <class Function>
Function* Entry(const wchar_t* library, const char* name, std::atomic<Function*>& slot)
{
    Function* f = slot.load();
    if (f == nullptr) {
        f = SystemEntry<Function>(library, name);
        slot.store(f);
    }
    return f;
}

std::atomic<decltype(CoInitializeEx)*> coInitialize{nullptr};
std::atomic<decltype(CoDisconnectObject)*> coDisconnect{nullptr};
std::atomic<decltype(CreateStdAccessibleObject)*> createStandard{nullptr};
std::atomic<decltype(LresultFromObject)*> lresultFromObject{nullptr};
std::atomic<decltype(SysAllocString)*> sysAllocString{nullptr};
std::atomic<decltype(VariantClear)*> variantClear{nullptr};

thread_local bool prepared = false;

}  // namespace

void PrepareAccessibility()
{
    if (prepared) return;
    Entry(kOleacc, "CreateStdAccessibleObject", createStandard);
    Entry(kOleacc, "LresultFromObject", lresultFromObject);
    Entry(kOleaut32, "SysAllocString", sysAllocString);
    Entry(kOleaut32, "VariantClear", variantClear);
    Entry(kOle32, "CoDisconnectObject", coDisconnect);
    // Handing an object to another process marshals it, which needs COM on
    // this thread. A thread already in COM (either model) is fine as it is.
    const HRESULT hr = Entry(kOle32, "CoInitializeEx", coInitialize)(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE)
        throw EOSError(L"COM could not be started for assistive tools", static_cast<DWORD>(hr));
    prepared = true;
}

IAccessible* CreateStandardAccessible(HWND window, LONG objectId)
{
    void* object = nullptr;
    const HRESULT hr = Entry(kOleacc, "CreateStdAccessibleObject", createStandard)(window, objectId, __uuidof(IAccessible), &object);
    if (FAILED(hr) || object == nullptr)
        throw EOSError(L"The standard accessible object could not be made", static_cast<DWORD>(hr));
    return static_cast<IAccessible*>(object);
}

LRESULT AccessibleResult(WPARAM wParam, IAccessible* object)
{
    return Entry(kOleacc, "LresultFromObject", lresultFromObject)(__uuidof(IAccessible), wParam, object);
}

void DisconnectAccessible(IUnknown* object) noexcept
{
    if (auto* disconnect = coDisconnect.load()) disconnect(object, 0);
}

BSTR AllocAccessibleText(const std::wstring& text)
{
    if (text.empty()) return nullptr;
    return Entry(kOleaut32, "SysAllocString", sysAllocString)(text.c_str());
}

void ClearAccessibleVariant(VARIANT& value) noexcept
{
    if (auto* clear = variantClear.load())
        clear(&value);
    else
        value.vt = VT_EMPTY;
}
