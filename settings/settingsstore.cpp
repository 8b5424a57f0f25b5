#include "settings/settingsstore.h"

#include <windows.h>

#include "settings/portablestore.h"
#include "settings/registrystore.h"

namespace {

std::unique_ptr<TSettingsStore>& Current()
{
    // Chosen once at the start on the window's thread, before any other
    // thread reads a value.
    static std::unique_ptr<TSettingsStore> store = std::make_unique<TRegistryStore>();
    return store;
}

} // namespace

TSettingsStore& SettingsStore()
{
    return *Current();
}

bool UsePortableStoreIfPresent(const std::wstring& programFolder)
{
    const std::wstring path = programFolder + L"\\" + std::wstring(kPortableSettingsFile);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    UseSettingsStore(std::make_unique<TPortableStore>(programFolder));
    return true;
}

void UseSettingsStore(std::unique_ptr<TSettingsStore> store)
{
    Current() = std::move(store);
}

void UseRegistryStore()
{
    UseSettingsStore(std::make_unique<TRegistryStore>());
}
