#include "model/Validation.h"

#include "model/CodeNames.h"
#include "model/Decimal.h"
#include "model/Project.h"

#include <string_view>
#include <unordered_map>
#include <utility>

namespace tav {

namespace {

// The name lookups of the rules, hashed once per project so that checking every item stays linear.
class NameIndex {
public:
    NameIndex(const Project& project, bool withObjects) : project_(project) {
        screens_.reserve(project.screens.size());
        objects_.reserve(withObjects ? project.objects.size() : 0);
        for (int i = 0; i < project.ScreenCount(); ++i) {
            const ScreenDef& screen = project.Screen(i);
            ++screens_.try_emplace(screen.name, ScreenEntry{i, 0}).first->second.count;
            startups_ += screen.startup == 1 ? 1 : 0;
        }
        if (withObjects)
            for (const auto& object : project.objects)
                ++objects_[{object->screenName, object->name}];
    }

    const ScreenDef* FindScreen(const std::string& name) const {
        const auto found = name.empty() ? screens_.end() : screens_.find(name);
        return found == screens_.end() ? nullptr : &project_.Screen(found->second.first);
    }
    bool OtherScreenNamed(const std::string& name, int editedIndex) const {
        const auto found = screens_.find(name);
        const int count = found == screens_.end() ? 0 : found->second.count;
        return count >
               (Edited(editedIndex, project_.ScreenCount()) && project_.Screen(editedIndex).name == name ? 1
                                                                                                         : 0);
    }
    bool OtherStartupScreen(int editedIndex) const {
        return startups_ >
               (Edited(editedIndex, project_.ScreenCount()) && project_.Screen(editedIndex).startup == 1 ? 1
                                                                                                         : 0);
    }
    bool OtherObjectNamed(const ObjectDef& candidate, int editedIndex) const {
        const auto found = objects_.find({candidate.screenName, candidate.name});
        const int count = found == objects_.end() ? 0 : found->second;
        const bool self = Edited(editedIndex, project_.ObjectCount()) &&
                          project_.Object(editedIndex).name == candidate.name &&
                          project_.Object(editedIndex).screenName == candidate.screenName;
        return count > (self ? 1 : 0);
    }

private:
    using NamePair = std::pair<std::string_view, std::string_view>;
    struct ScreenEntry {
        int first;
        int count;
    };
    struct PairHash {
        std::size_t operator()(const NamePair& names) const {
            const std::hash<std::string_view> hash;
            return hash(names.first) * 31 + hash(names.second);
        }
    };

    static bool Edited(int index, int count) { return index >= 0 && index < count; }

    const Project& project_;
    std::unordered_map<std::string_view, ScreenEntry> screens_;
    std::unordered_map<NamePair, int, PairHash> objects_;
    int startups_ = 0;
};

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

std::string ButtonRules(const ObjectDef& object, const NameIndex& names) {
    if (object.downBitmap.empty())
        return "You have to specify a bitmap for the down state";
    if (object.overBitmap.empty())
        return "You have to specify a bitmap for the over state";
    if (object.upBitmap.empty())
        return "You have to specify a bitmap for the up state";
    if (std::string message = CaptionFontRules(object); !message.empty())
        return message;
    if (!object.clickScreen.empty() && names.FindScreen(object.clickScreen) == nullptr)
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

std::string KindRules(const ObjectDef& object, const NameIndex& names) {
    switch (object.kind) {
    case ObjectKind::Button:
        return ButtonRules(object, names);
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

std::string ScreenRules(const Project& project, const NameIndex& names, const ScreenDef& candidate,
                        int editedIndex) {
    if (candidate.name == project.name)
        return "Screen name cannot be the same as project name";
    if (candidate.name.empty())
        return "Screen name cannot be blank";
    if (HasBlank(candidate.name))
        return "Screen name cannot contain spaces";
    if (names.OtherScreenNamed(candidate.name, editedIndex))
        return "Screen with this name already exists";
    // Judged by index rather than by name, so that renaming the startup screen itself passes.
    if (candidate.type == ScreenType::FullScreen && candidate.startup == 1 &&
        names.OtherStartupScreen(editedIndex))
        return "You cannot have more than one startup screen";
    if (candidate.type == ScreenType::FullScreen)
        return {};
    if (candidate.parent.empty())
        return "Popup screens and sub screens must have a parent";
    const ScreenDef* parent = names.FindScreen(candidate.parent);
    if (parent == nullptr)
        return "Invalid parent screen";
    std::int64_t parentWidth = 0;
    std::int64_t parentHeight = 0;
    ParentSize(project, *parent, parentWidth, parentHeight);
    if (std::int64_t{candidate.x} + candidate.width > parentWidth ||
        std::int64_t{candidate.y} + candidate.height > parentHeight)
        return "Screen dimensions can't be greater than parent screen's";
    return {};
}

std::string ObjectRules(const NameIndex& names, const ObjectDef& candidate, int editedIndex) {
    if (candidate.name.empty())
        return "Object name cannot be blank";
    if (HasBlank(candidate.name))
        return "Object name cannot contain spaces";
    if (names.OtherObjectNamed(candidate, editedIndex))
        return "Object with this name already exists";
    if (candidate.width == 0)
        return "Object's width cannot be 0";
    if (candidate.height == 0)
        return "Object's height cannot be 0";
    if (candidate.transparent == 1 && candidate.transparentColor.AnyAbove255())
        return "RGB Codes cannot be greater than 255";
    return KindRules(candidate, names);
}

} // namespace

std::string Project::ValidateScreen(const ScreenDef& candidate, int editedIndex) const {
    std::string message = ScreenRules(*this, NameIndex(*this, false), candidate, editedIndex);
    return message.empty() ? ScreenCodeProblem(*this, candidate, editedIndex) : message;
}

std::string Project::ValidateObject(const ObjectDef& candidate, int editedIndex) const {
    std::string message = ObjectRules(NameIndex(*this, true), candidate, editedIndex);
    return message.empty() ? ObjectCodeProblem(*this, candidate, editedIndex) : message;
}

std::vector<ItemFailure> ValidateProject(const Project& project) {
    const NameIndex names(project, true);
    std::vector<ItemFailure> failures;
    for (int i = 0; i < project.ScreenCount(); ++i)
        if (std::string message = ScreenRules(project, names, project.Screen(i), i); !message.empty())
            failures.push_back({i, -1, std::move(message)});
    for (int i = 0; i < project.ObjectCount(); ++i)
        if (std::string message = ObjectRules(names, project.Object(i), i); !message.empty())
            failures.push_back({-1, i, std::move(message)});
    return failures;
}

ProjectRuleFailure ValidateProjectSettings(const std::string& nameText, const std::string& widthText,
                                           const std::string& heightText, const Project* project) {
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
    return {ProjectNameProblem(nameText, project), ProjectField::None};
}

} // namespace tav
