// The settings of an installed copy: values under
// HKEY_CURRENT_USER\Software\Quenfel.
#pragma once

#include "settings/settingsstore.h"

class TRegistryStore final : public TSettingsStore {
public:
    std::optional<std::uint32_t> Number(std::wstring_view name) const override;
    std::optional<std::wstring> Text(std::wstring_view name, std::size_t maxChars) const override;
    std::optional<std::vector<std::wstring>> Names(std::wstring_view name) const override;
    void Write(std::initializer_list<TStoredWrite> values) override;
    bool Portable() const noexcept override { return false; }
    bool Keeps() const noexcept override { return true; }
    std::wstring HistoryFolder() const override { return {}; }
};
