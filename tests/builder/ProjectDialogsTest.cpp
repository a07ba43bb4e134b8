// The project, open, save-as, screen-list and screen dialogs driven on the headless display: their
// controls, the rules they apply with their messages in order, their outputs and the model changes.
#include "builder/FormControls.h"
#include "builder/OpenProjectDialog.h"
#include "builder/ProjectDialog.h"
#include "builder/SaveAsDialog.h"
#include "builder/ScreenDialog.h"
#include "builder/ScreenListDialog.h"
#include "model/Project.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::OpenProjectDialog;
using builder::ProjectDialog;
using builder::SaveAsDialog;
using builder::ScreenDialog;
using builder::ScreenListDialog;
namespace fs = std::filesystem;

// One thing done to the innermost waiting screen at an idle moment.
using Step = std::function<void(CTavScreen*)>;

// What a control should be: kind, caption or content, rectangle.
enum class Kind { Button, Label, Edit, Check, List };
struct Expected {
    DWORD id;
    Kind kind;
    std::string text;
    int x, y, width, height;
};

std::string CaptionOf(CTavObject* object) {
    if (auto* button = dynamic_cast<CTavButton*>(object))
        return button->GetCaption();
    if (auto* box = dynamic_cast<CTavCheckBox*>(object))
        return box->GetCaption();
    if (auto* text = dynamic_cast<CTavStatic*>(object))
        return text->GetText();
    if (auto* list = dynamic_cast<CTavListBox*>(object))
        return list->GetColumnName(0);
    return "?";
}

bool IsKind(CTavObject* object, Kind kind) {
    switch (kind) {
    case Kind::Button:
        return dynamic_cast<CTavButton*>(object) != nullptr;
    case Kind::Label:
        return dynamic_cast<CTavStatic*>(object) != nullptr && dynamic_cast<CTavEdit*>(object) == nullptr &&
               object->IsTransparent();
    case Kind::Edit:
        return dynamic_cast<CTavEdit*>(object) != nullptr;
    case Kind::Check:
        return dynamic_cast<CTavCheckBox*>(object) != nullptr && object->IsTransparent();
    case Kind::List:
        return dynamic_cast<CTavListBox*>(object) != nullptr;
    }
    return false;
}

class ProjectDialogsTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app, 600, 500), TAVERROR_OK);
        main = new CTavScreen;
        ASSERT_EQ(main->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(main);
        // The save folder lies under the current directory; the art is found beside the program.
        previousDirectory = fs::current_path();
        fs::current_path(folder.path());
    }
    void TearDown() override {
        fs::current_path(previousDirectory);
        HeadlessAppTest::TearDown();
    }

    // The innermost screen while its modal loop runs (a closed one waits for its loop to end).
    CTavScreen* Waiting() const {
        CTavScreen* inner = main->GetInnermostScreen();
        return inner != main && inner->GetParent()->IsModalRunning() ? inner : nullptr;
    }
    void Script(std::vector<Step> steps) {
        done = 0;
        script = std::move(steps);
        display->SetIdleHandler([this](platform::HeadlessDisplay&) {
            if (done >= script.size())
                return;
            if (CTavScreen* inner = Waiting())
                script[done++](inner);
        });
    }
    // Runs `dialog` over the main screen with the script; `read` sees it before it is removed.
    template <typename Dialog>
    void Run(Dialog* dialog, int x, int y, int width, int height, std::vector<Step> steps,
             const std::function<void(Dialog&)>& read) {
        const size_t count = steps.size();
        Script(std::move(steps));
        ASSERT_TRUE(builder::RunDialog(main, dialog, x, y, width, height));
        EXPECT_EQ(done, count) << "the dialog closed early";
        read(*dialog);
        main->RemoveChildScreen();
    }

    void ClickAt(CTavObject* object, int dx, int dy) {
        display->LClick(static_cast<int>(object->GetAppX()) + dx, static_cast<int>(object->GetAppY()) + dy);
    }
    Step Click(DWORD id) {
        return [this, id](CTavScreen* screen) {
            CTavObject* object = screen->GetObjectByID(id);
            ASSERT_NE(object, nullptr) << "object " << id;
            ASSERT_TRUE(object->IsVisible()) << "object " << id;
            ClickAt(object, object->GetWidth() / 2, object->GetHeight() / 2);
        };
    }
    // Clicks a row (0 = first) of a list box.
    Step ClickRow(DWORD id, int row, bool twice = false) {
        return [this, id, row, twice](CTavScreen* screen) {
            auto* list = dynamic_cast<CTavListBox*>(screen->GetObjectByID(id));
            ASSERT_NE(list, nullptr);
            const int x = static_cast<int>(list->GetAppX()) + 10;
            const int y = static_cast<int>(list->GetAppY()) + list->GetColumnHeight() +
                          row * list->GetItemHeight() + list->GetItemHeight() / 2;
            if (twice)
                display->DoubleClick(x, y);
            else
                display->LClick(x, y);
        };
    }
    Step Set(DWORD id, const std::string& text) {
        return [id, text](CTavScreen* screen) { builder::SetTextOf(screen, id, text); };
    }
    // Expects a message box with `text` and presses its OK.
    Step Message(const std::string& text) {
        return [this, text](CTavScreen* screen) {
            auto* box = dynamic_cast<CTavMessageBox*>(screen);
            ASSERT_TRUE(box != nullptr && dynamic_cast<CTavQuestionBox*>(box) == nullptr)
                << "no message " << text;
            EXPECT_EQ(std::string(box->GetText()), text);
            Click(0)(box);
        };
    }
    Step Answer(const std::string& text, bool yes) {
        return [this, text, yes](CTavScreen* screen) {
            auto* box = dynamic_cast<CTavQuestionBox*>(screen);
            ASSERT_NE(box, nullptr) << "no question " << text;
            EXPECT_EQ(std::string(box->GetText()), text);
            Click(yes ? 0 : 1)(box);
        };
    }
    Step Check(const std::function<void(CTavScreen*)>& check) { return check; }

    static void ExpectControls(CTavScreen* screen, const std::vector<Expected>& rows) {
        EXPECT_EQ(screen->GetObjectCount(), static_cast<int>(rows.size()));
        for (const Expected& row : rows) {
            CTavObject* object = screen->GetObjectByID(row.id);
            ASSERT_NE(object, nullptr) << "id " << row.id;
            EXPECT_TRUE(IsKind(object, row.kind)) << "id " << row.id;
            EXPECT_EQ(CaptionOf(object), row.text) << "id " << row.id;
            EXPECT_EQ(object->GetX(), static_cast<float>(row.x)) << "id " << row.id;
            EXPECT_EQ(object->GetY(), static_cast<float>(row.y)) << "id " << row.id;
            EXPECT_EQ(object->GetWidth(), row.width) << "id " << row.id;
            EXPECT_EQ(object->GetHeight(), row.height) << "id " << row.id;
        }
        EXPECT_EQ(screen->GetBackgroundMode(), TAVBACK_STRETCH);
    }
    static void ExpectDigits(CTavScreen* screen, DWORD id, int limit) {
        auto* edit = dynamic_cast<CTavEdit*>(screen->GetObjectByID(id));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->GetNumbersOnly(), limit > 0 ? TRUE : FALSE) << "id " << id;
        if (limit > 0) {
            EXPECT_EQ(edit->GetMaxLength(), limit) << "id " << id;
        }
    }
    static std::vector<DWORD> Hidden(CTavScreen* screen) {
        std::vector<DWORD> ids;
        for (int i = 0; i < screen->GetObjectCount(); ++i)
            if (!screen->GetObjectAt(i)->IsVisible())
                ids.push_back(screen->GetObjectAt(i)->GetID());
        return ids;
    }
    static std::vector<std::string> Rows(CTavScreen* screen, DWORD id, int column = 0) {
        auto* list = dynamic_cast<CTavListBox*>(screen->GetObjectByID(id));
        std::vector<std::string> rows;
        for (int row = 0; list != nullptr && row < list->GetRowCount(); ++row)
            rows.push_back(list->GetCellText(row, column));
        return rows;
    }
    // Compares the dialog's area of the last frame with a reference picture.
    Step Screenshot(const std::string& name) {
        return [this, name](CTavScreen* screen) {
            const platform::PixelBuffer& frame = display->LastFrame();
            platform::PixelBuffer part;
            ASSERT_TRUE(part.Allocate(screen->GetWidth(), screen->GetHeight()));
            for (int y = 0; y < part.height(); ++y)
                for (int x = 0; x < part.width(); ++x)
                    part.Set(x, y, frame.At(screen->GetAppX() + x, screen->GetAppY() + y));
            const std::string shot = folder / name;
            ASSERT_TRUE(platform::SaveBitmapFile(shot, part));
            test::ExpectLikeReference(shot, std::string(TAV_SOURCE_DIR) + "/tests/builder/reference", name);
        };
    }
    Step TypeInto(DWORD id, const std::string& text) {
        return [this, id, text](CTavScreen* screen) {
            builder::SetTextOf(screen, id, "");
            Click(id)(screen);
            display->Text(text);
        };
    }

    test::TempDir folder;
    fs::path previousDirectory;
    CTavApp app;
    CTavScreen* main = nullptr;
    size_t done = 0;
    std::vector<Step> script;
};

// ---- ProjectDialog ----

TEST_F(ProjectDialogsTest, ProjectDialogShowsTheCallersValuesInItsLayout) {
    auto* dialog = new ProjectDialog;
    EXPECT_EQ(dialog->name, "MyProject");
    EXPECT_EQ(dialog->appMode, AppMode::Window);
    EXPECT_EQ(dialog->bitsPerPixel, 24);
    EXPECT_EQ(dialog->width, 800);
    EXPECT_EQ(dialog->height, 600);
    dialog->name = "Game";
    dialog->x = -12;
    dialog->y = 34;
    dialog->width = 640;
    dialog->height = 480;
    dialog->bitsPerPixel = 16;
    dialog->appMode = AppMode::FullScreen;
    dialog->showFrameRate = 1;
    Run<ProjectDialog>(dialog, 250, 150, 300, 300,
                       {Check([](CTavScreen* screen) {
                            ExpectControls(screen,
                                           {{0, Kind::Button, "OK", 170, 260, 50, 20},
                                            {1, Kind::Button, "Cancel", 230, 260, 50, 20},
                                            {2, Kind::Label, "Project Name: ", 21, 21, 100, 18},
                                            {3, Kind::Edit, "Game", 130, 21, 150, 18},
                                            {4, Kind::Label, "App Mode: ", 21, 50, 70, 18},
                                            {5, Kind::Check, "Full Screen", 100, 50, 90, 18},
                                            {6, Kind::Check, "Window", 205, 50, 80, 18},
                                            {7, Kind::Label, "X:", 21, 75, 20, 18},
                                            {8, Kind::Edit, "-12", 45, 75, 35, 18},
                                            {9, Kind::Label, "Y:", 90, 75, 20, 18},
                                            {10, Kind::Edit, "34", 115, 75, 35, 18},
                                            {11, Kind::Label, "BPP:", 170, 75, 40, 18},
                                            {12, Kind::Edit, "16", 220, 75, 30, 18},
                                            {13, Kind::Label, "Width: ", 55, 105, 50, 18},
                                            {14, Kind::Edit, "640", 115, 105, 35, 18},
                                            {15, Kind::Label, "Height:", 170, 105, 80, 18},
                                            {16, Kind::Edit, "480", 220, 105, 35, 18},
                                            {17, Kind::Check, "Show Frame Rate", 21, 140, 200, 18},
                                            {18, Kind::Check, "Wait Vertical Blank", 21, 170, 200, 18}});
                            ExpectDigits(screen, 3, 0);
                            ExpectDigits(screen, 8, 4);
                            ExpectDigits(screen, 10, 4);
                            ExpectDigits(screen, 12, 3);
                            ExpectDigits(screen, 14, 4);
                            ExpectDigits(screen, 16, 4);
                            EXPECT_TRUE(builder::ValueOf(screen, 5));
                            EXPECT_FALSE(builder::ValueOf(screen, 6));
                            EXPECT_TRUE(builder::ValueOf(screen, 17));
                            EXPECT_FALSE(builder::ValueOf(screen, 18));
                            EXPECT_EQ(Hidden(screen), (std::vector<DWORD>{7, 8, 9, 10}));
                        }),
                        Screenshot("ProjectDialogFullScreen.bmp"),
                        // Clicking a checked "Full Screen" gives a window: position shown, depth hidden.
                        Click(5), Check([](CTavScreen* screen) {
                            EXPECT_FALSE(builder::ValueOf(screen, 5));
                            EXPECT_TRUE(builder::ValueOf(screen, 6));
                            EXPECT_EQ(Hidden(screen), (std::vector<DWORD>{11, 12}));
                        }),
                        Click(6), Check([](CTavScreen* screen) {
                            EXPECT_TRUE(builder::ValueOf(screen, 5));
                            EXPECT_FALSE(builder::ValueOf(screen, 6));
                            EXPECT_EQ(Hidden(screen), (std::vector<DWORD>{7, 8, 9, 10}));
                        }),
                        Click(0)},
                       [](ProjectDialog& done) {
                           // An unchanged OK keeps every value, the negative position included.
                           EXPECT_EQ(done.confirmed, 1);
                           EXPECT_EQ(done.name, "Game");
                           EXPECT_EQ(done.x, -12);
                           EXPECT_EQ(done.y, 34);
                           EXPECT_EQ(done.width, 640);
                           EXPECT_EQ(done.height, 480);
                           EXPECT_EQ(done.bitsPerPixel, 16);
                           EXPECT_EQ(done.appMode, AppMode::FullScreen);
                           EXPECT_EQ(done.showFrameRate, 1);
                           EXPECT_EQ(done.waitVerticalBlank, 0);
                       });
}

TEST_F(ProjectDialogsTest, ProjectDialogAppliesItsRulesInOrder) {
    auto* dialog = new ProjectDialog;
    auto focused = [](DWORD id) {
        return
            [id](CTavScreen* screen) { EXPECT_TRUE(screen->GetObjectByID(id)->HasFocus()) << "id " << id; };
    };
    Run<ProjectDialog>(
        dialog, 250, 150, 300, 300,
        {Check([](CTavScreen* screen) {
             EXPECT_TRUE(builder::ValueOf(screen, 6)); // a window by default
             EXPECT_EQ(Hidden(screen), (std::vector<DWORD>{11, 12}));
         }),
         Set(3, ""), Set(14, ""), Set(16, ""), Click(0), Message("Please enter a name for you project"),
         Set(3, "My Game"), Click(0), Message("Project name cannot contain spaces"), Set(3, "MyGame"),
         Click(0), Message("Please enter height"), Check(focused(16)), Set(16, "0"), Click(0),
         Message("Please enter width"), Check(focused(14)), Set(14, "0"), Click(0),
         Message("Please enter height"), Check(focused(16)), Set(16, "300"), Click(0),
         Message("Please enter width"), Check(focused(14)),
         // Typing: digits only, up to the field's length.
         TypeInto(14, "1a-2x345"), TypeInto(8, "77"), Click(17), Click(6), TypeInto(12, "3265"), Click(0)},
        [](ProjectDialog& done) {
            EXPECT_EQ(done.confirmed, 1);
            EXPECT_EQ(done.name, "MyGame");
            EXPECT_EQ(done.width, 1234);
            EXPECT_EQ(done.height, 300);
            EXPECT_EQ(done.bitsPerPixel, 326);
            EXPECT_EQ(done.x, 77);
            EXPECT_EQ(done.appMode, AppMode::FullScreen);
            EXPECT_EQ(done.showFrameRate, 1);
        });

    auto* cancelled = new ProjectDialog;
    Run<ProjectDialog>(cancelled, 250, 150, 300, 300, {Set(3, "Other"), Click(1)}, [](ProjectDialog& done) {
        EXPECT_EQ(done.confirmed, 0);
        EXPECT_EQ(done.name, "MyProject");
    });
}

// ---- OpenProjectDialog ----

class OpenAndSaveTest : public ProjectDialogsTest {
protected:
    void MakeSaveFolder() {
        fs::create_directory("save");
        for (const char* name : {"b.tvp", "a.tvp", "c.txt", "d.tvp.bak", "B.TVP"})
            test::WriteFile(std::string("save/") + name, "x");
        fs::create_directory("save/folder.tvp");
    }
    std::string SavePath(const std::string& name) const {
        return (fs::current_path() / "save" / name).string();
    }
};

TEST_F(OpenAndSaveTest, OpenListsTheProjectFilesAndNeedsASelection) {
    MakeSaveFolder();
    Run<OpenProjectDialog>(
        new OpenProjectDialog, 250, 150, 300, 300,
        {Check([](CTavScreen* screen) {
             ExpectControls(screen, {{0, Kind::Label, "List of current projects:", 21, 21, 258, 18},
                                     {1, Kind::List, "File Name", 20, 50, 260, 200},
                                     {2, Kind::Button, "OK", 170, 260, 50, 20},
                                     {3, Kind::Button, "Cancel", 225, 260, 50, 20}});
             EXPECT_EQ(Rows(screen, 1), (std::vector<std::string>{"a.tvp", "b.tvp"}));
         }),
         Screenshot("OpenProjectDialog.bmp"), Click(2), Message("Please select a file first"), ClickRow(1, 1),
         Click(2)},
        [this](OpenProjectDialog& done) {
            EXPECT_EQ(done.confirmed, 1);
            EXPECT_EQ(done.resultPath, SavePath("b.tvp"));
        });
    Run<OpenProjectDialog>(new OpenProjectDialog, 250, 150, 300, 300, {ClickRow(1, 0, true)},
                           [this](OpenProjectDialog& done) {
                               EXPECT_EQ(done.confirmed, 1);
                               EXPECT_EQ(done.resultPath, SavePath("a.tvp"));
                           });
    Run<OpenProjectDialog>(new OpenProjectDialog, 250, 150, 300, 300, {ClickRow(1, 0), Click(3)},
                           [](OpenProjectDialog& done) { EXPECT_EQ(done.confirmed, 0); });
}

TEST_F(OpenAndSaveTest, WithoutASaveFolderTheListsAreEmpty) {
    Run<OpenProjectDialog>(new OpenProjectDialog, 250, 150, 300, 300,
                           {Check([](CTavScreen* screen) { EXPECT_TRUE(Rows(screen, 1).empty()); }), Click(2),
                            Message("Please select a file first"), Click(3)},
                           [](OpenProjectDialog& done) { EXPECT_EQ(done.confirmed, 0); });
    Run<SaveAsDialog>(new SaveAsDialog, 250, 150, 300, 300,
                      {Check([](CTavScreen* screen) { EXPECT_TRUE(Rows(screen, 1).empty()); }), Click(3)},
                      [](SaveAsDialog& done) { EXPECT_EQ(done.confirmed, 0); });
    EXPECT_FALSE(fs::exists("save")) << "opening or cancelling makes no folder";
}

// ---- SaveAsDialog ----

TEST_F(OpenAndSaveTest, SaveAsCompletesTheNameAndAsksBeforeOverwriting) {
    MakeSaveFolder();
    Run<SaveAsDialog>(
        new SaveAsDialog, 250, 150, 300, 300,
        {Check([](CTavScreen* screen) {
             ExpectControls(screen, {{0, Kind::Label, "List of current projects", 30, 20, 300, 18},
                                     {1, Kind::List, "File Name", 30, 40, 240, 180},
                                     {2, Kind::Button, "OK", 170, 260, 50, 20},
                                     {3, Kind::Button, "Cancel", 225, 260, 50, 20},
                                     {4, Kind::Label, "File Name:", 21, 230, 65, 20},
                                     {5, Kind::Edit, "", 90, 230, 180, 20}});
             ExpectDigits(screen, 5, 0);
             EXPECT_EQ(Rows(screen, 1), (std::vector<std::string>{"a.tvp", "b.tvp"}));
         }),
         ClickRow(1, 0), Check([](CTavScreen* screen) { EXPECT_EQ(builder::TextOf(screen, 5), "a.tvp"); }),
         Screenshot("SaveAsDialog.bmp"), Set(5, ""), Click(2), Message("Please enter a filename first"),
         // "b" matches a listed file only once ".tvp" is appended.
         Set(5, "b"), Click(2), Answer("Are you sure you want to overwrite b.tvp", false),
         Check([](CTavScreen* screen) { EXPECT_EQ(builder::TextOf(screen, 5), "b.tvp"); }), Click(2),
         Answer("Are you sure you want to overwrite b.tvp", true)},
        [this](SaveAsDialog& done) {
            EXPECT_EQ(done.confirmed, 1);
            EXPECT_EQ(done.resultPath, SavePath("b.tvp"));
        });
    // A double click takes the row's name and acts as OK.
    Run<SaveAsDialog>(new SaveAsDialog, 250, 150, 300, 300,
                      {ClickRow(1, 0, true), Answer("Are you sure you want to overwrite a.tvp", true)},
                      [this](SaveAsDialog& done) { EXPECT_EQ(done.resultPath, SavePath("a.tvp")); });
    // Names are compared exactly and only a name longer than ".tvp" keeps its own ending.
    const struct {
        const char* typed;
        const char* completed;
    } names[] = {{"B.TVP", "B.TVP.tvp"}, {"new.tvp", "new.tvp"}, {"tvp", "tvp.tvp"}, {".tvp", ".tvp"}};
    for (const auto& name : names)
        Run<SaveAsDialog>(new SaveAsDialog, 250, 150, 300, 300, {Set(5, name.typed), Click(2)},
                          [&](SaveAsDialog& done) {
                              EXPECT_EQ(done.confirmed, 1) << name.typed;
                              EXPECT_EQ(builder::TextOf(&done, 5), name.completed);
                              EXPECT_EQ(done.resultPath, SavePath(name.completed));
                          });
    Run<SaveAsDialog>(new SaveAsDialog, 250, 150, 300, 300, {Set(5, "x"), Click(3)},
                      [](SaveAsDialog& done) { EXPECT_EQ(done.confirmed, 0); });
}

TEST_F(OpenAndSaveTest, SaveAsMakesTheMissingSaveFolder) {
    Run<SaveAsDialog>(new SaveAsDialog, 250, 150, 300, 300, {Set(5, "first"), Click(2)},
                      [this](SaveAsDialog& done) {
                          EXPECT_EQ(done.confirmed, 1);
                          EXPECT_EQ(done.resultPath, SavePath("first.tvp"));
                      });
    EXPECT_TRUE(fs::is_directory("save"));
    EXPECT_TRUE(display->MessagesShown().empty());

    // A file in the folder's place: the dialog says so and stays open.
    fs::remove("save");
    test::WriteFile("save", "not a folder");
    Run<SaveAsDialog>(new SaveAsDialog, 250, 150, 300, 300,
                      {Set(5, "first"), Click(2),
                       Message("Could not create the folder " + (fs::current_path() / "save").string()),
                       Click(3)},
                      [](SaveAsDialog& done) { EXPECT_EQ(done.confirmed, 0); });
}

// ---- ScreenListDialog ----

class ScreenDialogsTest : public ProjectDialogsTest {
protected:
    void SetUp() override {
        ProjectDialogsTest::SetUp();
        project.name = "Proj";
        project.AddScreen(test::MakeScreen("Main"));
        project.Screen(0).startup = 1;
        project.AddScreen(test::MakeScreen("Pop", ScreenType::Popup, "Main"));
        project.AddScreen(test::MakeScreen("Side", ScreenType::SubScreen, "Main"));
        project.AddScreen(test::MakeScreen("Odd", static_cast<ScreenType>(7), "Main"));
        project.AddScreen(test::MakeScreen("Menu"));
        project.modified = 0;
    }
    Project project;
};

TEST_F(ScreenDialogsTest, ScreenListFiltersByTypeAndNeedsASelection) {
    const struct {
        int filter;
        std::vector<std::string> names;
        std::vector<std::string> types;
    } rows[] = {
        {0,
         {"Main", "Pop", "Side", "Odd", "Menu"},
         {"Full Screen", "Popup", "Sub Screen", "Sub Screen", "Full Screen"}},
        {1, {"Main", "Menu"}, {"Full Screen", "Full Screen"}},
        {2, {"Pop"}, {"Popup"}},
        {3, {"Side", "Odd"}, {"Sub Screen", "Sub Screen"}},
    };
    for (const auto& row : rows) {
        auto* dialog = new ScreenListDialog;
        EXPECT_EQ(dialog->typeFilter, 0);
        dialog->project = &project;
        dialog->typeFilter = row.filter;
        Run<ScreenListDialog>(dialog, 50, 50, 300, 300,
                              {Check([&](CTavScreen* screen) {
                                   EXPECT_EQ(Rows(screen, 0, 0), row.names) << row.filter;
                                   EXPECT_EQ(Rows(screen, 0, 1), row.types) << row.filter;
                               }),
                               Click(2)},
                              [](ScreenListDialog& done) { EXPECT_EQ(done.confirmed, 0); });
    }

    auto* dialog = new ScreenListDialog;
    dialog->project = &project;
    Run<ScreenListDialog>(dialog, 250, 150, 300, 300,
                          {Check([](CTavScreen* screen) {
                               ExpectControls(screen, {{0, Kind::List, "Name", 20, 20, 260, 220},
                                                       {1, Kind::Button, "Select", 160, 250, 50, 20},
                                                       {2, Kind::Button, "Cancel", 220, 250, 50, 20}});
                               auto* list = static_cast<CTavListBox*>(screen->GetObjectByID(0));
                               EXPECT_EQ(list->GetColumnName(1), "Type");
                               EXPECT_EQ(list->GetColumnWidth(0), 130);
                               EXPECT_EQ(list->GetColumnWidth(1), 130);
                           }),
                           Screenshot("ScreenListDialog.bmp"), Click(1),
                           Message("Select an item from the list first"), ClickRow(0, 2), Click(1)},
                          [](ScreenListDialog& done) {
                              EXPECT_EQ(done.confirmed, 1);
                              EXPECT_EQ(done.chosenName, "Side");
                          });
    dialog = new ScreenListDialog;
    dialog->project = &project;
    Run<ScreenListDialog>(dialog, 50, 50, 200, 200, {ClickRow(0, 1, true)}, [](ScreenListDialog& done) {
        EXPECT_EQ(done.confirmed, 1);
        EXPECT_EQ(done.chosenName, "Pop");
    });
    EXPECT_EQ(project.modified, 0);
}

// ---- ScreenDialog ----

TEST_F(ScreenDialogsTest, NewScreenLayoutAndCheckBoxRules) {
    Project empty;
    auto* dialog = new ScreenDialog;
    dialog->project = &empty;
    const std::vector<DWORD> fullScreenHidden = {4, 5, 6, 11, 12, 13, 14, 15, 16, 17, 18};
    Run<ScreenDialog>(
        dialog, 220, 120, 360, 360,
        {Check([&](CTavScreen* screen) {
             ExpectControls(screen, {{0, Kind::Button, "OK", 230, 315, 50, 20},
                                     {1, Kind::Button, "Cancel", 285, 315, 50, 20},
                                     {2, Kind::Label, "Name:", 25, 25, 50, 20},
                                     {3, Kind::Edit, "MyScreen", 80, 25, 200, 20},
                                     {4, Kind::Label, "Parent Screen:", 50, 60, 100, 20},
                                     {5, Kind::Label, "", 160, 60, 70, 20},
                                     {6, Kind::Button, "Select", 240, 60, 50, 20},
                                     {7, Kind::Label, "Type:", 25, 100, 40, 20},
                                     {8, Kind::Check, "Full Screen", 75, 100, 90, 16},
                                     {9, Kind::Check, "Popup", 170, 100, 60, 16},
                                     {10, Kind::Check, "Sub Screen", 245, 100, 100, 16},
                                     {11, Kind::Label, "X Pos:", 21, 130, 40, 20},
                                     {12, Kind::Edit, "0", 70, 130, 50, 20},
                                     {13, Kind::Label, "Y Pos:", 140, 130, 50, 20},
                                     {14, Kind::Edit, "0", 200, 130, 50, 20},
                                     {15, Kind::Label, "Width:", 21, 160, 40, 20},
                                     {16, Kind::Edit, "100", 70, 160, 50, 20},
                                     {17, Kind::Label, "Height:", 140, 160, 50, 20},
                                     {18, Kind::Edit, "100", 200, 160, 50, 20},
                                     {19, Kind::Check, "Set as startup screen", 25, 193, 170, 17},
                                     {20, Kind::Label, "Background Image:", 25, 225, 130, 20},
                                     {21, Kind::Edit, "", 160, 225, 140, 20},
                                     {22, Kind::Button, "Browse", 310, 225, 50, 20},
                                     {23, Kind::Check, "Center", 25, 255, 70, 16},
                                     {24, Kind::Check, "Stretch", 110, 255, 80, 16},
                                     {25, Kind::Check, "Tile", 210, 255, 60, 16}});
             for (DWORD id : {12, 14, 16, 18})
                 ExpectDigits(screen, id, 4);
             ExpectDigits(screen, 3, 0);
             ExpectDigits(screen, 21, 0);
             auto* startup = static_cast<CTavCheckBox*>(screen->GetObjectByID(19));
             EXPECT_TRUE(startup->GetValue()) << "the first startup screen";
             EXPECT_TRUE(builder::ValueOf(screen, 8) && builder::ValueOf(screen, 23));
             EXPECT_EQ(Hidden(screen), fullScreenHidden);
         }),
         Screenshot("ScreenDialogNew.bmp"),
         // Unchecking "Full Screen" falls back to a popup with parent, position and size.
         Click(8), Check([](CTavScreen* screen) {
             EXPECT_TRUE(!builder::ValueOf(screen, 8) && builder::ValueOf(screen, 9) &&
                         !builder::ValueOf(screen, 10));
             EXPECT_EQ(Hidden(screen), (std::vector<DWORD>{19}));
         }),
         Click(10), Check([](CTavScreen* screen) {
             EXPECT_TRUE(!builder::ValueOf(screen, 8) && !builder::ValueOf(screen, 9) &&
                         builder::ValueOf(screen, 10));
         }),
         Click(10), Check([&](CTavScreen* screen) {
             EXPECT_TRUE(builder::ValueOf(screen, 8) && !builder::ValueOf(screen, 9) &&
                         !builder::ValueOf(screen, 10));
             EXPECT_EQ(Hidden(screen), fullScreenHidden);
         }),
         Click(9), Click(9), Check([](CTavScreen* screen) {
             EXPECT_TRUE(builder::ValueOf(screen, 8) && !builder::ValueOf(screen, 9));
         }),
         // Background modes: unchecking "Center" checks "Stretch", unchecking another checks "Center".
         Click(23), Check([](CTavScreen* screen) {
             EXPECT_TRUE(!builder::ValueOf(screen, 23) && builder::ValueOf(screen, 24) &&
                         !builder::ValueOf(screen, 25));
         }),
         Click(25), Check([](CTavScreen* screen) {
             EXPECT_TRUE(!builder::ValueOf(screen, 23) && !builder::ValueOf(screen, 24) &&
                         builder::ValueOf(screen, 25));
         }),
         Click(25), Check([](CTavScreen* screen) {
             EXPECT_TRUE(builder::ValueOf(screen, 23) && !builder::ValueOf(screen, 24) &&
                         !builder::ValueOf(screen, 25));
         }),
         Click(24), Set(3, "Title"), Set(21, "art/x.bmp"), Click(0)},
        [](ScreenDialog& done) { EXPECT_EQ(done.confirmed, 1); });
    ASSERT_EQ(empty.ScreenCount(), 1);
    const ScreenDef& added = empty.Screen(0);
    EXPECT_EQ(added.name, "Title");
    EXPECT_EQ(added.startup, 1);
    EXPECT_EQ(added.type, ScreenType::FullScreen);
    EXPECT_EQ(added.backgroundMode, BackgroundMode::Stretch);
    EXPECT_EQ(added.background, "art/x.bmp");
    EXPECT_EQ(empty.modified, 1);
}

TEST_F(ScreenDialogsTest, NewScreenRulesInOrderAndParentSelection) {
    project.AddObject(test::MakeObject(ObjectKind::Button, "MyScreen", "Keep"));
    project.Screen(4).startup = 0;
    auto* dialog = new ScreenDialog;
    dialog->project = &project;
    Run<ScreenDialog>(dialog, 220, 120, 360, 360,
                      {Check([](CTavScreen* screen) {
                           EXPECT_FALSE(builder::ValueOf(screen, 19)) << "Main is the startup screen";
                       }),
                       Set(3, "Proj"), Click(0), Message("Screen name cannot be the same as project name"),
                       Set(3, ""), Click(0), Message("Screen name cannot be blank"), Set(3, "A B"), Click(0),
                       Message("Screen name cannot contain spaces"), Set(3, "Menu"), Click(0),
                       Message("Screen with this name already exists"), Set(3, "Second"), Click(19), Click(0),
                       Message("You cannot have more than one startup screen"), Click(19), Click(9), Click(0),
                       Message("Popup screens and sub screens must have a parent"), Set(5, "Nowhere"),
                       Click(0), Message("Invalid parent screen"),
                       // The parent comes from the screen list; 700 + 200 passes the project's 800 pixels.
                       Click(6), Check([](CTavScreen* list) {
                           EXPECT_NE(dynamic_cast<ScreenListDialog*>(list), nullptr);
                           EXPECT_EQ(list->GetX(), 50);
                           EXPECT_EQ(list->GetY(), 50);
                           EXPECT_EQ(list->GetWidth(), 200);
                           EXPECT_EQ(list->GetHeight(), 200);
                       }),
                       ClickRow(0, 0), Click(1),
                       Check([](CTavScreen* screen) { EXPECT_EQ(builder::TextOf(screen, 5), "Main"); }),
                       Set(12, "700"), Set(16, "200"), Click(0),
                       Message("Screen dimensions can't be greater than parent screen's"), Set(12, "600"),
                       Click(0)},
                      [](ScreenDialog& done) { EXPECT_EQ(done.confirmed, 1); });
    ASSERT_EQ(project.ScreenCount(), 6);
    const ScreenDef& added = project.Screen(5);
    EXPECT_EQ(added.name, "Second");
    EXPECT_EQ(added.type, ScreenType::Popup);
    EXPECT_EQ(added.parent, "Main");
    EXPECT_EQ(added.x, 600);
    EXPECT_EQ(added.width, 200);
    EXPECT_EQ(project.Object(0).screenName, "MyScreen") << "a new screen takes no objects";

    auto* cancelled = new ScreenDialog;
    cancelled->project = &project;
    Run<ScreenDialog>(cancelled, 220, 120, 360, 360, {Set(3, "Third"), Click(1)},
                      [](ScreenDialog& done) { EXPECT_EQ(done.confirmed, 0); });
    EXPECT_EQ(project.ScreenCount(), 6);
}

TEST_F(ScreenDialogsTest, EditingAScreenRenamesItsObjectsAndMarksOnlyRealChanges) {
    project.AddObject(test::MakeObject(ObjectKind::Button, "Side", "Go"));
    ScreenDef& side = project.Screen(2);
    side.x = -5;
    side.y = 3;
    side.width = 50;
    side.height = 40;
    side.backgroundMode = BackgroundMode::Tile;
    project.modified = 0;
    const ScreenDef before = side;

    auto* unchanged = new ScreenDialog;
    unchanged->project = &project;
    unchanged->editIndex = 2;
    Run<ScreenDialog>(unchanged, 220, 120, 360, 360,
                      {Check([](CTavScreen* screen) {
                           EXPECT_EQ(builder::TextOf(screen, 5), "Main");
                           EXPECT_EQ(builder::TextOf(screen, 12), "-5");
                           EXPECT_TRUE(builder::ValueOf(screen, 10) && builder::ValueOf(screen, 25));
                           EXPECT_EQ(Hidden(screen), (std::vector<DWORD>{19}));
                       }),
                       Screenshot("ScreenDialogEdit.bmp"), Click(0)},
                      [](ScreenDialog& done) { EXPECT_EQ(done.confirmed, 1); });
    EXPECT_EQ(project.Screen(2), before) << "a negative position survives";
    EXPECT_EQ(project.modified, 0);

    auto* clash = new ScreenDialog;
    clash->project = &project;
    clash->editIndex = 2;
    Run<ScreenDialog>(clash, 220, 120, 360, 360,
                      {Set(3, "Pop"), Click(0), Message("Screen with this name already exists"), Click(1)},
                      [](ScreenDialog& done) { EXPECT_EQ(done.confirmed, 0); });
    EXPECT_EQ(project.Screen(2), before);

    auto* renamed = new ScreenDialog;
    renamed->project = &project;
    renamed->editIndex = 2;
    Run<ScreenDialog>(renamed, 220, 120, 360, 360, {Set(3, "Panel"), Click(0)},
                      [](ScreenDialog& done) { EXPECT_EQ(done.confirmed, 1); });
    EXPECT_EQ(project.Screen(2).name, "Panel");
    EXPECT_EQ(project.Object(0).screenName, "Panel");
    EXPECT_EQ(project.modified, 1);

    // The startup screen itself keeps its flag; a changed size alone marks the project.
    project.modified = 0;
    auto* resized = new ScreenDialog;
    resized->project = &project;
    resized->editIndex = 0;
    Run<ScreenDialog>(resized, 220, 120, 360, 360,
                      {Check([](CTavScreen* screen) { EXPECT_TRUE(builder::ValueOf(screen, 19)); }), Click(8),
                       Set(16, "640"), Click(9), Click(0)},
                      [](ScreenDialog& done) { EXPECT_EQ(done.confirmed, 1); });
    EXPECT_EQ(project.Screen(0).width, 640);
    EXPECT_EQ(project.Screen(0).startup, 1);
    EXPECT_EQ(project.modified, 1);

    // Made a popup, the startup screen stops being one, as the project file would have it.
    project.Screen(0).startup = 0;
    project.Screen(4).startup = 1;
    project.Screen(4).parent = "Main";
    auto* retyped = new ScreenDialog;
    retyped->project = &project;
    retyped->editIndex = 4;
    Run<ScreenDialog>(retyped, 220, 120, 360, 360, {Click(9), Click(0)},
                      [](ScreenDialog& done) { EXPECT_EQ(done.confirmed, 1); });
    ASSERT_EQ(project.Screen(4).type, ScreenType::Popup);
    EXPECT_EQ(project.Screen(4).startup, 0);
}

} // namespace
} // namespace tav::testing
