#include "model/ObjectDef.h"

#include "model/ProgramFolder.h"
#include "model/Project.h"

#include <utility>

namespace tav {

namespace {

// The default bitmaps beside the program, built once: objects are constructed by the thousand
// when a project file is read.
struct DefaultBitmaps {
    std::string up = ProgramArtPath("buttonnormal.bmp");
    std::string over = ProgramArtPath("buttonover.bmp");
    std::string down = ProgramArtPath("buttondown.bmp");
    std::string checked = ProgramArtPath("checkyes.bmp");
    std::string unchecked = ProgramArtPath("checkno.bmp");
    std::string list = ProgramArtPath("listback.bmp");
    std::string tree = ProgramArtPath("treeback.bmp");
    std::string plus = ProgramArtPath("plus.bmp");
    std::string minus = ProgramArtPath("minus.bmp");
};

const DefaultBitmaps& Bitmaps() {
    static const DefaultBitmaps bitmaps;
    return bitmaps;
}

} // namespace

ObjectDef::ObjectDef()
    : upBitmap(Bitmaps().up), overBitmap(Bitmaps().over), downBitmap(Bitmaps().down),
      checkedBitmap(Bitmaps().checked), uncheckedBitmap(Bitmaps().unchecked), listBackground(Bitmaps().list),
      treeBackground(Bitmaps().tree), plusBitmap(Bitmaps().plus), minusBitmap(Bitmaps().minus) {}

const char* BaseNameOf(ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Button:
        return "MyButton";
    case ObjectKind::Static:
        return "MyStatic";
    case ObjectKind::Edit:
        return "MyEdit";
    case ObjectKind::CheckBox:
        return "MyCheckbox";
    case ObjectKind::ListBox:
        return "MyListBox";
    case ObjectKind::Tree:
        return "MyTree";
    case ObjectKind::Animation:
        return "MyAnimation";
    case ObjectKind::Object:
        break;
    }
    return "MyObject";
}

std::string MakeUniqueName(const Project& project, ObjectKind kind, const std::string& screenName) {
    const std::string base = BaseNameOf(kind);
    std::string candidate = base;
    for (long counter = 2; project.FindObjectIndex(candidate, screenName) != -1; ++counter)
        candidate = base + std::to_string(counter);
    return candidate;
}

void ObjectDef::SetKind(ObjectKind newKind, const Project& project, const std::string& onScreen) {
    kind = newKind;
    name = MakeUniqueName(project, newKind, onScreen);
    switch (newKind) {
    case ObjectKind::Button:
        height = 20;
        textColor = {255, 0, 0};
        bold = 1;
        textOffsetX = textOffsetY = 0;
        break;
    case ObjectKind::Static:
    case ObjectKind::Edit:
        height = 20;
        textColor = {255, 0, 0};
        textOffsetX = textOffsetY = 0;
        backColor = {64, 255, 64};
        break;
    case ObjectKind::CheckBox:
        height = 18;
        textColor = {255, 255, 0};
        backColor = {0, 0, 255};
        break;
    case ObjectKind::ListBox:
        width = height = 100;
        textColor = {0, 0, 0};
        backColor = {128, 128, 128};
        itemHeight = 20;
        break;
    case ObjectKind::Tree:
        width = height = 100;
        textColor = {0, 0, 0};
        backColor = {64, 255, 0};
        selectedColor = {255, 255, 192};
        itemHeight = 20;
        break;
    case ObjectKind::Animation:
    case ObjectKind::Object:
        break;
    }
}

std::vector<const std::string*> BitmapsOf(const ObjectDef& o) {
    switch (o.kind) {
    case ObjectKind::Button:
        return {&o.downBitmap, &o.overBitmap, &o.upBitmap};
    case ObjectKind::CheckBox:
        return {&o.checkedBitmap, &o.uncheckedBitmap};
    case ObjectKind::Static:
    case ObjectKind::Edit:
    case ObjectKind::Object:
        return {&o.image};
    case ObjectKind::ListBox:
        return {&o.image, &o.listBackground};
    case ObjectKind::Tree:
        return {&o.treeBackground, &o.image, &o.plusBitmap, &o.minusBitmap};
    case ObjectKind::Animation: {
        std::vector<const std::string*> frames;
        for (const std::string& frame : o.frames)
            frames.push_back(&frame);
        return frames;
    }
    }
    return {};
}

std::vector<std::string*> BitmapsOf(ObjectDef& object) {
    std::vector<std::string*> fields;
    for (const std::string* field : BitmapsOf(std::as_const(object)))
        fields.push_back(const_cast<std::string*>(field)); // the object itself is not const
    return fields;
}

} // namespace tav
