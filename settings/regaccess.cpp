#include "settings/regaccess.h"

#include "toolkit/errors.h"
#include "toolkit/oserror.h"

using enum TRegDataType;

std::wstring ReadRegString(std::wstring_view keyPath, std::wstring_view valueName, HKEY root)
{
    try {
        TRegistry reg(KEY_QUERY_VALUE);
        reg.SetRootKey(root);
        if (!reg.OpenKey(keyPath, false)) return {};

        // Room for the longest string the window reads, 255 characters, and
        // its terminator; anything longer fails the query and reads as empty.
        constexpr std::size_t kMaxChars = 255;
        wchar_t buffer[kMaxChars + 1];
        DWORD size = sizeof buffer;
        DWORD type = REG_NONE;
        const std::wstring name(valueName);
        if (RegQueryValueExW(reg.CurrentKey(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size)
                != ERROR_SUCCESS
            || (type != REG_SZ && type != REG_EXPAND_SZ))
            return {};
        // The stored size counts the terminating zero only when one was
        // stored; cut at the first zero so the last character is never lost.
        std::wstring text(buffer, size / sizeof(wchar_t));
        const auto end = text.find(L'\0');
        if (end != std::wstring::npos) text.resize(end);
        // 256 characters stored without a terminator fill the buffer exactly:
        // still one too many.
        if (text.size() > kMaxChars) return {};
        return text;
    } catch (...) {
        return {};
    }
}

void WriteRegValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName, const TRegValue& value,
                   TRegDataType forcedType)
{
    // Finding the existing type needs query access as well as KEY_WRITE.
    TRegistry reg(KEY_WRITE | KEY_QUERY_VALUE);
    reg.SetRootKey(root);
    // Without a forced type only an existing value can be written, so a
    // missing key is not created just to fail afterwards.
    const bool create = forcedType != rdUnknown;
    if (!reg.OpenKey(keyPath, create)) {
        const DWORD error = GetLastError();
        RaiseOSError(!create && error == ERROR_FILE_NOT_FOUND ? ERROR_CANTWRITE : error);
    }

    const TRegDataType type = forcedType != rdUnknown ? forcedType : reg.GetDataType(valueName);
    switch (type) {
    case rdString:
        reg.WriteString(valueName, value.AsText());
        break;
    case rdExpandString:
        reg.WriteExpandString(valueName, value.AsText());
        break;
    case rdInteger:
        reg.WriteInteger(valueName, value.AsInteger());
        break;
    case rdBinary: {
        // The text's own characters, without a terminator.
        const std::wstring text = value.AsText();
        reg.WriteBinaryData(valueName, text.data(), static_cast<std::int32_t>(text.size() * sizeof(wchar_t)));
        break;
    }
    default:
        RaiseOSError(ERROR_CANTWRITE);
    }
}
