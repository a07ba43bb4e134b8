// The font dialog: the installed families it is given, picking one by OK or double click, the message
// for OK without a choice, Cancel, and its look.
#include "DialogDriver.h"

#include "builder/FontDialog.h"
#include "tavctrls/TavFonts.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::FontDialog;

const std::vector<std::string> kFonts = {"DejaVu Sans",     "DejaVu Sans Mono", "DejaVu Serif",
                                         "Liberation Mono", "Noto Sans",        "Ubuntu"};

class FontDialogTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app, 320, 300), TAVERROR_OK);
        screen = new CTavScreen;
        ASSERT_EQ(screen->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(screen);
        driver = std::make_unique<DialogDriver<FontDialog>>(display, screen);
    }

    // Runs the dialog at its usual place with the script; gives the dialog's outputs.
    std::pair<int, std::string> Run(std::vector<std::string> fonts,
                                    std::vector<DialogDriver<FontDialog>::Step> steps) {
        driver->Script(std::move(steps));
        auto* dialog = new FontDialog(std::move(fonts));
        EXPECT_EQ(dialog->Initialize(7, 50, 50, 200, 200, TAVSCREEN_POPUP, screen), TAVERROR_OK);
        EXPECT_EQ(screen->SetChildScreen(dialog), TAVERROR_OK);
        std::pair<int, std::string> result{dialog->confirmed, dialog->chosenName};
        screen->RemoveChildScreen();
        return result;
    }
    static CTavListBox* List(FontDialog* dialog) {
        return static_cast<CTavListBox*>(dialog->GetObjectByID(FontDialog::ID_LIST));
    }

    CTavApp app;
    CTavScreen* screen = nullptr;
    std::unique_ptr<DialogDriver<FontDialog>> driver;
};

TEST(FontFamilies, AreSortedUniqueAndHoldTheDefaultFont) {
    const std::vector<std::string> families = TavGetFontFamilies();
    ASSERT_FALSE(families.empty());
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
    EXPECT_EQ(std::count(families.begin(), families.end(), ""), 0);
    EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
}

TEST_F(FontDialogTest, ShowsTheGivenNamesInOrderWithItsControls) {
    const std::vector<std::string> installed = TavGetFontFamilies();
    const auto result =
        Run(installed, {[&](FontDialog* dialog) {
                            CTavListBox* list = List(dialog);
                            ASSERT_NE(list, nullptr);
                            ASSERT_EQ(list->GetRowCount(), static_cast<int>(installed.size()));
                            for (int row = 0; row < list->GetRowCount(); ++row)
                                EXPECT_EQ(list->GetItemText(row), installed[row]);
                            EXPECT_EQ(list->GetColumnName(0), "Font Name");
                            EXPECT_EQ(list->GetColumnWidth(0), 100);
                            EXPECT_EQ(list->GetWidth(), 200);
                            EXPECT_EQ(list->GetHeight(), 160);
                            auto* ok = static_cast<CTavButton*>(dialog->GetObjectByID(1));
                            auto* cancel = static_cast<CTavButton*>(dialog->GetObjectByID(2));
                            EXPECT_STREQ(ok->GetCaption(), "OK");
                            EXPECT_STREQ(cancel->GetCaption(), "Cancel");
                            EXPECT_EQ(ok->GetX(), 80.0f);
                            EXPECT_EQ(ok->GetY(), 170.0f);
                            EXPECT_EQ(cancel->GetX(), 140.0f);
                        },
                        [&](FontDialog* dialog) { driver->ClickObject(dialog, 2); }});
    EXPECT_EQ(driver->done, 2u);
    EXPECT_EQ(result.first, 0);
    EXPECT_EQ(result.second, "");
}

TEST_F(FontDialogTest, OkNeedsAChoiceAndGivesTheChosenName) {
    const auto result = Run(kFonts, {[&](FontDialog* dialog) { driver->ClickObject(dialog, 1); },
                                     driver->AnswerBox("Select a font first"),
                                     [&](FontDialog* dialog) { driver->ClickRow(List(dialog), 2); },
                                     [&](FontDialog* dialog) { driver->ClickObject(dialog, 1); }});
    EXPECT_EQ(driver->done, 4u);
    EXPECT_EQ(result.first, 1);
    EXPECT_EQ(result.second, "DejaVu Serif");
}

TEST_F(FontDialogTest, DoubleClickChoosesAndCancelDoesNot) {
    auto result = Run(kFonts, {[&](FontDialog* dialog) { driver->DoubleClickRow(List(dialog), 4); }});
    EXPECT_EQ(result, std::make_pair(1, std::string("Noto Sans")));

    result = Run(kFonts, {[&](FontDialog* dialog) { driver->ClickRow(List(dialog), 1); },
                          [&](FontDialog* dialog) { driver->ClickObject(dialog, 2); }});
    EXPECT_EQ(result.first, 0);
}

TEST_F(FontDialogTest, LooksAsExpected) {
    test::TempDir folder;
    const std::string shot = folder / "font-dialog.bmp";
    Run(kFonts, {[&](FontDialog* dialog) { driver->ClickRow(List(dialog), 1); },
                 DialogDriver<FontDialog>::Pause(), DialogDriver<FontDialog>::Pause(),
                 [&](FontDialog* dialog) {
                     ASSERT_TRUE(display->SaveLastFrame(shot));
                     driver->ClickObject(dialog, 2);
                 }});
    test::ExpectLikeReference(shot, std::string(TAV_SOURCE_DIR) + "/tests/builder/reference",
                              "font-dialog.bmp");
}

} // namespace
} // namespace tav::testing
