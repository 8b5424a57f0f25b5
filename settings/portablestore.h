// The settings of a portable copy: the file Quenfel.ini beside the program,
// read once at the start and written whole through a new file that then
// replaces it, so a power cut leaves the old file or the new, never half.
#pragma once

#include <string>

#include "settings/inifile.h"
#include "settings/settingsstore.h"

class TPortableStore final : public TSettingsStore {
public:
    // folder holds the program and its settings file.
    explicit TPortableStore(std::wstring folder);

    std::optional<std::uint32_t> Number(std::wstring_view name) const override;
    std::optional<std::wstring> Text(std::wstring_view name, std::size_t maxChars) const override;
    std::optional<std::vector<std::wstring>> Names(std::wstring_view name) const override;
    void Write(std::initializer_list<TStoredWrite> values) override;
    bool Portable() const noexcept override { return true; }
    bool Keeps() const noexcept override { return keeps_; }
    std::wstring HistoryFolder() const override { return folder_; }

    std::wstring FilePath() const;

private:
    // Whether the file could be replaced now, found without changing it.
    bool CanReplace() const;
    bool Save() const;
    void NotKept();

    std::wstring folder_;
    TIniDocument document_;
    bool keeps_ = true;
};
