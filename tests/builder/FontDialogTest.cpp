// The font dialog: the families it is given, picking one, Cancel, and its look.
#include "DialogDriver.h"

#include "builder/FontDialog.h"
#include "tavctrls/TavFonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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
    Step Pick(int row, bool twice = false) { return Row(FontDialog::ID_LIST, row, twice); }
};

TEST(FontFamilies, AreSortedUniqueAndHoldTheDefaultFont) {
    const std::vector<std::string> families = TavGetFontFamilies();
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end(), std::greater_equal<>()), families.end());
    EXPECT_TRUE(families.at(0) != "" && std::count(families.begin(), families.end(), "DejaVu Sans") == 1);
}

TEST_F(FontDialogTest, OkNeedsAChoiceCancelChoosesNothingAndTheDialogLooksAsExpected) {
    EXPECT_EQ(Choose({Click(1), AnswerBox("Select a font first"), Pick(2), Click(1)}),
              std::make_pair(1, std::string("DejaVu Serif")));
    EXPECT_EQ(Choose({Pick(4, true)}), std::make_pair(1, std::string("Noto Sans")));
    EXPECT_EQ(
        Choose({Layout("font-dialog"), Pick(1), pause, pause, LooksLike("font-dialog.bmp"), Click(2)}).first,
        0);
}

} // namespace
} // namespace tav::testing
