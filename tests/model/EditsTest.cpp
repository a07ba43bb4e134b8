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
#include <tuple>

namespace tav {
namespace {

using namespace edits;

// Random steps of every kind, done or recorded after in-place changes, then all undone and redone.
TEST(Edits, UndoAndRedoRestoreEveryStateByteForByte) {
    Project project;
    test::AddObject(project, {}, test::AddScreen(project, "A").name, "Go").clickScreen = "B";
    test::AddScreen(project, "B", ScreenType::SubScreen, "A").startup = project.modified = 0;
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
    for (std::size_t at = 0; history.Redo(project);)
        ASSERT_EQ(states[++at], FormatProjectFile(project)) << "after redoing to step " << at;
    for (int undo = 0; undo < 90; ++undo)
        history.Undo(project);
    for (int step = 0; step < 11; ++step)
        history.Do(project, std::make_unique<MoveObjects>(Shifts{{0, 1, 1}}));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(40u, history.StepCount());
    EXPECT_EQ(1, project.modified) << "the saved state went with the dropped steps";
    EXPECT_EQ("Move " + project.Object(0).name, history.UndoName(project));
}

TEST(ObjectClipboard, RecordsAreTheProjectFilesAndReadBackWhole) {
    Project rich;
    ASSERT_TRUE(ParseProjectFile(rich, test::ReadFile(TAV_SOURCE_DIR "/tests/model/golden/rich.tvp")));
    std::vector<const ObjectDef*> objects;
    for (const auto& object : rich.objects)
        objects.push_back(object.get());
    const std::string file = FormatProjectFile(rich), text = FormatObjectRecords(objects);
    const std::string head = "TavCtrls objects 1\r\n" + std::to_string(objects.size()) + "\r\n";
    EXPECT_EQ(head + file.substr(file.find("\r\nOBJECT\r\n") + 10), text);
    std::vector<ObjectDef> read(1);
    std::string error;
    ASSERT_TRUE(ParseObjectRecords(text, read, &error)) << error;
    EXPECT_EQ(*objects.back(), read.back());
    const std::string good = FormatObjectRecords({objects[0]}),
                      number = "\r\n" + std::to_string(objects[0]->x);
    const std::string refused[][2] = {
        {"MyButton\r\n", "holds no objects"},
        {"TavCtrls objects 2" + good.substr(18), "another designer version"},
        {head.substr(0, 20) + "x" + good.substr(21), "count is missing"},
        {head.substr(0, 20) + "99999" + good.substr(21), "99999 objects cannot fit"},
        {good.substr(0, good.size() - 40), "object 1, the text ends inside it"},
        {good.substr(0, good.size() - 11), "their end is missing"},
        {good + "x", "text follows their end"},
        {good.substr(0, good.find(number) + 2) + "y" + good.substr(good.find(number) + 2), "where a number"},
    };
    for (const auto& [bad, reason] : refused) {
        EXPECT_FALSE(ParseObjectRecords(bad, read, &error)) << bad;
        EXPECT_NE(std::string::npos, error.find(reason)) << error;
        EXPECT_EQ(objects.size() + 1, read.size());
    }
}

TEST(ObjectClipboard, PastedObjectsGetFreeNamesAndMoveOffTheOriginals) {
    Project project;
    for (const int at : {10, 20, 20})
        test::AddObject(project, ObjectKind::Button, "S", at == 10 ? "MyButton" : "MyButton2").x = at;
    project.Object(2).name = "Other";
    for (auto& object : project.objects)
        object->y = object->x;
    auto pasted = PrepareToPaste(project, "S", {project.Object(0), project.Object(0), project.Object(2)});
    EXPECT_EQ("MyButton3 MyButton4 MyButton5", pasted[0].name + " " + pasted[1].name + " " + pasted[2].name);
    EXPECT_EQ((Bounds{30, 30, 50, 50}), BoundsOf(pasted[0])) << "past the originals at 10 and 20";
    EXPECT_EQ((Bounds{40, 40, 50, 50}), BoundsOf(pasted[2]));
    pasted = PrepareToPaste(project, "T", pasted);
    EXPECT_EQ("T MyButton3 30",
              pasted[2].screenName + " " + pasted[0].name + " " + std::to_string(pasted[0].x));
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
    const int move = 0, off = -1;
    const std::tuple<Bounds, int, int, int, std::vector<Guide>> rows[] = {
        {{97, 200, 20, 20}, move, 3, 0, {{true, 100, 100, 220}}}, // left edge to its left, top to grid
        {{3, 123, 20, 4}, move, -3, 0, {{true, 0, 0, 300}, {false, 125, 0, 150}}}, // screen; middles
        {{95, 207, 40, 10}, move, 5, 3, {{true, 100, 100, 220}}},                  // at the threshold
        {{94, 207, 40, 10}, move, -4, 3, {}},                                      // past it
        {{106, 153, 30, 30}, move, 4, -3, {{true, 125, 100, 180}, {false, 150, 100, 150}}},
        {{97, 200, 20, 20}, off, 0, 0, {}},
        {{53, 96, 44, 20},
         Snapper::Right | Snapper::Top,
         3,
         4,
         {{true, 100, 100, 150}, {false, 100, 53, 150}}},
    };
    for (const auto& [moving, edges, dx, dy, guides] : rows) {
        const Snapper snapper({{100, 100, 50, 50}, {300, 250, 10, 10}}, {0, 0, 400, 300},
                              {edges != off, 10, 5});
        const Snap snap = edges > 0 ? snapper.Resize(moving, edges) : snapper.Move(moving);
        EXPECT_EQ(std::tie(dx, dy, guides), std::tie(snap.dx, snap.dy, snap.guides)) << moving.x;
    }
}

} // namespace
} // namespace tav
