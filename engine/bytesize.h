// The short text of a byte count ("128.00 MB"). Platform-free.
#pragma once

#include <string>

// countText is a decimal integer, optionally signed; anything else raises
// EConvertError. The result has two decimals and GB, MB or KB (binary units),
// or the plain count and "bytes" below 1 KB, in the current language: its
// unit names, and its decimal separator ("." in English).
std::wstring FormatByteSize(const std::wstring& countText);
