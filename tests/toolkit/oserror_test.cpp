#include <gtest/gtest.h>
#include <windows.h>

#include "toolkit/oserror.h"

TEST(OSError, CarriesTheSystemTextAndCode)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        RaiseLastOSError();
        FAIL() << "no error raised";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_FALSE(e.Message().empty());
        EXPECT_NE(e.Message().back(), L'\n');
    }
}
