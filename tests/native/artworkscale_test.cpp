// Which drawn size of a picture each dpi shows.
#include <gtest/gtest.h>

#include "toolkit/artworkscale.h"

TEST(ArtworkScale, EachDpiShowsTheNearestDrawnSizeTheLargerOnATie)
{
    struct Row {
        int dpi, scale, id;
        const wchar_t* name;
    };
    const Row rows[] = {
        {72, 100, 101, L"SpinUp"},        {96, 100, 101, L"SpinUp"},        {107, 100, 101, L"SpinUp"},
        {108, 125, 1101, L"SpinUp_125"}, {120, 125, 1101, L"SpinUp_125"}, {132, 150, 2101, L"SpinUp_150"},
        {144, 150, 2101, L"SpinUp_150"}, {167, 150, 2101, L"SpinUp_150"}, {168, 200, 3101, L"SpinUp_200"},
        {192, 200, 3101, L"SpinUp_200"}, {288, 200, 3101, L"SpinUp_200"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ArtworkScale(r.dpi), r.scale) << r.dpi;
        EXPECT_EQ(ArtworkResourceId(101, r.dpi), r.id) << r.dpi;
        EXPECT_EQ(ArtworkResourceName(L"SpinUp", r.dpi), r.name) << r.dpi;
    }
}
