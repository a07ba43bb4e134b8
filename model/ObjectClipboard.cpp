#include "model/ObjectClipboard.h"

#include "LineReader.h"
#include "ObjectRecords.h"
#include "model/Bounds.h"
#include "model/Decimal.h"
#include "model/Project.h"

#include <algorithm>
#include <limits>
#include <set>
#include <tuple>

namespace tav {

namespace {

constexpr std::string_view kFormPrefix = "TavCtrls objects ";
constexpr std::string_view kForm = "TavCtrls objects 1";
constexpr std::string_view kEnd = "ENDOBJECT";
constexpr std::size_t kMaxText = std::size_t{64} << 20;
constexpr std::size_t kRecordLines = 60; // the fewest lines of one record (no frames)

bool Fail(std::string* error, std::string reason) {
    if (error != nullptr)
        *error = std::move(reason);
    return false;
}

std::string Damaged(std::size_t index, const std::string& why) {
    return "The objects on the clipboard are damaged: object " + std::to_string(index + 1) + ", " + why;
}

bool IsCount(std::string_view line) {
    return !line.empty() && line.size() <= 9 &&
           std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::int32_t Shifted(std::int32_t value, std::int64_t by) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value + by, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::string FormatObjectRecords(const std::vector<const ObjectDef*>& objects) {
    std::string text(kForm);
    text += "\r\n" + std::to_string(objects.size()) + "\r\n";
    AppendObjectRecords(objects, text);
    text += kEnd;
    text += "\r\n";
    return text;
}

bool ParseObjectRecords(std::string_view text, std::vector<ObjectDef>& objects, std::string* error) {
    if (text.size() > kMaxText)
        return Fail(error, "The clipboard holds too much text to be objects");
    LineReader lines(text);
    std::string_view line;
    if (!lines.Next(line) || !line.starts_with(kFormPrefix))
        return Fail(error, "The clipboard holds no objects");
    if (line != kForm)
        return Fail(error, "The clipboard holds objects of another designer version (\"" + std::string(line) +
                               "\")");
    if (!lines.Next(line) || !IsCount(line))
        return Fail(error, "The objects on the clipboard are damaged: their count is missing");
    const std::size_t count = static_cast<std::size_t>(ParseDecimal(line));
    if (count == 0 || count > text.size() / kRecordLines)
        return Fail(error, "The objects on the clipboard are damaged: " + std::string(line) +
                               " objects cannot fit in the text");
    std::vector<ObjectDef> read(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string why;
        if (!ReadObjectRecord(lines, read[i], why))
            return Fail(error, Damaged(i, why.empty() ? "the text ends inside it" : why));
    }
    if (!lines.Next(line) || line != kEnd)
        return Fail(error, "The objects on the clipboard are damaged: their end is missing");
    while (lines.Next(line))
        if (!line.empty())
            return Fail(error, "The objects on the clipboard are damaged: text follows their end");
    objects.insert(objects.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    return true;
}

std::vector<ObjectDef> PrepareToPaste(const Project& project, const std::string& screenName,
                                      std::vector<ObjectDef> objects) {
    std::set<std::string> taken;
    std::set<std::tuple<std::int64_t, std::int64_t, std::int32_t, std::int32_t>> occupied;
    for (const auto& object : project.objects) {
        if (object->screenName != screenName)
            continue;
        taken.insert(object->name);
        occupied.emplace(object->x, object->y, object->width, object->height);
    }
    for (ObjectDef& object : objects) {
        object.screenName = screenName;
        if (taken.count(object.name) != 0) {
            const std::string base = BaseNameOf(object.kind);
            object.name = base;
            for (long counter = 2; taken.count(object.name) != 0; ++counter)
                object.name = base + std::to_string(counter);
        }
        taken.insert(object.name);
    }
    // Unclamped, each pasted object meets each occupied position at one shift at most: this ends.
    std::int64_t shift = 0;
    const auto covers = [&](const ObjectDef& object) {
        return occupied.count({object.x + shift, object.y + shift, object.width, object.height}) != 0;
    };
    while (std::any_of(objects.begin(), objects.end(), covers))
        shift += 10;
    for (ObjectDef& object : objects) {
        object.x = Shifted(object.x, shift);
        object.y = Shifted(object.y, shift);
    }
    return objects;
}

} // namespace tav
