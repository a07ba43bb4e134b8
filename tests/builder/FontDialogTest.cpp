// The font dialog: the families it is given, picking one by OK or double click, OK without a choice,
// Cancel, and its look.
#include "DialogDriver.h"

#include "builder/FontDialog.h"
#include "tavctrls/TavFonts.h"
#include "tests/support/Screenshots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::FontDialog;

class FontDialogTest : public DialogTest {
protected:
    FontDialogTest() {
        appWidth = 320;
        appHeight = 300;
    }
    // Runs the dialog at its usual place; gives whether it was confirmed and the chosen name.
    std::pair<int, std::string> Choose(std::vector<Step> steps) {
        auto* dialog = new FontDialog(
            {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif", "Liberation Mono", "Noto Sans", "Ubuntu"});
        std::pair<int, std::string> result;
        Run<FontDialog>(dialog, 50, 50, 200, 200, std::move(steps), [&](FontDialog& done) {
            result = {done.confirmed, done.chosenName};
        });
        return result;
    }
    Step Click(DWORD id) { return driver.Click(id); }
    Step Row(int row, bool twice = false) { return driver.Row(FontDialog::ID_LIST, row, twice); }
};

TEST(FontFamilies, AreSortedUniqueAndHoldTheDefaultFont) {
    const std::vector<std::string> families = TavGetFontFamilies();
    ASSERT_FALSE(families.empty());
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
    EXPECT_EQ(std::count(families.begin(), families.end(), ""), 0);
    EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
}

TEST_F(FontDialogTest, OkNeedsAChoiceAndGivesTheChosenName) {
    EXPECT_EQ(Choose({Click(1), driver.AnswerBox("Select a font first"), Row(2), Click(1)}),
              std::make_pair(1, std::string("DejaVu Serif")));
    EXPECT_EQ(Choose({Row(4, true)}), std::make_pair(1, std::string("Noto Sans")));
}

TEST_F(FontDialogTest, CancelChoosesNothingAndTheDialogLooksAsExpected) {
    test::TempDir folder;
    const std::string shot = folder / "font-dialog.bmp";
    const auto result = Choose({[](CTavScreen* dialog) { ExpectLayout(dialog, "font-dialog"); }, Row(1),
                                DialogDriver<>::Pause(), DialogDriver<>::Pause(), Shot(shot), Click(2)});
    EXPECT_EQ(result.first, 0);
    test::ExpectLikeReference(shot, std::string(TAV_SOURCE_DIR) + "/tests/builder/reference",
                              "font-dialog.bmp");
}

} // namespace
} // namespace tav::testing
