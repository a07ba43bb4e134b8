#include "model/ProjectFile.h"

#include "LineReader.h"
#include "ObjectRecords.h"
#include "model/Decimal.h"
#include "tavctrls/files/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tav {

namespace {

constexpr std::string_view kScreenMarker = "SCREEN";
constexpr std::string_view kEndScreen = "ENDSCREEN";
constexpr std::string_view kObjectMarker = "OBJECT";
constexpr std::string_view kEndObject = "ENDOBJECT";
constexpr std::string_view kFramesMarker = "FRAMES";
constexpr std::string_view kEndFrames = "ENDFRAMES";

// The fields of each record after its first line, in file order. One walk drives the writer, the
// reader and the check for unwritable texts, so that they cannot disagree on the order.
template <class P, class V>
void VisitHeader(P& project, V& v) {
    v.Text("name", project.name);
    v.Int(project.x);
    v.Int(project.y);
    v.Int(project.width);
    v.Int(project.height);
    v.Int(project.bitsPerPixel);
    v.Enum(project.appMode);
    v.Int(project.showFrameRate);
    v.Int(project.waitVerticalBlank);
}

template <class S, class V>
void VisitScreenAfterName(S& screen, V& v) {
    v.Int(screen.x);
    v.Int(screen.y);
    v.Int(screen.width);
    v.Int(screen.height);
    v.Bitmap("background", screen.background);
    v.Enum(screen.backgroundMode);
    v.Text("parent", screen.parent);
    v.Enum(screen.type);
    v.Int(screen.startup);
}

template <class O, class V>
void VisitObjectBeforeFrames(O& object, V& v) {
    v.Bitmap("downBitmap", object.downBitmap);
    v.Bitmap("overBitmap", object.overBitmap);
    v.Bitmap("upBitmap", object.upBitmap);
    v.Text("caption", object.caption);
    v.Bitmap("checkedBitmap", object.checkedBitmap);
    v.Int(object.checkValue);
}

template <class O, class V>
void VisitObjectAfterFrames(O& object, V& v) {
    v.Int(object.height);
    v.Int(object.interval);
    v.Bitmap("listBackground", object.listBackground);
    v.Int(object.multiline);
    v.Text("name", object.name);
    v.Text("screenName", object.screenName);
    v.Unsigned(object.designId);
    v.Bitmap("treeBackground", object.treeBackground);
    v.Enum(object.kind);
    v.Bitmap("uncheckedBitmap", object.uncheckedBitmap);
    v.Text("reservedText", object.reservedText);
    v.Int(object.width);
    v.Int(object.x);
    v.Int(object.y);
    v.Int(object.transparent);
    v.Colour(object.transparentColor);
    v.Colour(object.backColor);
    v.Colour(object.textColor);
    v.Text("fontName", object.fontName);
    v.Int(object.fontSize);
    v.Int(object.bold);
    v.Text("columnFontName", object.columnFontName);
    v.Int(object.columnFontSize);
    v.Int(object.columnBold);
    v.Colour(object.columnTextColor);
    v.Colour(object.selectedColor);
    v.Colour(object.lineColor);
    v.Int(object.columnHeight);
    v.Int(object.itemHeight);
    v.Colour(object.columnBackColor);
    v.Bitmap("plusBitmap", object.plusBitmap);
    v.Bitmap("minusBitmap", object.minusBitmap);
    v.Int(object.tabSpace);
    v.Int(object.textOffsetX);
    v.Int(object.textOffsetY);
    v.Text("clickScreen", object.clickScreen);
    v.Int(object.reservedNumber);
}

// Whether a word holds a line feed: exact, as only a zero byte of `word ^ LFs` borrows into its top bit.
template <class Word>
bool WordHasLineFeed(Word word) {
    constexpr Word kOnes = static_cast<Word>(0x0101010101010101ULL);
    const Word x = word ^ static_cast<Word>(kOnes * '\n');
    return ((x - kOnes) & ~x & static_cast<Word>(kOnes * 0x80)) != 0;
}

// The first and last `sizeof(Word)` bytes of a text of that size up to twice that, copied.
template <class Word>
bool CopyEnds(char* out, const char* in, std::size_t size) {
    Word first, last;
    std::memcpy(&first, in, sizeof(Word));
    std::memcpy(&last, in + size - sizeof(Word), sizeof(Word));
    std::memcpy(out, &first, sizeof(Word));
    std::memcpy(out + size - sizeof(Word), &last, sizeof(Word));
    return WordHasLineFeed(first) || WordHasLineFeed(last);
}

// Copies a text of up to 32 bytes, reading nothing outside it; true when it holds a line feed.
bool CopyShort(char* out, const char* in, std::size_t size) {
    if (size >= 16) {
        const bool head = CopyEnds<std::uint64_t>(out, in, 16);
        return CopyEnds<std::uint64_t>(out + size - 16, in + size - 16, 16) || head;
    }
    if (size >= 8)
        return CopyEnds<std::uint64_t>(out, in, size);
    if (size >= 4)
        return CopyEnds<std::uint32_t>(out, in, size);
    bool lineFeed = false;
    for (std::size_t i = 0; i < size; ++i)
        lineFeed |= (out[i] = in[i]) == '\n';
    return lineFeed;
}

bool HasLineFeed(std::string_view text) {
    return !text.empty() && std::memchr(text.data(), '\n', text.size()) != nullptr;
}

// Writes values as lines into anything with append(const char*, size_t), in large blocks, and
// notes on the way whether a text could not be read back (a line feed, or an end marker where a
// list entry starts).
template <class Sink>
class LineWriter {
public:
    explicit LineWriter(Sink& out) : out_(out), buffer_(std::make_unique_for_overwrite<char[]>(kSize)) {}
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;
    ~LineWriter() { Flush(); }

    bool readsBack() const { return readsBack_; }
    void Line(std::string_view text) {
        if (text.size() <= kShortText && kShortText + 2 <= kSize - used_) {
            // Most texts: copied and searched for a line feed a word at a time, without a call.
            char* out = buffer_.get() + used_;
            readsBack_ = readsBack_ && !CopyShort(out, text.data(), text.size());
            End(out + text.size());
            return;
        }
        readsBack_ = readsBack_ && !HasLineFeed(text);
        if (text.size() + 2 > kSize - used_) {
            Flush();
            if (text.size() + 2 > kSize) { // longer than the buffer: passed on as it is
                out_.append(text.data(), text.size());
                out_.append("\r\n", 2);
                return;
            }
        }
        char* out = buffer_.get() + used_;
        if (!text.empty())
            std::memcpy(out, text.data(), text.size());
        End(out + text.size());
    }
    void First(std::string_view text, std::string_view endMarker) {
        readsBack_ = readsBack_ && text != endMarker;
        Line(text);
    }
    void Text(const char*, std::string_view text) { Line(text); }
    void Bitmap(const char*, std::string_view text) { Line(text); }
    void Int(std::int32_t value) { Number(value); }
    void Unsigned(std::uint32_t value) { Number(value); }
    template <class E>
    void Enum(E value) {
        Number(static_cast<std::uint32_t>(value));
    }
    void Colour(const RgbTriple& colour) {
        Int(colour.red);
        Int(colour.green);
        Int(colour.blue);
    }
    void Flush() {
        out_.append(buffer_.get(), used_);
        used_ = 0;
    }

private:
    static constexpr std::size_t kSize = 1 << 18;
    static constexpr std::size_t kLongestNumber = 13; // "-2147483648\r\n"
    static constexpr std::size_t kShortText = 32;

    void End(char* out) {
        out[0] = '\r';
        out[1] = '\n';
        used_ = static_cast<std::size_t>(out + 2 - buffer_.get());
    }
    template <class N>
    void Number(N value) {
        if (kLongestNumber > kSize - used_)
            Flush();
        char* out = buffer_.get() + used_;
        if (value >= 0 && value <= 9) { // flags and most small fields
            *out = static_cast<char>('0' + value);
            End(out + 1);
        } else if (value >= 10 && value <= 999) { // sizes, places and colours
            const auto digits = static_cast<unsigned>(value);
            if (digits >= 100)
                *out++ = static_cast<char>('0' + digits / 100);
            *out++ = static_cast<char>('0' + digits / 10 % 10);
            *out++ = static_cast<char>('0' + digits % 10);
            End(out);
        } else {
            End(std::to_chars(out, out + kLongestNumber - 2, value).ptr);
        }
    }

    Sink& out_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool readsBack_ = true;
};

// The value of a line of plain digits without a call, else what `parse` makes of it.
template <class Parse>
auto PlainOr(std::string_view line, Parse parse) {
    const std::int32_t plain = PlainDigits(line);
    return plain >= 0 ? static_cast<decltype(parse(line))>(plain) : parse(line);
}

// Reads values from lines. A missing line ends the read for good; every later read is ignored. A strict
// reader also ends at a number not written as the writer writes numbers and at a misplaced marker.
class FieldReader {
public:
    explicit FieldReader(LineReader& lines, bool strict = false, StoredPathMap* paths = nullptr)
        : lines_(lines), strict_(strict), paths_(paths) {}

    bool ok() const { return ok_; }
    const std::string& damage() const { return damage_; }
    std::string Failure() const {
        if (!damage_.empty())
            return damage_;
        if (!lines_.failure().empty())
            return lines_.failure();
        return "the file ends after line " + std::to_string(lines_.lineNumber()) + ", inside the " + place_;
    }
    void Enter(const char* place) {
        if (ok_)
            place_ = place;
    }
    bool Next(std::string_view& line) {
        ok_ = ok_ && lines_.Next(line);
        return ok_;
    }
    void Skip() {
        std::string_view ignored;
        Next(ignored);
    }
    void Marker(std::string_view marker) {
        std::string_view line;
        if (Next(line) && strict_ && line != marker)
            Damaged(line, marker);
    }
    void Text(const char*, std::string& text) {
        std::string_view line;
        if (Next(line))
            text.assign(line);
    }
    // Bitmap paths take slots in the order they are read; a record starts again at slot 0.
    void StartRecord() { slot_ = 0; }
    void Bitmap(const char*, std::string& path) {
        std::string_view line;
        if (Next(line))
            Bitmap(path, line);
    }
    void Bitmap(std::string& path, std::string_view stored) { Path(path, stored, slot_++); }
    // Every frame of a list shares the last slot.
    void Frame(std::string& path, std::string_view stored) {
        Path(path, stored, StoredPathMap::kPathSlots - 1);
    }
    void Int(std::int32_t& value) {
        std::string_view line;
        if (NextNumber(line))
            value = PlainOr(line, ParseDecimal);
    }
    void Unsigned(std::uint32_t& value) {
        std::string_view line;
        if (NextNumber(line))
            value = PlainOr(line, ParseUnsignedDecimal);
    }
    template <class E>
    void Enum(E& value) {
        std::string_view line;
        if (NextNumber(line))
            value = static_cast<E>(PlainOr(line, ParseUnsignedDecimal));
    }
    void Colour(RgbTriple& colour) {
        Int(colour.red);
        Int(colour.green);
        Int(colour.blue);
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsNumber(std::string_view line) {
        if (line.starts_with('-'))
            line.remove_prefix(1);
        return !line.empty() && line.size() <= 10 && std::all_of(line.begin(), line.end(), IsDigit);
    }
    bool NextNumber(std::string_view& line) {
        if (!Next(line))
            return false;
        if (strict_ && !IsNumber(line))
            Damaged(line, "a number");
        return ok_;
    }
    void Path(std::string& path, std::string_view stored, std::size_t slot) {
        if (paths_ == nullptr)
            path.assign(stored);
        else
            paths_->Assign(path, stored, slot);
    }
    void Damaged(std::string_view line, std::string_view expected) {
        ok_ = false;
        damage_ = "line " + std::to_string(lines_.lineNumber()) + " holds \"" +
                  std::string(line.substr(0, 40)) + "\" where " + std::string(expected) + " belongs";
    }

    LineReader& lines_;
    bool strict_;
    StoredPathMap* paths_;
    std::size_t slot_ = 0;
    bool ok_ = true;
    const char* place_ = "project header";
    std::string damage_;
};

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\n')
            quoted += "\\n";
        else if (c == '\r')
            quoted += "\\r";
        else
            quoted += c;
    }
    return quoted + "\"";
}

// Collects the texts that the reader could not give back: line feeds, and end markers in the
// first line of a list entry. The item is named only when something is found.
class UnwritableFinder {
public:
    explicit UnwritableFinder(std::vector<std::string>& found) : found_(found) {}

    void SetItem(const char* kind, const std::string& first, const std::string* second = nullptr) {
        kind_ = kind;
        first_ = &first;
        second_ = second;
    }
    void Text(const char* field, const std::string& text) {
        if (HasLineFeed(text)) // a CR alone reads back: only CR LF is stripped
            found_.push_back(Item() + ": " + field + " holds a line break");
    }
    void Bitmap(const char* field, const std::string& text) { Text(field, text); }
    void First(const char* field, const std::string& text, std::string_view endMarker, const char* list) {
        Text(field, text);
        if (text == endMarker)
            found_.push_back(Item() + ": " + field + " " + Quoted(text) + " reads back as the end of the " +
                             list);
    }
    void Int(std::int32_t) {}
    void Unsigned(std::uint32_t) {}
    template <class E>
    void Enum(E) {}
    void Colour(const RgbTriple&) {}

private:
    std::string Item() const {
        return std::string(kind_) + " " + Quoted(second_ == nullptr ? *first_ : *first_ + "/" + *second_);
    }

    std::vector<std::string>& found_;
    const char* kind_ = "";
    const std::string* first_ = nullptr;
    const std::string* second_ = nullptr;
};

// An object's record: the one form of an object in the project file and on the clipboard.
template <class Sink>
void WriteObject(const ObjectDef& object, LineWriter<Sink>& writer) {
    writer.First(object.image, kEndObject);
    VisitObjectBeforeFrames(object, writer);
    writer.Line(kFramesMarker);
    for (const auto& frame : object.frames)
        writer.First(frame, kEndFrames);
    writer.Line(kEndFrames);
    VisitObjectAfterFrames(object, writer);
}

// Reads the record whose first line is `first`; false when the lines end inside it (or, for a strict
// reader, when it is damaged).
bool ReadObject(std::string_view first, FieldReader& reader, ObjectDef& object) {
    reader.StartRecord();
    reader.Bitmap(object.image, first);
    VisitObjectBeforeFrames(object, reader);
    reader.Marker(kFramesMarker);
    std::string_view line;
    while (reader.Next(line) && line != kEndFrames)
        reader.Frame(object.frames.emplace_back(), line);
    VisitObjectAfterFrames(object, reader);
    return reader.ok();
}

// Asks for memory ahead of its turn: the objects of a large project and their texts lie far apart,
// and waiting for each in turn takes longer than formatting them.
class Prefetcher {
public:
    static void Object(const ObjectDef& object) {
        const char* bytes = reinterpret_cast<const char*>(&object);
        for (std::size_t offset = 0; offset < sizeof(ObjectDef); offset += 64)
            __builtin_prefetch(bytes + offset);
    }
    // Once the object itself has arrived.
    static void Texts(const ObjectDef& object) {
        Prefetcher prefetcher;
        prefetcher.Text("image", object.image);
        VisitObjectBeforeFrames(object, prefetcher);
        for (const auto& frame : object.frames)
            prefetcher.Text("frame", frame);
        VisitObjectAfterFrames(object, prefetcher);
    }

    void Text(const char*, const std::string& text) { __builtin_prefetch(text.data()); }
    void Bitmap(const char*, const std::string& text) { __builtin_prefetch(text.data()); }
    void Int(std::int32_t) {}
    void Unsigned(std::uint32_t) {}
    template <class E>
    void Enum(E) {}
    void Colour(const RgbTriple&) {}
};

// Writes the whole file; false when something in it would not read back as written.
template <class Sink>
bool WriteProject(const Project& project, Sink& sink) {
    LineWriter<Sink> writer(sink);
    VisitHeader(project, writer);
    writer.Line(kScreenMarker);
    for (const auto& screen : project.screens) {
        writer.First(screen->name, kEndScreen);
        VisitScreenAfterName(*screen, writer);
    }
    writer.Line(kEndScreen);
    writer.Line(kObjectMarker);
    const auto& objects = project.objects;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (i + 2 < objects.size())
            Prefetcher::Object(*objects[i + 2]);
        if (i + 1 < objects.size())
            Prefetcher::Texts(*objects[i + 1]);
        WriteObject(*objects[i], writer);
    }
    writer.Line(kEndObject);
    return writer.readsBack();
}

bool ReadProject(Project& project, LineReader& lines, std::string* error, StoredPathMap* paths = nullptr) {
    Project loaded;
    FieldReader reader(lines, false, paths);
    VisitHeader(loaded, reader);
    reader.Skip(); // "SCREEN", not checked
    reader.Enter("screen list");
    std::string_view line;
    while (reader.Next(line) && line != kEndScreen) {
        auto screen = std::make_unique<ScreenDef>();
        screen->name.assign(line);
        reader.StartRecord();
        VisitScreenAfterName(*screen, reader);
        if (reader.ok())
            loaded.AddScreen(std::move(screen));
    }
    reader.Skip(); // "OBJECT", not checked
    reader.Enter("object list");
    while (reader.Next(line) && line != kEndObject) {
        auto object = std::make_unique<ObjectDef>(ObjectDef::ToBeRead{});
        if (ReadObject(line, reader, *object))
            loaded.AddObject(std::move(object));
    }
    if (!reader.ok()) {
        if (error != nullptr)
            *error = reader.Failure();
        return false;
    }
    project.name = std::move(loaded.name);
    project.x = loaded.x;
    project.y = loaded.y;
    project.width = loaded.width;
    project.height = loaded.height;
    project.bitsPerPixel = loaded.bitsPerPixel;
    project.appMode = loaded.appMode;
    project.showFrameRate = loaded.showFrameRate;
    project.waitVerticalBlank = loaded.waitVerticalBlank;
    project.screens = std::move(loaded.screens);
    project.objects = std::move(loaded.objects);
    project.modified = 0;
    return true;
}

std::size_t EstimatedSize(const Project& project) {
    std::size_t frames = 0;
    for (const auto& object : project.objects)
        frames += object->frames.size();
    return 256 + project.screens.size() * 128 + project.objects.size() * 1536 + frames * 64;
}

} // namespace

std::string FormatProjectFile(const Project& project) {
    std::string out;
    out.reserve(EstimatedSize(project));
    WriteProject(project, out);
    return out;
}

bool ParseProjectFile(Project& project, std::string_view text, std::string* error) {
    LineReader lines(text);
    return ReadProject(project, lines, error);
}

std::vector<std::string> FindUnwritableFields(const Project& project) {
    std::vector<std::string> found;
    UnwritableFinder finder(found);
    finder.SetItem("project", project.name);
    VisitHeader(project, finder);
    for (const auto& screen : project.screens) {
        finder.SetItem("screen", screen->name);
        finder.First("name", screen->name, kEndScreen, "screen list");
        VisitScreenAfterName(*screen, finder);
    }
    for (const auto& object : project.objects) {
        finder.SetItem("object", object->screenName, &object->name);
        finder.First("image", object->image, kEndObject, "object list");
        VisitObjectBeforeFrames(*object, finder);
        for (const auto& frame : object->frames)
            finder.First("frame", frame, kEndFrames, "frame list");
        VisitObjectAfterFrames(*object, finder);
    }
    return found;
}

bool Project::WriteProjectFile(const std::string& path, std::string* error) {
    AtomicFile file(path);
    if (!file.Open(error))
        return false;
    if (!WriteProject(*this, file)) {
        if (error != nullptr)
            *error = "the project cannot be saved unchanged: " + FindUnwritableFields(*this).front();
        return false; // the unfinished temporary file goes with `file`
    }
    if (!file.Commit(error))
        return false;
    modified = 0;
    return true;
}

namespace {

bool ReadFile(Project& project, const std::string& path, std::string* error, StoredPathMap* paths) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int code = fd < 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : errno;
        if (fd >= 0)
            ::close(fd);
        if (error != nullptr)
            *error = "cannot open '" + path + "': " + std::strerror(code);
        return false;
    }
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > kMaxProjectFileSize) {
        ::close(fd);
        if (error != nullptr)
            *error = "'" + path + "': " + LineReader::TooLarge(kMaxProjectFileSize);
        return false;
    }
    LineReader lines(fd, kMaxProjectFileSize);
    const bool read = ReadProject(project, lines, error, paths);
    ::close(fd);
    if (!read && error != nullptr)
        *error = "'" + path + "': " + *error;
    return read;
}

} // namespace

bool Project::ReadProjectFile(const std::string& path, std::string* error) {
    return ReadFile(*this, path, error, nullptr);
}

bool ReadProjectFile(Project& project, const std::string& path, StoredPathMap& paths, std::string* error) {
    return ReadFile(project, path, error, &paths);
}

void AppendObjectRecords(const std::vector<const ObjectDef*>& objects, std::string& out) {
    LineWriter<std::string> writer(out);
    for (const ObjectDef* object : objects)
        WriteObject(*object, writer);
}

bool ReadObjectRecord(LineReader& lines, ObjectDef& object, std::string& error) {
    FieldReader reader(lines, true);
    std::string_view first;
    if (reader.Next(first) && ReadObject(first, reader, object))
        return true;
    error = !reader.damage().empty() ? reader.damage() : !lines.failure().empty() ? lines.failure() : "";
    return false;
}

std::string SaveFolder() {
    std::error_code ignored;
    return std::filesystem::current_path(ignored).string() + "/save/";
}

std::string ProjectFileName(const std::string& typed) {
    constexpr std::string_view extension = ".tvp";
    if (typed.size() > 3 && typed.ends_with(extension))
        return typed;
    return typed + std::string(extension);
}

std::vector<std::string> ListProjectFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (name.ends_with(".tvp") && it->is_regular_file(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tav
