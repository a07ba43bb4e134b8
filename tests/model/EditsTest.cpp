#include "model/Arrange.h"
#include "model/ObjectClipboard.h"
#include "model/ProjectFile.h"
#include "model/Snapper.h"
#include "model/edits/History.h"
#include "model/edits/ObjectEdits.h"
#include "tests/support/TestSupport.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace tav {
namespace {

using namespace edits;

// Random steps of every kind, done or recorded after in-place changes, then all undone and redone.
TEST(Edits, UndoAndRedoRestoreEveryStateByteForByte) {
    Project project;
    test::AddScreen(project, "A");
    test::AddScreen(project, "B", ScreenType::SubScreen, "A").x = 5;
    test::AddObject(project, ObjectKind::Button, "A", "Go").clickScreen = "B";
    test::AddObject(project, ObjectKind::Static, "B", "Text");
    project.modified = 0;
    History history;
    history.Reset(project);
    std::mt19937 random(11);
    const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    int n = 0, s = 0, i = 0;
    ObjectDef object, changed;
    bool done = false;
    const auto apply = [&](EditPtr edit) { history.Do(project, std::move(edit)), done = true; };
    using Shifts = std::vector<MoveObjects::Shift>;
    using Changes = std::vector<SetBounds::Change>;
    const std::vector<std::function<void()>> steps = {
        [&] {
            test::AddObject(project, ObjectKind::Edit, test::AddScreen(project, "N" + changed.caption).name,
                            "E");
        },
        [&] {
            apply(std::make_unique<MoveObjects>(Shifts{{i, pick(9) - 4, 3}, {0, 1, 0}}));
        },
        [&] {
            apply(std::make_unique<SetBounds>("Size", Changes{{i, BoundsOf(object), {1, 2, 3, pick(9)}}}));
        },
        [&] { apply(std::make_unique<ReplaceObject>(i, object, changed)); },
        [&] { apply(std::make_unique<InsertObject>(pick(n + 1), changed)); },
        [&] { apply(std::make_unique<RemoveObject>(i, object)); },
        [&] { apply(std::make_unique<ReorderObject>("Order", i, pick(n))); },
        [&] { project.width += pick(5), project.name += "p"; },
        [&] { project.RenameScreen(pick(s), "S" + changed.caption); },
        [&] { project.DeleteScreen(pick(s)); },
        [&] { project.Screen(pick(s)).background += "b"; },
    };
    std::vector<std::string> states{FormatProjectFile(project)};
    const std::size_t saved = 40;
    while (states.size() < 120) {
        n = project.ObjectCount(), s = project.ScreenCount(), i = pick(n), done = false;
        object = project.Object(i);
        changed = object;
        changed.caption += std::to_string(states.size());
        const ProjectState before = StateOf(project);
        steps[n < 2 || s < 2 ? 0 : static_cast<std::size_t>(pick(static_cast<int>(steps.size())))]();
        if (!done && !history.Record(project, before, "Change"))
            continue;
        states.push_back(FormatProjectFile(project));
        ASSERT_EQ(states.size() - 1, history.StepCount());
        if (states.size() - 1 == saved)
            history.MarkSaved(project);
    }
    for (std::size_t at = states.size() - 1; history.Undo(project);) {
        ASSERT_EQ(states[--at], FormatProjectFile(project)) << "after undoing to step " << at;
        ASSERT_EQ(at != saved, project.modified != 0) << at;
    }
    for (std::size_t at = 0; history.Redo(project);) {
        ASSERT_EQ(states[++at], FormatProjectFile(project)) << "after redoing to step " << at;
        ASSERT_EQ(at != saved, project.modified != 0) << at;
    }
    EXPECT_EQ(states.back(), FormatProjectFile(project));
    for (int undo = 0; undo < 90; ++undo)
        history.Undo(project);
    for (int step = 0; step < 11; ++step)
        apply(std::make_unique<MoveObjects>(Shifts{{0, 1, 1}}));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(40u, history.StepCount());
    EXPECT_EQ(1, project.modified) << "the saved state went with the dropped steps";
    EXPECT_EQ("Move " + project.Object(0).name, history.UndoName(project));
    EXPECT_EQ("Move 2 Objects", MoveObjects(Shifts{{0, 1, 1}, {1, 1, 1}}).Name(project));
}

std::string Records(const Project& project) {
    std::vector<const ObjectDef*> objects;
    for (const auto& object : project.objects)
        objects.push_back(object.get());
    return FormatObjectRecords(objects);
}

TEST(ObjectClipboard, RecordsAreTheProjectFilesAndReadBackWhole) {
    Project rich;
    ASSERT_TRUE(ParseProjectFile(rich, test::ReadFile(TAV_SOURCE_DIR "/tests/model/golden/rich.tvp")));
    const std::string file = FormatProjectFile(rich), text = Records(rich);
    const std::size_t from = file.find("\r\nOBJECT\r\n") + 10;
    EXPECT_EQ("TavCtrls objects 1\r\n" + std::to_string(rich.ObjectCount()) + "\r\n" + file.substr(from),
              text);
    std::vector<ObjectDef> read(1);
    std::string error;
    ASSERT_TRUE(ParseObjectRecords(text, read, &error)) << error;
    ASSERT_EQ(rich.objects.size() + 1, read.size());
    for (std::size_t i = 0; i < rich.objects.size(); ++i)
        EXPECT_EQ(*rich.objects[i], read[i + 1]) << i;
    Project plain;
    test::AddObject(plain, ObjectKind::Tree, "S", "T").frames = {"f"};
    std::string lf = Records(plain);
    std::erase(lf, '\r');
    ASSERT_TRUE(ParseObjectRecords(lf + "\n\n", read, &error)) << error;
    EXPECT_EQ(plain.Object(0), read.back());

    const std::string good = Records(plain), number = "\r\n500\r\n";
    const std::string refused[][2] = {
        {"", "holds no objects"},
        {"MyButton\r\n", "holds no objects"},
        {"TavCtrls objects 2" + good.substr(18), "another designer version"},
        {"TavCtrls objects 1\r\nx" + good.substr(21), "count is missing"},
        {"TavCtrls objects 1\r\n0" + good.substr(21), "cannot fit"},
        {"TavCtrls objects 1\r\n99999" + good.substr(21), "cannot fit"},
        {good.substr(0, good.size() - 40), "object 1, the text ends inside it"},
        {good.substr(0, good.size() - 11), "their end is missing"},
        {good + "x", "text follows their end"},
        {good.substr(0, good.find("FRAMES")) + "FRAME" + good.substr(good.find("FRAMES") + 6), "FRAME"},
        {good.substr(0, good.find(number) + 2) + "y" + good.substr(good.find(number) + 5),
         "\"y\" where a number"},
    };
    for (const auto& [text, reason] : refused) {
        EXPECT_FALSE(ParseObjectRecords(text, read, &error)) << text;
        EXPECT_NE(std::string::npos, error.find(reason)) << error;
        EXPECT_EQ(rich.objects.size() + 2, read.size());
    }
}

TEST(ObjectClipboard, PastedObjectsGetFreeNamesAndMoveOffTheOriginals) {
    Project project;
    for (const char* name : {"MyButton", "MyButton2", "Free"}) {
        ObjectDef& object = test::AddObject(project, ObjectKind::Button, "S", name);
        object.x = object.y = name[0] == 'F' ? 20 : 10 * static_cast<int>(std::strlen(name)) - 70;
    }
    std::vector<ObjectDef> pasted = {project.Object(0), project.Object(0), project.Object(2)};
    pasted[2].name = "Other";
    pasted = PrepareToPaste(project, "T", pasted);
    EXPECT_EQ((std::vector<std::string>{"MyButton", "MyButton2", "Other"}),
              (std::vector<std::string>{pasted[0].name, pasted[1].name, pasted[2].name}));
    EXPECT_EQ(10, pasted[0].x) << "nothing covered on another screen";
    pasted = PrepareToPaste(project, "S", pasted);
    EXPECT_EQ((std::vector<std::string>{"MyButton3", "MyButton4", "Other"}),
              (std::vector<std::string>{pasted[0].name, pasted[1].name, pasted[2].name}));
    EXPECT_EQ("S", pasted[2].screenName);
    EXPECT_EQ((Bounds{30, 30, 50, 50}), BoundsOf(pasted[0])) << "past the originals at 10 and 20";
    EXPECT_EQ((Bounds{40, 40, 50, 50}), BoundsOf(pasted[2]));
}

} // namespace
} // namespace tav
