#include "model/Validation.h"

#include "model/Decimal.h"
#include "model/Project.h"

namespace tav {

namespace {

bool HasBlank(const std::string& text) {
    return text.find(' ') != std::string::npos;
}

// Size of the parent that a popup or sub screen must fit in: the project's for a full screen.
void ParentSize(const Project& project, const ScreenDef& parent, std::int64_t& width, std::int64_t& height) {
    const bool full = parent.type == ScreenType::FullScreen;
    width = full ? project.width : parent.width;
    height = full ? project.height : parent.height;
}

// The font and text colour of buttons, statics, edit boxes and check boxes.
std::string CaptionFontRules(const ObjectDef& object) {
    if (object.fontName.empty())
        return "Font name cannot be blank";
    if (object.fontSize == 0)
        return "Font size cannot be zero";
    if (object.textColor.AnyAbove255())
        return "RGB codes cannot be greater than 255";
    return {};
}

std::string TextRules(const ObjectDef& object) {
    if (object.backColor.AnyAbove255())
        return "RGB Codes cannot be greater than 255";
    return CaptionFontRules(object);
}

std::string ButtonRules(const ObjectDef& object, const Project& project) {
    if (object.downBitmap.empty())
        return "You have to specify a bitmap for the down state";
    if (object.overBitmap.empty())
        return "You have to specify a bitmap for the over state";
    if (object.upBitmap.empty())
        return "You have to specify a bitmap for the up state";
    if (std::string message = CaptionFontRules(object); !message.empty())
        return message;
    if (!object.clickScreen.empty() && project.FindScreen(object.clickScreen) == nullptr)
        return "Invalid Screen Name";
    return {};
}

std::string CheckBoxRules(const ObjectDef& object) {
    if (object.checkedBitmap.empty())
        return "You have to specify a bitmap for the checked state";
    if (object.uncheckedBitmap.empty())
        return "You have to specify a bitmap for the unchecked state";
    return TextRules(object);
}

std::string ListBoxRules(const ObjectDef& object) {
    if (object.listBackground.empty())
        return "You have to specify a bitmap for the background image";
    if (object.backColor.AnyAbove255())
        return "RGB Codes cannot be greater than 255";
    if (object.fontName.empty() || object.columnFontName.empty())
        return "Font name cannot be blank";
    if (object.fontSize == 0 || object.columnFontSize == 0)
        return "Font size cannot be zero";
    if (object.textColor.AnyAbove255() || object.columnTextColor.AnyAbove255() ||
        object.lineColor.AnyAbove255() || object.selectedColor.AnyAbove255())
        return "RGB Codes cannot be greater than 255";
    if (object.columnHeight == 0)
        return "Column height cannot be zero";
    if (object.itemHeight == 0)
        return "Item height cannot be zero";
    if (object.columnBackColor.AnyAbove255())
        return "RGB Codes cannot be greater than 255";
    return {};
}

std::string TreeRules(const ObjectDef& object) {
    if (object.treeBackground.empty())
        return "You have to specify a bitmap for the background image";
    if (object.fontName.empty())
        return "Font name cannot be blank";
    if (object.fontSize == 0)
        return "Font size cannot be zero";
    if (object.textColor.AnyAbove255() || object.backColor.AnyAbove255() ||
        object.selectedColor.AnyAbove255())
        return "RGB Codes cannot be greater than 255";
    if (object.itemHeight == 0)
        return "Item Height cannot be zero";
    if (object.tabSpace == 0)
        return "Tab space cannot be zero";
    return {};
}

std::string AnimationRules(const ObjectDef& object) {
    if (object.frames.empty())
        return "You have to add at least one frame";
    if (object.transparent == 1 && object.transparentColor.AnyAbove255())
        return "RGB Codes cannot be greater than 255";
    return {};
}

std::string KindRules(const ObjectDef& object, const Project& project) {
    switch (object.kind) {
    case ObjectKind::Button:
        return ButtonRules(object, project);
    case ObjectKind::CheckBox:
        return CheckBoxRules(object);
    case ObjectKind::Static:
    case ObjectKind::Edit:
        return TextRules(object);
    case ObjectKind::ListBox:
        return ListBoxRules(object);
    case ObjectKind::Tree:
        return TreeRules(object);
    case ObjectKind::Animation:
        return AnimationRules(object);
    case ObjectKind::Object:
        break;
    }
    return {};
}

} // namespace

std::string Project::ValidateScreen(const ScreenDef& candidate, int editedIndex) const {
    if (candidate.name == name)
        return "Screen name cannot be the same as project name";
    if (candidate.name.empty())
        return "Screen name cannot be blank";
    if (HasBlank(candidate.name))
        return "Screen name cannot contain spaces";
    for (int i = 0; i < ScreenCount(); ++i)
        if (i != editedIndex && Screen(i).name == candidate.name)
            return "Screen with this name already exists";
    // Judged by index rather than by name, so that renaming the startup screen itself passes.
    if (candidate.type == ScreenType::FullScreen && candidate.startup == 1)
        for (int i = 0; i < ScreenCount(); ++i)
            if (i != editedIndex && Screen(i).startup == 1)
                return "You cannot have more than one startup screen";
    if (candidate.type == ScreenType::FullScreen)
        return {};
    if (candidate.parent.empty())
        return "Popup screens and sub screens must have a parent";
    const ScreenDef* parent = FindScreen(candidate.parent);
    if (parent == nullptr)
        return "Invalid parent screen";
    std::int64_t parentWidth = 0;
    std::int64_t parentHeight = 0;
    ParentSize(*this, *parent, parentWidth, parentHeight);
    if (std::int64_t{candidate.x} + candidate.width > parentWidth ||
        std::int64_t{candidate.y} + candidate.height > parentHeight)
        return "Screen dimensions can't be greater than parent screen's";
    return {};
}

std::string Project::ValidateObject(const ObjectDef& candidate, int editedIndex) const {
    if (candidate.name.empty())
        return "Object name cannot be blank";
    if (HasBlank(candidate.name))
        return "Object name cannot contain spaces";
    for (int i = 0; i < ObjectCount(); ++i)
        if (i != editedIndex && Object(i).name == candidate.name &&
            Object(i).screenName == candidate.screenName)
            return "Object with this name already exists";
    if (candidate.width == 0)
        return "Object's width cannot be 0";
    if (candidate.height == 0)
        return "Object's height cannot be 0";
    if (candidate.transparent == 1 && candidate.transparentColor.AnyAbove255())
        return "RGB Codes cannot be greater than 255";
    return KindRules(candidate, *this);
}

ProjectRuleFailure ValidateProjectSettings(const std::string& nameText, const std::string& widthText,
                                           const std::string& heightText) {
    if (nameText.empty())
        return {"Please enter a name for you project", ProjectField::None};
    if (HasBlank(nameText))
        return {"Project name cannot contain spaces", ProjectField::None};
    if (heightText.empty())
        return {"Please enter height", ProjectField::Height};
    if (widthText.empty())
        return {"Please enter width", ProjectField::Width};
    if (ParseDecimal(heightText) <= 0)
        return {"Please enter height", ProjectField::Height};
    if (ParseDecimal(widthText) <= 0)
        return {"Please enter width", ProjectField::Width};
    return {};
}

} // namespace tav
