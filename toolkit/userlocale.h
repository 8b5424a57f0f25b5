// What Windows says of the user's languages and formats.
#pragma once

#include <string>
#include <vector>

// The user's preferred display languages, most wanted first, as BCP 47 tags
// ("de-AT"); empty when Windows cannot tell.
std::vector<std::wstring> UserPreferredLanguages();

// The decimal separator of the user's regional settings; "." when Windows
// cannot tell.
std::wstring UserDecimalSeparator();
