// The shared small routines: hexadecimal digits and the font class table.
#include "module_fixture.h"

namespace zortest {
namespace {

using namespace lcdm;

TEST(CommonTest, HexDigitsAreUpperCase) {
    EXPECT_EQ(HexDigit(0), '0');
    EXPECT_EQ(HexDigit(9), '9');
    EXPECT_EQ(HexDigit(10), 'A');
    EXPECT_EQ(HexDigit(15), 'F');
    EXPECT_EQ(HexDigit(0x3C), 'C');  // only the low nibble counts
}

TEST(CommonTest, FontClassBoundaries) {
    struct Range {
        int first, last, fontClass;
    };
    const Range table[] = {{0, 31, 0},    {32, 63, 1},   {64, 127, 2},  {128, 143, 3},
                           {144, 159, 4}, {160, 167, 5}, {168, 175, 6}, {176, 183, 7},
                           {184, 191, 8}, {192, 199, 9}, {200, 255, 10}};
    for (const Range& r : table)
        for (int l = r.first; l <= r.last; ++l)
            EXPECT_EQ(FontClassOf(uint8_t(l)), r.fontClass) << l;
}

}  // namespace
}  // namespace zortest
