// The two routines through which the window reads and writes its registry
// values.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "settings/regvalue.h"
#include "toolkit/registry.h"

// The string value, or empty text when the key or value is missing, is not a
// string, or is longer than 255 characters. Never raises.
std::wstring ReadRegString(std::wstring_view keyPath, std::wstring_view valueName, HKEY root);

// Writes value as forcedType, or, when forcedType is rdUnknown, as the type
// the value already has. The key is created when a type is forced. Raises
// EOSError (the system's text) when the key cannot be opened, or with code
// 1013 when there is no type to write as; ERegistryException when the write
// is refused. Nothing is created or changed when it raises for the type.
void WriteRegValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName, const TRegValue& value,
                   TRegDataType forcedType);
