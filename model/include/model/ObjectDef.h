#pragma once

#include "model/ModelTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tav {

class Project;

// One object of a screen. Every object carries every field whatever its kind; fields that the
// kind does not use keep their defaults and are still stored in the project file.
struct ObjectDef {
    ObjectDef(); // general defaults; kind Object, name "MyObject"
    // Without the default bitmaps, for a record whose every field is read next: building their full
    // paths only to overwrite them costs as much as reading the rest of the record.
    struct ToBeRead {};
    explicit ObjectDef(ToBeRead) {}

    std::uint32_t designId = 0;
    std::string name = "MyObject";
    ObjectKind kind = ObjectKind::Object;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 50;
    std::int32_t height = 50;
    std::string image;
    std::int32_t checkValue = 0;
    std::string screenName;
    std::string caption;
    std::string reservedText;
    std::string upBitmap;
    std::string overBitmap;
    std::string downBitmap;
    std::string checkedBitmap;
    std::string uncheckedBitmap;
    std::string listBackground;
    Flag multiline = 0;
    std::string treeBackground;
    std::int32_t interval = 500;
    FrameList frames;
    Flag transparent = 0;
    RgbTriple transparentColor;
    RgbTriple textColor;
    RgbTriple backColor;
    std::string fontName = "Verdana";
    std::int32_t fontSize = 15;
    Flag bold = 0;
    std::string columnFontName = "Verdana";
    std::int32_t columnFontSize = 15;
    Flag columnBold = 0;
    RgbTriple columnTextColor{255, 255, 255};
    RgbTriple selectedColor{0, 255, 0};
    RgbTriple lineColor{0, 0, 255};
    std::int32_t columnHeight = 20;
    std::int32_t itemHeight = 20;
    RgbTriple columnBackColor{128, 128, 128};
    std::string plusBitmap;
    std::string minusBitmap;
    std::int32_t tabSpace = 10;
    std::int32_t textOffsetX = 0;
    std::int32_t textOffsetY = 0;
    std::string clickScreen;
    std::int32_t reservedNumber = 0;

    // Sets the kind, a name not yet taken on the screen and the kind's own defaults.
    // Called once for a new object, after screenName has been set.
    void SetKind(ObjectKind newKind, const Project& project, const std::string& onScreen);

    // The stored click action; unknown numbers count as opening the click screen.
    ClickAction Click() const {
        return reservedNumber == 1 || reservedNumber == 2 ? static_cast<ClickAction>(reservedNumber)
                                                          : ClickAction::OpenScreen;
    }

    bool operator==(const ObjectDef&) const = default;
};

// The fields of an object that hold the bitmaps its kind draws, in the order generation copies them.
std::vector<const std::string*> BitmapsOf(const ObjectDef& object);
std::vector<std::string*> BitmapsOf(ObjectDef& object);

// Base of the default object names of a kind ("MyButton", ...); "MyObject" for unknown kinds.
const char* BaseNameOf(ObjectKind kind);

// The kind's base name, or the base name followed by 2, 3, ... : the first that no object of
// the screen bears.
std::string MakeUniqueName(const Project& project, ObjectKind kind, const std::string& screenName);

} // namespace tav
