// The file and folder choosers: listing, navigation by clicks, keys and typed paths, the paths they give;
// the font dialog.
#include "DialogDriver.h"

#include "builder/Choosers.h"
#include "builder/FileChooser.h"
#include "builder/FolderListing.h"
#include "builder/FontDialog.h"
#include "tavctrls/TavFonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace tav::testing {
namespace {

using FC = builder::FileChooser;
using Names = std::vector<std::string>;

const char* const kCafe = "caf\u00e9.bmp";
const char* const kDonnees = "donn\u00e9es";

// A tree with nested folders, many files, hidden entries, spaces, non-ASCII names and a folder that
// cannot be read.
void MakeTree(const fs::path& root) {
    for (const fs::path& folder : {root / "alpha" / "inner", root / "Beta Folder", root / kDonnees,
                                   root / ".hidden", root / "fake.bmp", root / "locked"})
        fs::create_directories(folder);
    for (int i = 0; i < 40; ++i)
        test::WriteFile(root / ("img" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".bmp"), "x");
    for (const char* name : {"my picture.bmp", "UPPER.BMP", ".secret.bmp", "notes.txt", "bmp", "x.bmp.txt",
                             "alpha/inner/deep.bmp", "locked/inside.bmp"})
        test::WriteFile(root / name, "x");
    test::WriteFile(root / kDonnees / kCafe, "x");
    fs::permissions(root / "locked", fs::perms::none);
}

Names Rows(CTavListBox* list) {
    Names rows;
    for (int row = 0; row < list->GetRowCount(); ++row)
        rows.push_back(list->GetItemText(row));
    return rows;
}

class ChooserTest : public DialogTest {
protected:
    ChooserTest() {
        appWidth = 500; // just room for the larger chooser
        appHeight = 400;
        MakeTree(root);
    }
    void TearDown() override {
        EXPECT_EQ(fs::current_path(), startDirectory) << "a chooser changed the current directory";
        std::error_code ec;
        fs::permissions(root / "locked", fs::perms::owner_all, ec); // removable again
        DialogTest::TearDown();
    }

    // Runs the bitmap chooser (or the folder chooser) from `start` with the script; gives the chosen path
    // or "none".
    fs::path Choose(std::vector<Step> steps, const std::string& start, bool file = true) {
        Script(std::move(steps));
        return (file ? builder::ChooseBitmapFile(main, start) : builder::ChooseFolder(main, start))
            .value_or("none");
    }

    static auto* Folders(CTavScreen* c) {
        return static_cast<CTavListBox*>(c->GetObjectByID(FC::ID_FOLDERS));
    }
    static auto* Files(CTavScreen* c) { return static_cast<CTavListBox*>(c->GetObjectByID(FC::ID_FILES)); }
    static fs::path Folder(CTavScreen* c) { return static_cast<FC*>(c)->CurrentFolder(); }
    static std::string PathText(CTavScreen* c) { return builder::TextOf(c, FC::ID_PATH); }
    static std::string Status(CTavScreen* c) { return builder::TextOf(c, FC::ID_STATUS); }
    Step OpenFolder(const std::string& name) {
        return [this, name](CTavScreen* c) {
            const Names rows = Rows(Folders(c));
            const auto row = std::find(rows.begin(), rows.end(), name);
            ASSERT_NE(row, rows.end()) << name;
            ClickRow(Folders(c), static_cast<int>(row - rows.begin()), true);
        };
    }
    static Step Says(const std::string& text) {
        return [text](CTavScreen* c) { EXPECT_NE(Status(c).find(text), std::string::npos) << Status(c); };
    }
    // Expects the chooser to show `folder` (in its path field too) and, if given, its rows.
    static Step Shows(const fs::path& folder, const Names& folders = {}, int files = -1) {
        return [folder, folders, files](CTavScreen* c) {
            EXPECT_EQ(Folder(c), folder);
            EXPECT_EQ(PathText(c), folder.string());
            EXPECT_EQ(folders.empty() ? folders : Rows(Folders(c)), folders);
            EXPECT_EQ(files < 0 ? files : Files(c)->GetRowCount(), files);
        };
    }
    // Replaces the path field's text, leaving the focus there.
    Step TypePath(const std::string& text) {
        return [this, text](CTavScreen* c) {
            ClickObject(c, FC::ID_PATH);
            builder::SetTextOf(c, FC::ID_PATH, text);
        };
    }

    test::TempDir temp;
    const fs::path root = temp.path();
    const fs::path startDirectory = fs::current_path();
};

TEST_F(ChooserTest, FolderListingFiltersTheFilesAndTypedPathsAreResolved) {
    const builder::FolderListing listing = builder::ListFolder(root, ".bmp");
    EXPECT_TRUE(listing.readable);
    ASSERT_EQ(listing.files.size(), 42u);
    EXPECT_EQ(Names(listing.files.begin() + 39, listing.files.end()),
              (Names{"img39.bmp", "my picture.bmp", "UPPER.BMP"}));

    EXPECT_TRUE(builder::ListFolder(root, "").files.empty()) << "choosing folders lists no files";
    const builder::FolderListing missing = builder::ListFolder(root / "nope", ".bmp");
    EXPECT_FALSE(missing.readable || missing.error.empty());
    EXPECT_FALSE(builder::HasExtension(".bmp", ".bmp"));
    // Typed relative paths and the empty start are resolved by the chooser tests.
    EXPECT_EQ(builder::ResolvePath("/data/pics", "../x/"), "/data/x");
    EXPECT_EQ(builder::ResolvePath("/data/pics", "/etc/./y//"), "/etc/y");
    EXPECT_EQ(builder::ResolvePath("/data/pics", "/"), "/");
}

TEST_F(ChooserTest, ListsTheStartFolderAndClicksGiveTheFullPath) {
    // Root reads every folder, so the rows about unreadable folders cannot be seen as root.
    const std::string locked = geteuid() == 0 ? "locked" : "locked  (no access)";
    EXPECT_EQ(Choose({ExpectText(FC::ID_STATUS, ""),
                      Shows(root, {"..", "alpha", "Beta Folder", kDonnees, "fake.bmp", locked}, 42),
                      Row(FC::ID_FILES, 3), ExpectText(FC::ID_PATH, root / "img03.bmp"), Click(FC::ID_OK)},
                     root),
              root / "img03.bmp");
    // Double clicks move through folders and pick a file.
    EXPECT_EQ(Choose({OpenFolder("alpha"), Shows(root / "alpha", {"..", "inner"}, 0), OpenFolder(".."),
                      Shows(root), OpenFolder(kDonnees), Row(FC::ID_FILES, 0, true)},
                     root),
              root / kDonnees / kCafe);
}

TEST_F(ChooserTest, KeysAndTypedPathsNavigateAndChoose) {
    const fs::path deep = root / "alpha" / "inner" / "deep.bmp";
    const auto result = Choose(
        {Key(VK_DOWN), Key(VK_DOWN), [&](CTavScreen* c) { EXPECT_EQ(Folders(c)->GetSelection(), 1); },
         ExpectText(FC::ID_PATH, root / "alpha"), Key(VK_RETURN), Shows(root / "alpha"), Key(VK_DOWN),
         Key(VK_DOWN), Key(VK_RETURN), Shows(root / "alpha" / "inner"), Key(VK_BACK), Shows(root / "alpha"),
         OpenFolder("inner"), Key(VK_TAB), Key(VK_DOWN), ExpectText(FC::ID_PATH, deep), Key(VK_RETURN)},
        root);
    EXPECT_EQ(result, deep);
    EXPECT_EQ(Choose({Key(VK_ESCAPE)}, root), "none");

    // A list scrolled to its end in a large folder starts at the top in the next one.
    const auto scrolled = [](bool down) -> Step {
        return [down](CTavScreen* c) {
            int x = 0, y = 0;
            Files(c)->GetScrollPosition(&x, &y);
            EXPECT_EQ(y > 0, down);
        };
    };
    EXPECT_EQ(Choose({Key(VK_TAB), Key(VK_DOWN), Key(VK_END), scrolled(true), OpenFolder(kDonnees),
                      scrolled(false), Row(FC::ID_FILES, 0, true)},
                     root),
              root / kDonnees / kCafe);

    const auto typed = Choose({TypePath(root / "Beta Folder"), Key(VK_RETURN), Shows(root / "Beta Folder"),
                               TypePath("nowhere.bmp"), Click(FC::ID_OK), Says("No such file"),
                               [&](CTavScreen* c) { EXPECT_EQ(Folder(c), root / "Beta Folder"); },
                               TypePath(std::string("../") + kDonnees + "/" + kCafe), Key(VK_RETURN)},
                              root);
    EXPECT_EQ(typed, root / kDonnees / kCafe);
    // Cancel gives nothing, whatever was selected.
    EXPECT_EQ(Choose({Row(FC::ID_FILES, 0), Click(FC::ID_CANCEL)}, root), "none");
    EXPECT_EQ(Choose({Click(FC::ID_CANCEL)}, root, false), "none");
}

TEST_F(ChooserTest, UnreadableFoldersStayShutWithoutHarm) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root can read a folder without permissions";
    // Opening it from the list or by its typed name keeps the folder shown and says why.
    const Step stays = [&](CTavScreen* c) { EXPECT_EQ(Folder(c), root); };
    EXPECT_EQ(Choose({OpenFolder("locked  (no access)"), Says("Cannot open locked"), stays,
                      TypePath("locked"), Key(VK_RETURN), stays, Click(FC::ID_CANCEL)},
                     root),
              "none");
    // Starting in it shows it empty, with the way out.
    EXPECT_EQ(Choose({Shows(root / "locked", {".."}, 0), [&](CTavScreen* c) { EXPECT_NE(Status(c), ""); },
                      OpenFolder(".."), Shows(root), Click(FC::ID_CANCEL)},
                     root / "locked"),
              "none");
}

TEST_F(ChooserTest, FolderChooserGivesTheSelectedOrShownFolder) {
    EXPECT_EQ(Choose({Row(FC::ID_FOLDERS, 2), Click(FC::ID_OK)}, root, false), root / "Beta Folder");

    // A start folder that does not exist starts at its nearest existing parent.
    EXPECT_EQ(Choose({Shows(root / "alpha"), OpenFolder("inner"), Key(VK_RETURN)},
                     root / "alpha" / "gone" / "deeper", false),
              root / "alpha" / "inner");

    // Relative start folders give full paths.
    EXPECT_EQ(Choose({Click(FC::ID_OK)}, fs::relative(root / "alpha", fs::current_path()), false),
              root / "alpha");
    EXPECT_EQ(Choose({Click(FC::ID_OK)}, "", false), fs::current_path());
}

// Screenshots need the same path on every run: a fixed folder under the temporary folder.
TEST_F(ChooserTest, BitmapAndFolderChoosersLookAsExpected) {
    for (const bool files : {true, false}) {
        const std::string name = files ? "chooser-bitmap.bmp" : "chooser-folder.bmp";
        const fs::path fixed = fs::temp_directory_path() / fs::path(name).stem(); // one per picture
        std::error_code ec;
        fs::remove_all(fixed, ec);
        for (const char* folder : {"buttons", "Old Sketches", kDonnees})
            fs::create_directories(fixed / "Art" / folder);
        for (const char* file :
             {"background.bmp", "logo.bmp", "player one.bmp", kCafe, "tiles.BMP", "notes.txt"})
            test::WriteFile(fixed / "Art" / file, "x");
        Choose({[this, files](CTavScreen* c) { ClickRow(files ? Files(c) : Folders(c), 2); }, pause, pause,
                LooksLike(name), Click(FC::ID_CANCEL)},
               fixed / "Art", files);
        fs::remove_all(fixed, ec);
    }
}

class FontDialogTest : public DialogTest {
protected:
    FontDialogTest() {
        appWidth = 320;
        appHeight = 300;
    }
    // Runs the dialog; gives "1 " and the chosen name when confirmed, else "0".
    std::string Choose(std::vector<Step> steps) {
        auto* dialog = new builder::FontDialog(
            {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif", "Liberation Mono", "Noto Sans", "Ubuntu"});
        std::string result;
        Run<builder::FontDialog>(dialog, std::move(steps), [&](builder::FontDialog& done) {
            result = done.confirmed ? "1 " + done.chosenName : "0";
        });
        return result;
    }
    Step Pick(int row, bool twice = false) { return Row(builder::FontDialog::ID_LIST, row, twice); }
};

TEST(FontFamilies, AreSortedUniqueAndHoldTheDefaultFont) {
    const std::vector<std::string> families = TavGetFontFamilies();
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end(), std::greater_equal<>()), families.end());
    EXPECT_TRUE(families.at(0) != "" && std::count(families.begin(), families.end(), "DejaVu Sans") == 1);
}

TEST_F(FontDialogTest, OkNeedsAChoiceCancelChoosesNothingAndTheDialogLooksAsExpected) {
    EXPECT_EQ(Choose({Click(1), AnswerBox("Select a font first"), Pick(2), Click(1)}), "1 DejaVu Serif");
    EXPECT_EQ(Choose({Pick(4, true)}), "1 Noto Sans");
    EXPECT_EQ(Choose({Layout("font-dialog"), Pick(1), pause, pause, LooksLike("font-dialog.bmp"), Click(2)}),
              "0");
}

} // namespace
} // namespace tav::testing
