#include "model/Arrange.h"
#include "model/ObjectClipboard.h"
#include "model/ProjectFile.h"
#include "model/Snapper.h"
#include "model/edits/History.h"
#include "model/edits/ObjectEdits.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
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
    test::AddScreen(project, "B", ScreenType::SubScreen, "A");
    test::AddObject(project, ObjectKind::Button, "A", "Go").clickScreen = "B";
    project.modified = 0;
    History history;
    history.Reset(project);
    std::mt19937 random(11);
    const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    using Shifts = std::vector<MoveObjects::Shift>;
    std::vector<std::string> states{FormatProjectFile(project)};
    const std::size_t saved = 40;
    while (states.size() < 120) {
        const int n = project.ObjectCount(), s = project.ScreenCount(), i = pick(std::max(n, 1));
        const std::string tag = std::to_string(states.size());
        ObjectDef object = n > 0 ? project.Object(i) : ObjectDef(), changed = object;
        changed.caption += tag;
        const std::vector<SetBounds::Change> changes{{i, BoundsOf(object), {1, 2, 3, pick(9)}}};
        const Shifts shifts{{i, pick(9) - 4, 3}, {0, 1, 0}};
        const std::function<EditPtr()> steps[] = {
            [&] { return test::AddScreen(project, tag), test::AddObject(project, {}, tag, "E"), nullptr; },
            [&] { return std::make_unique<MoveObjects>(shifts); },
            [&] { return std::make_unique<SetBounds>("Size", changes); },
            [&] { return std::make_unique<ReplaceObject>(i, object, changed); },
            [&] { return std::make_unique<InsertObject>(pick(n + 1), changed); },
            [&] { return std::make_unique<RemoveObject>(i, object); },
            [&] { return std::make_unique<ReorderObject>("Order", i, pick(n)); },
            [&] { return project.width += pick(5), project.name += "p", nullptr; },
            [&] { return project.RenameScreen(pick(s), "S" + tag), nullptr; },
            [&] { return project.DeleteScreen(pick(s)), nullptr; },
            [&] { return project.Screen(pick(s)).background += "b", nullptr; },
        };
        const ProjectState before = StateOf(project);
        EditPtr edit = steps[n < 2 || s < 2 ? 0 : pick(11)]();
        if (edit != nullptr)
            history.Do(project, std::move(edit));
        else if (!history.Record(project, before, "Change"))
            continue;
        states.push_back(FormatProjectFile(project));
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
    EXPECT_EQ(states.size() - 1, history.StepCount());
    for (int undo = 0; undo < 90; ++undo)
        history.Undo(project);
    for (int step = 0; step < 11; ++step)
        history.Do(project, std::make_unique<MoveObjects>(Shifts{{0, 1, 1}}));
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
    Project rich, plain;
    ASSERT_TRUE(ParseProjectFile(rich, test::ReadFile(TAV_SOURCE_DIR "/tests/model/golden/rich.tvp")));
    const std::string file = FormatProjectFile(rich), text = Records(rich);
    const std::string head = "TavCtrls objects 1\r\n" + std::to_string(rich.ObjectCount()) + "\r\n";
    EXPECT_EQ(head + file.substr(file.find("\r\nOBJECT\r\n") + 10), text);
    std::vector<ObjectDef> read(1);
    std::string error;
    ASSERT_TRUE(ParseObjectRecords(text, read, &error)) << error;
    EXPECT_TRUE(std::equal(rich.objects.begin(), rich.objects.end(), read.begin() + 1, read.end(),
                           [](const auto& object, const ObjectDef& copy) { return *object == copy; }));
    test::AddObject(plain, ObjectKind::Tree, "S", "T").frames = {"f"};
    const std::string good = Records(plain), number = "\r\n500\r\n";
    std::string lf = good;
    std::erase(lf, '\r');
    ASSERT_TRUE(ParseObjectRecords(lf + "\n", read, &error)) << error;
    EXPECT_EQ(plain.Object(0), read.back());
    const std::string refused[][2] = {
        {"MyButton\r\n", "holds no objects"},
        {"TavCtrls objects 2" + good.substr(18), "another designer version"},
        {head.substr(0, 20) + "x" + good.substr(21), "count is missing"},
        {head.substr(0, 20) + "99999" + good.substr(21), "99999 objects cannot fit"},
        {good.substr(0, good.size() - 40), "object 1, the text ends inside it"},
        {good.substr(0, good.size() - 11), "their end is missing"},
        {good + "x", "text follows their end"},
        {good.substr(0, good.find(number) + 2) + "y" + good.substr(good.find(number) + 5), "\"y\" where"},
    };
    for (const auto& [bad, reason] : refused) {
        EXPECT_FALSE(ParseObjectRecords(bad, read, &error)) << bad;
        EXPECT_NE(std::string::npos, error.find(reason)) << error;
        EXPECT_EQ(rich.objects.size() + 2, read.size());
    }
}

TEST(ObjectClipboard, PastedObjectsGetFreeNamesAndMoveOffTheOriginals) {
    Project project;
    for (const int at : {10, 20, 20})
        test::AddObject(project, ObjectKind::Button, "S", at == 10 ? "MyButton" : "MyButton2").x = at;
    project.Object(2).name = "Free";
    for (auto& object : project.objects)
        object->y = object->x;
    std::vector<ObjectDef> pasted = {project.Object(0), project.Object(0), project.Object(2)};
    pasted[2].name = "Other";
    const auto names = [&] { return pasted[0].name + " " + pasted[1].name + " " + pasted[2].name; };
    pasted = PrepareToPaste(project, "T", pasted);
    EXPECT_EQ("MyButton MyButton2 Other", names());
    EXPECT_EQ(10, pasted[0].x) << "nothing covered on another screen";
    pasted = PrepareToPaste(project, "S", pasted);
    EXPECT_EQ("MyButton3 MyButton4 Other", names());
    EXPECT_EQ("S", pasted[2].screenName);
    EXPECT_EQ((Bounds{30, 30, 50, 50}), BoundsOf(pasted[0])) << "past the originals at 10 and 20";
    EXPECT_EQ((Bounds{40, 40, 50, 50}), BoundsOf(pasted[2]));
}

TEST(Arrange, AlignMovesTheOthersToThePrimaryAndDistributeEvensTheGaps) {
    const std::vector<Bounds> items = {{10, 10, 41, 21}, {100, 50, 20, 10}, {-7, -7, 60, 30}};
    const std::pair<AlignKind, std::vector<Bounds>> aligned[] = {
        {AlignKind::Left, {items[0], {10, 50, 20, 10}, {10, -7, 60, 30}}},
        {AlignKind::Right, {items[0], {31, 50, 20, 10}, {-9, -7, 60, 30}}},
        {AlignKind::Top, {items[0], {100, 10, 20, 10}, {-7, 10, 60, 30}}},
        {AlignKind::Bottom, {items[0], {100, 21, 20, 10}, {-7, 1, 60, 30}}},
        {AlignKind::HorizontalCentres, {items[0], {20, 50, 20, 10}, {0, -7, 60, 30}}},
        {AlignKind::VerticalCentres, {items[0], {100, 15, 20, 10}, {-7, 5, 60, 30}}},
    };
    for (const auto& [kind, expected] : aligned)
        EXPECT_EQ(expected, Align(items, kind));
    // Out of order, 76 pixels to share among three gaps; vertically a negative share.
    const std::vector<Bounds> row = {{101, 0, 10, 5}, {0, 9, 10, 1}, {50, 3, 10, 5}, {60, 0, 5, 4}};
    EXPECT_EQ((std::vector<Bounds>{row[0], row[1], {35, 3, 10, 5}, {70, 0, 5, 4}}),
              Distribute(row, DistributeKind::Horizontally));
    EXPECT_EQ((std::vector<Bounds>{row[0], row[1], {50, 5, 10, 5}, {60, 3, 5, 4}}),
              Distribute(row, DistributeKind::Vertically));
}

TEST(Snapper, NearestLineWithinTheThresholdWinsAndGuidesReachTheObject) {
    const Bounds screen{0, 0, 400, 300}, object{100, 100, 50, 50};
    struct Row {
        Bounds moving;
        int edges, dx, dy;
        std::vector<Guide> guides;
    };
    const int move = 0, off = -1;
    const Row rows[] = {
        {{97, 200, 20, 20}, move, 3, 0, {{true, 100, 100, 220}}}, // left edge to its left, top to grid
        {{113, 41, 20, 10}, move, 2, -1, {{true, 125, 40, 150}}}, // centre to its centre
        {{3, 123, 20, 4}, move, -3, 0, {{true, 0, 0, 300}, {false, 125, 0, 150}}}, // screen; middles
        {{33, 207, 10, 10}, move, -3, 3, {}},                                      // grid only
        {{95, 207, 40, 10}, move, 5, 3, {{true, 100, 100, 220}}},                  // at the threshold
        {{94, 207, 40, 10}, move, -4, 3, {}},                                      // past it
        {{106, 153, 30, 30},
         move,
         4,
         -3,
         {{true, 125, 100, 180}, {false, 150, 100, 150}}}, // object ties grid
        {{97, 200, 20, 20}, off, 0, 0, {}},
        {{53, 53, 44, 20}, Snapper::Right, 3, 0, {{true, 100, 53, 150}}},
        {{53, 96, 44, 20}, Snapper::Left | Snapper::Top, -3, 4, {{false, 100, 50, 150}}},
    };
    for (const Row& row : rows) {
        Snapper snapper({object, {300, 250, 10, 10}}, screen, SnapSettings{row.edges != off, 10, 5});
        const Snap snap = row.edges > 0 ? snapper.Resize(row.moving, row.edges) : snapper.Move(row.moving);
        EXPECT_EQ(row.dx, snap.dx) << row.moving.x;
        EXPECT_EQ(row.dy, snap.dy) << row.moving.x;
        EXPECT_EQ(row.guides, snap.guides) << row.moving.x;
    }
}

} // namespace
} // namespace tav
