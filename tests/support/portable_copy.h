// A portable copy for a test: a scratch folder holding a settings file,
// made the store in force until the test ends, when the registry is again.
#pragma once

#include <string>

#include "settings/settingsstore.h"
#include "tests/support/history_files.h"

namespace testsupport {

// The registry the store in force again when the test ends.
struct TRegistryStoreAfter {
    ~TRegistryStoreAfter() { UseRegistryStore(); }
};

class TPortableCopy {
public:
    explicit TPortableCopy(const std::wstring& name, const std::string& settings = "[Quenfel]\r\n") : folder_(name)
    {
        WriteBytes(folder_.File(L"Quenfel.ini"), settings);
        made_ = UsePortableStoreIfPresent(folder_.Path());
    }
    TPortableCopy(const TPortableCopy&) = delete;
    TPortableCopy& operator=(const TPortableCopy&) = delete;

    // The settings file was found and its store is in force.
    bool Made() const { return made_; }
    std::wstring File(const std::wstring& name) const { return folder_.File(name); }

private:
    TRegistryStoreAfter registryAfter_;
    TScratchFolder folder_;
    bool made_ = false;
};

} // namespace testsupport
