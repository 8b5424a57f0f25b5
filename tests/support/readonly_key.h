// Lets everyone read a registry key but not change it, as a user without
// administrator rights sees the machine's keys; restores the key's own
// permissions on the way out. Wine enforces key permissions as Windows does.
#pragma once

#include <windows.h>
#include <aclapi.h>

class TReadOnlyKey {
public:
    TReadOnlyKey(HKEY root, const wchar_t* path)
    {
        RegCreateKeyExW(root, path, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key_, nullptr);
        GetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &oldDacl_, nullptr,
                        &oldDescriptor_);
        EXPLICIT_ACCESSW access{};
        access.grfAccessPermissions = KEY_READ | READ_CONTROL | WRITE_DAC;
        access.grfAccessMode = SET_ACCESS;
        access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
        access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        access.Trustee.ptstrName = const_cast<wchar_t*>(L"EVERYONE");
        SetEntriesInAclW(1, &access, nullptr, &dacl_);
        applied_ = SetSecurityInfo(key_, SE_REGISTRY_KEY,
                                   DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                   dacl_, nullptr) == ERROR_SUCCESS;
    }
    TReadOnlyKey(const TReadOnlyKey&) = delete;
    TReadOnlyKey& operator=(const TReadOnlyKey&) = delete;
    ~TReadOnlyKey()
    {
        SetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, oldDacl_, nullptr);
        LocalFree(dacl_);
        LocalFree(oldDescriptor_);
        RegCloseKey(key_);
    }
    bool Applied() const { return applied_; }

private:
    HKEY key_ = nullptr;
    PACL oldDacl_ = nullptr;
    PSECURITY_DESCRIPTOR oldDescriptor_ = nullptr;
    PACL dacl_ = nullptr;
    bool applied_ = false;
};
