#include "builder/ObjectDialog.h"
#include "model/Project.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::ObjectDialog;

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/builder/reference";

// Every field set to a value of its own, negative numbers included, so that a swapped or dropped
// field shows up.
ObjectDef RichObject(ObjectKind kind) {
    ObjectDef object;
    object.designId = 77;
    object.name = "Thing";
    object.kind = kind;
    object.x = -12;
    object.y = 34;
    object.width = 120;
    object.height = -8;
    object.image = "img.bmp";
    object.checkValue = 1;
    object.screenName = "Main";
    object.caption = "Hello there";
    object.reservedText = "";
    object.upBitmap = "up.bmp";
    object.overBitmap = "over.bmp";
    object.downBitmap = "down.bmp";
    object.checkedBitmap = "checked.bmp";
    object.uncheckedBitmap = "unchecked.bmp";
    object.listBackground = "listbg.bmp";
    object.multiline = 1;
    object.treeBackground = "treebg.bmp";
    object.interval = 12345;
    object.frames = {"f1.bmp", "f2.bmp"};
    object.transparent = 1;
    object.transparentColor = {1, 2, 3};
    object.textColor = {4, -5, 6};
    object.backColor = {7, 8, 9};
    object.fontName = "Font A";
    object.fontSize = 17;
    object.bold = 1;
    object.columnFontName = "Font B";
    object.columnFontSize = 19;
    object.columnBold = 1;
    object.columnTextColor = {10, 11, 12};
    object.selectedColor = {13, 14, 15};
    object.lineColor = {16, 17, 18};
    object.columnHeight = 21;
    object.itemHeight = 22;
    object.columnBackColor = {23, 24, 25};
    object.plusBitmap = "plus.bmp";
    object.minusBitmap = "minus.bmp";
    object.tabSpace = 26;
    object.textOffsetX = -3;
    object.textOffsetY = 27;
    object.clickScreen = "Other";
    object.reservedNumber = 0;
    return object;
}

class ObjectDialogTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app, 800, 600), TAVERROR_OK);
        main = new CTavScreen;
        ASSERT_EQ(main->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(main);
        project.AddScreen(test::MakeScreen("Main"));
        project.AddScreen(test::MakeScreen("Other"));
    }
    void TearDown() override {
        if (display != nullptr)
            display->SetIdleHandler(nullptr);
        HeadlessAppTest::TearDown();
    }

    int AddExisting(const ObjectDef& object) {
        project.AddObject(std::make_unique<ObjectDef>(object));
        project.modified = 0;
        return project.ObjectCount() - 1;
    }

    // Opens the dialog as the designer's commands do and plays `steps` one after another whenever
    // the dialog waits for input; message boxes are recorded and closed with OK.
    using Step = std::function<void(ObjectDialog&)>;
    int Open(ObjectKind kind, int index, std::vector<Step> steps, int presetX = -1, int presetY = -1) {
        auto* dialog = new ObjectDialog;
        dialog->screenName = "Main";
        dialog->kind = kind;
        dialog->project = &project;
        dialog->editedIndex = index;
        dialog->presetX = presetX;
        dialog->presetY = presetY;
        EXPECT_EQ(dialog->Initialize(0, 200, 60, 400, 480, TAVSCREEN_POPUP, main), TAVERROR_OK);
        std::size_t next = 0;
        display->SetIdleHandler([&, dialog](platform::HeadlessDisplay&) {
            if (!main->IsModalRunning())
                return;
            CTavScreen* inner = main->GetInnermostScreen();
            if (auto* box = dynamic_cast<CTavMessageBox*>(inner)) {
                if (!box->GetParent()->IsModalRunning())
                    return; // closing: its input has been given
                messages.push_back(box->GetText());
                Click(box, 0);
            } else if (inner->GetParent()->IsModalRunning() && next < steps.size()) {
                // the dialog, or a chooser that it opened
                steps[next++](*dialog);
            }
        });
        main->SetChildScreen(dialog);
        display->SetIdleHandler(nullptr);
        EXPECT_EQ(next, steps.size()) << "the dialog closed before every step ran";
        const int confirmed = dialog->confirmed;
        main->RemoveChildScreen();
        return confirmed;
    }

    void Click(CTavScreen* screen, DWORD id) {
        CTavObject* control = screen->GetObjectByID(id);
        ASSERT_NE(control, nullptr) << "no control " << id;
        display->LClick(static_cast<int>(control->GetAppX()) + 4, static_cast<int>(control->GetAppY()) + 4);
    }
    static std::string TextOf(ObjectDialog& dialog, DWORD id) {
        auto* text = dynamic_cast<CTavStatic*>(dialog.GetObjectByID(id));
        return text != nullptr ? text->GetText() : "(none)";
    }
    static void SetText(ObjectDialog& dialog, DWORD id, const char* text) {
        static_cast<CTavEdit*>(dialog.GetObjectByID(id))->SetText(text);
    }
    Step Press(DWORD id) {
        return [this, id](ObjectDialog& dialog) { Click(&dialog, id); };
    }

    CTavApp app;
    CTavScreen* main = nullptr;
    Project project;
    std::vector<std::string> messages;
};

const ObjectKind kAllKinds[] = {ObjectKind::Button,    ObjectKind::Static,  ObjectKind::Edit,
                                ObjectKind::CheckBox,  ObjectKind::ListBox, ObjectKind::Tree,
                                ObjectKind::Animation, ObjectKind::Object};

TEST_F(ObjectDialogTest, OkOnAnUnchangedDialogStoresExactlyItsValues) {
    for (ObjectKind kind : kAllKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        ObjectDef object = RichObject(kind);
        if (kind == ObjectKind::Object)
            object.transparent = 0; // its colour fields hidden
        const int index = AddExisting(object);
        EXPECT_EQ(Open(kind, index, {Press(1)}), 1);
        EXPECT_EQ(project.Object(index), object);
        EXPECT_EQ(project.modified, 1);
        EXPECT_TRUE(messages.empty()) << messages.front();
        project.DeleteObject(index);
    }
}

TEST_F(ObjectDialogTest, FieldsLieInTheirPlaces) {
    struct Shown {
        ObjectKind kind;
        std::vector<std::pair<DWORD, std::string>> texts;
    };
    const Shown table[] = {
        {ObjectKind::Button,
         {{12, "up.bmp"}, {15, "over.bmp"}, {18, "down.bmp"}, {23, "Font A"}, {32, "-5"}}},
        {ObjectKind::CheckBox,
         {{15, "unchecked.bmp"}, {18, "checked.bmp"}, {23, "7"}, {29, "Font A"}, {38, "-5"}}},
        {ObjectKind::Edit, {{12, "Hello there"}, {42, "img.bmp"}, {46, "-3"}, {48, "27"}}},
        {ObjectKind::ListBox,
         {{29, "Font A"},
          {42, "Font B"},
          {32, "17"},
          {45, "19"},
          {49, "10"},
          {56, "13"},
          {63, "16"},
          {74, "23"},
          {69, "21"},
          {71, "22"}}},
        {ObjectKind::Tree, {{21, "Font A"}, {24, "17"}, {35, "7"}, {42, "13"}, {48, "22"}, {50, "26"}}},
        {ObjectKind::Animation, {{12, "12345"}, {21, "1"}, {25, "3"}}},
        {ObjectKind::Object, {{12, "img.bmp"}, {16, "1"}, {20, "3"}}},
    };
    for (const Shown& shown : table) {
        SCOPED_TRACE(static_cast<int>(shown.kind));
        const int index = AddExisting(RichObject(shown.kind));
        std::vector<std::pair<DWORD, std::string>> seen;
        auto read = [&](ObjectDialog& d) {
            for (const auto& [id, text] : shown.texts)
                seen.emplace_back(id, TextOf(d, id));
        };
        EXPECT_EQ(Open(shown.kind, index, {read, Press(2)}), 0);
        EXPECT_EQ(seen, shown.texts);
        project.DeleteObject(index);
    }
}

TEST_F(ObjectDialogTest, OkOnAnUnchangedNewDialogAddsTheKindsDefaults) {
    for (ObjectKind kind : kAllKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        ObjectDef expected;
        expected.screenName = "Main";
        expected.SetKind(kind, project, "Main");
        std::vector<Step> steps = {Press(1)};
        if (kind == ObjectKind::Animation) // an animation needs a frame
            steps = {[](ObjectDialog& d) { SetText(d, 14, "f.bmp"); }, Press(16), Press(1)};
        EXPECT_EQ(Open(kind, -1, steps), 1);
        ASSERT_EQ(project.ObjectCount(), 1);
        if (kind == ObjectKind::Animation)
            expected.frames = {"f.bmp"};
        EXPECT_EQ(project.Object(0), expected);
        project.DeleteObject(0);
    }
}

TEST_F(ObjectDialogTest, CancelLeavesTheProjectAsItWas) {
    const int index = AddExisting(RichObject(ObjectKind::Button));
    const ObjectDef before = project.Object(index);
    EXPECT_EQ(Open(ObjectKind::Button, index, {[](ObjectDialog& d) { SetText(d, 90, "Changed"); }, Press(2)}),
              0);
    EXPECT_EQ(project.Object(index), before);
    EXPECT_EQ(project.modified, 0);
    EXPECT_EQ(Open(ObjectKind::Static, -1, {Press(2)}), 0);
    EXPECT_EQ(project.ObjectCount(), 1);
}

TEST_F(ObjectDialogTest, DropPositionIsPresetAndMenuOpeningShowsTheObjectsOwn) {
    std::string x, y;
    auto read = [&](ObjectDialog& d) {
        x = TextOf(d, 4);
        y = TextOf(d, 6);
        Click(&d, 1);
    };
    EXPECT_EQ(Open(ObjectKind::Button, -1, {read}, 40, 60), 1);
    EXPECT_EQ(x + "," + y, "40,60");
    EXPECT_EQ(project.Object(0).x, 40);
    EXPECT_EQ(project.Object(0).y, 60);
    EXPECT_EQ(Open(ObjectKind::Button, -1, {read}), 1);
    EXPECT_EQ(x + "," + y, "0,0");
    const int index = AddExisting(RichObject(ObjectKind::Static));
    EXPECT_EQ(Open(ObjectKind::Static, index, {read}), 1);
    EXPECT_EQ(x + "," + y, "-12,34");
}

TEST_F(ObjectDialogTest, TransparentColourOfAPlainObjectShowsOnlyWhileChecked) {
    auto visible = [](ObjectDialog& d) {
        std::string shown;
        for (DWORD id = 15; id <= 20; ++id)
            shown += d.GetObjectByID(id)->IsVisible() ? '1' : '0';
        return shown;
    };
    std::vector<std::string> seen;
    auto note = [&](ObjectDialog& d) { seen.push_back(visible(d)); };
    EXPECT_EQ(Open(ObjectKind::Object, -1, {note, Press(14), note, Press(14), note, Press(2)}), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"000000", "111111", "000000"}));

    ObjectDef object = RichObject(ObjectKind::Object); // transparent 1
    const int index = AddExisting(object);
    seen.clear();
    EXPECT_EQ(Open(ObjectKind::Object, index, {note, Press(2)}), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"111111"}));

    // The animation's colour stays visible whatever the check box says.
    bool animationColours = false;
    EXPECT_EQ(Open(ObjectKind::Animation, -1,
                   {Press(19),
                    [&](ObjectDialog& d) {
                        animationColours = true;
                        for (DWORD id = 20; id <= 25; ++id)
                            animationColours = animationColours && d.GetObjectByID(id)->IsVisible();
                    },
                    Press(2)}),
              0);
    EXPECT_TRUE(animationColours);
}

TEST_F(ObjectDialogTest, FramesAreAddedDeletedAndStoredInOrder) {
    auto rows = [](ObjectDialog& d) { return static_cast<CTavListBox*>(d.GetObjectByID(17))->GetRowCount(); };
    int rowsAfterDelete = -1;
    std::string editAfterAdd = "(unset)";
    const std::vector<Step> steps = {
        Press(18), // empty list
        Press(16), // empty bitmap edit
        [](ObjectDialog& d) { SetText(d, 14, "a.bmp"); },
        Press(16),
        [&](ObjectDialog& d) {
            editAfterAdd = TextOf(d, 14);
            SetText(d, 14, "b.bmp");
        },
        Press(16),
        [](ObjectDialog& d) { SetText(d, 14, "c.bmp"); },
        Press(16),
        Press(18), // nothing selected
        [](ObjectDialog& d) { static_cast<CTavListBox*>(d.GetObjectByID(17))->SetSelection(1); },
        Press(18),
        [&](ObjectDialog& d) { rowsAfterDelete = rows(d); },
        Press(1),
    };
    EXPECT_EQ(Open(ObjectKind::Animation, -1, steps), 1);
    EXPECT_EQ(messages, (std::vector<std::string>{"There are no items in list to delete",
                                                  "Enter the location of the bitmap for this frame first",
                                                  "Select an item from the list first"}));
    EXPECT_EQ(editAfterAdd, "");
    EXPECT_EQ(rowsAfterDelete, 2);
    ASSERT_EQ(project.ObjectCount(), 1);
    EXPECT_EQ(project.Object(0).frames, (FrameList{"a.bmp", "c.bmp"}));
}

TEST_F(ObjectDialogTest, ValidationMessagesComeInRuleOrderAndKeepTheDialogOpen) {
    AddExisting(RichObject(ObjectKind::Button)); // "Thing" on "Main"
    auto set = [](DWORD id, const char* text) {
        return [id, text](ObjectDialog& d) { SetText(d, id, text); };
    };
    std::vector<Step> steps = {
        set(90, ""),
        Press(1),
        set(90, "a b"),
        Press(1),
        set(90, "Thing"),
        Press(1),
        set(90, "Fresh"),
        set(8, ""),
        Press(1),
        set(8, "5"),
        set(10, "0"),
        Press(1),
        set(10, "5"),
        set(18, ""),
        Press(1),
        set(18, "d.bmp"),
        set(15, ""),
        Press(1),
        set(15, "o.bmp"),
        set(12, ""),
        Press(1),
        set(12, "u.bmp"),
        set(23, ""),
        Press(1),
        set(23, "Verdana"),
        set(26, ""),
        Press(1),
        set(26, "9"),
        set(34, "256"),
        Press(1),
        set(34, "255"),
        set(41, "Nowhere"),
        Press(1),
        [&](ObjectDialog&) { EXPECT_EQ(project.ObjectCount(), 1) << "nothing stored while a rule fails"; },
        set(41, "Other"),
        Press(1),
    };
    EXPECT_EQ(Open(ObjectKind::Button, -1, steps), 1);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Object name cannot be blank", "Object name cannot contain spaces",
                            "Object with this name already exists", "Object's width cannot be 0",
                            "Object's height cannot be 0", "You have to specify a bitmap for the down state",
                            "You have to specify a bitmap for the over state",
                            "You have to specify a bitmap for the up state", "Font name cannot be blank",
                            "Font size cannot be zero", "RGB codes cannot be greater than 255",
                            "Invalid Screen Name"}));
    ASSERT_EQ(project.ObjectCount(), 2);
    const ObjectDef& added = project.Object(1);
    EXPECT_EQ(added.name, "Fresh");
    EXPECT_EQ(added.textColor.blue, 255);
    EXPECT_EQ(added.clickScreen, "Other");
}

TEST_F(ObjectDialogTest, NumberFieldsTakeDigitsUpToTheirLength) {
    auto focusAndType = [this](DWORD id, const std::string& text) {
        return [this, id, text](ObjectDialog& d) {
            Click(&d, id);
            display->KeyDown(VK_END);
            display->Text(text);
        };
    };
    std::string x, interval;
    auto read = [&](ObjectDialog& d) {
        x = TextOf(d, 4);
        interval = TextOf(d, 12);
    };
    // X shows "0" for a new animation and takes three more digits; the interval ("500") two more.
    EXPECT_EQ(Open(ObjectKind::Animation, -1,
                   {focusAndType(4, "-1a234"), focusAndType(12, "-12345"), read, Press(2)}),
              0);
    EXPECT_EQ(x, "0123");
    EXPECT_EQ(interval, "50012");
}

TEST_F(ObjectDialogTest, SelectButtonsFillTheirFieldsFromTheChoosers) {
    auto choose = [this](const std::string& text) {
        return [this, text](ObjectDialog&) {
            CTavScreen* chooser = main->GetInnermostScreen();
            auto* list = static_cast<CTavListBox*>(chooser->GetObjectByID(0));
            for (int row = 0; row < list->GetRowCount(); ++row)
                if (list->GetItemText(row) == text)
                    list->SetSelection(row);
            Click(chooser, 1);
        };
    };
    std::string font, screen;
    const std::vector<Step> steps = {
        [&](ObjectDialog& d) { font = d.fontList.at(d.fontList.size() / 2), Click(&d, 24); },
        [&](ObjectDialog& d) { choose(font)(d); },
        Press(42),
        choose("Other"),
        [&](ObjectDialog& d) { font = TextOf(d, 23) + "|" + font, screen = TextOf(d, 41); },
        Press(2),
    };
    EXPECT_EQ(Open(ObjectKind::Button, -1, steps), 0);
    EXPECT_EQ(font.substr(0, font.find('|')), font.substr(font.find('|') + 1));
    EXPECT_EQ(screen, "Other");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ObjectDialogTest, ListBoxAndTreeDialogsGrow) {
    struct Expect {
        ObjectKind kind;
        int x, y, width, height;
    };
    for (const Expect& e :
         {Expect{ObjectKind::ListBox, 180, 40, 440, 520}, Expect{ObjectKind::Tree, 180, 60, 440, 480}}) {
        std::vector<int> seen;
        auto read = [&](ObjectDialog& d) {
            seen = {d.GetX(),
                    d.GetY(),
                    d.GetWidth(),
                    d.GetHeight(),
                    static_cast<int>(d.GetObjectByID(1)->GetX()),
                    static_cast<int>(d.GetObjectByID(2)->GetX()),
                    static_cast<int>(d.GetObjectByID(1)->GetY())};
        };
        EXPECT_EQ(Open(e.kind, -1, {read, Press(2)}), 0);
        EXPECT_EQ(seen, (std::vector<int>{e.x, e.y, e.width, e.height, e.width - 150, e.width - 90,
                                          e.height - 50}));
    }
}

TEST(ReadNumber, TakesAnOptionalMinusAndTheLeadingDigits) {
    EXPECT_EQ(builder::ReadNumber("-5"), -5);
    EXPECT_EQ(builder::ReadNumber("12ab3"), 12);
    EXPECT_EQ(builder::ReadNumber(""), 0);
    EXPECT_EQ(builder::ReadNumber("-"), 0);
    EXPECT_EQ(builder::ReadNumber("x7"), 0);
    EXPECT_EQ(builder::ReadNumber("99999999999"), 2147483647);
    EXPECT_EQ(builder::ReadNumber("-99999999999"), -2147483647 - 1);
}

TEST_F(ObjectDialogTest, ButtonAndListBoxDialogsLookRight) {
    test::TempDir folder;
    for (ObjectKind kind : {ObjectKind::Button, ObjectKind::ListBox}) {
        // Bitmap paths of the designer's own art would show where the build lies.
        ObjectDef object;
        object.screenName = "Main";
        object.SetKind(kind, project, "Main");
        object.upBitmap = "art//buttonnormal.bmp";
        object.overBitmap = "art//buttonover.bmp";
        object.downBitmap = "art//buttondown.bmp";
        object.listBackground = "art//listback.bmp";
        object.caption = "Start";
        const int index = AddExisting(object);
        const std::string name =
            kind == ObjectKind::Button ? "objectdialog-button.bmp" : "objectdialog-listbox.bmp";
        const std::string shot = folder / name;
        EXPECT_EQ(Open(kind, index,
                       {[this](ObjectDialog&) { display->MouseMove(5, 5), display->Wait(3); },
                        [&](ObjectDialog&) { ASSERT_TRUE(display->SaveLastFrame(shot)); }, Press(2)}),
                  0);
        test::ExpectLikeReference(shot, kReferences, name);
    }
}

} // namespace
} // namespace tav::testing
