#include "CTavEdit.h"

#include "CTavApp.h"
#include "CTavScrollBars.h"
#include "TavClipboard.h"
#include "TavRuntime.h"
#include "TavText.h"
#include "tavctrls/platform/Text.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kEndCaretWidth = 7;
constexpr int kBackScrollStep = 20;
// A single line scrolls over its text width plus this; multi-line content is lines plus this high.
constexpr int kLineContentMargin = 10;
constexpr int kLinesContentMargin = 5;
// Multi-line text breaks where a line reaches the width minus this.
constexpr int kBreakMargin = 5;
constexpr std::string_view kAcceptedPunctuation = " ,.?;:\\/_-";
// The selection: white text on the desktop's accent blue.
constexpr DWORD kSelectionPixel = 0x3584E4;
constexpr COLORREF kSelectedText = RGB(255, 255, 255);

struct CodeRange {
    char32_t first;
    char32_t last;
};

// The letters of the alphabetic scripts (with the vowel signs that Indic words are written with),
// leaving out the punctuation and symbols inside those blocks.
constexpr CodeRange kLetters[] = {
    {0x00AA, 0x00AA}, {0x00B5, 0x00B5}, {0x00BA, 0x00BA},   {0x00C0, 0x00D6}, {0x00D8, 0x00F6},
    {0x00F8, 0x02AF}, {0x0370, 0x0373}, {0x0376, 0x0377},   {0x037A, 0x037D}, {0x037F, 0x037F},
    {0x0386, 0x0386}, {0x0388, 0x03F5}, {0x03F7, 0x0481},   {0x048A, 0x052F}, {0x0531, 0x0556},
    {0x0560, 0x0588}, {0x05D0, 0x05EA}, {0x05EF, 0x05F2},   {0x0620, 0x064A}, {0x066E, 0x066F},
    {0x0671, 0x06D3}, {0x06D5, 0x06D5}, {0x06FA, 0x06FC},   {0x06FF, 0x06FF}, {0x0900, 0x0963},
    {0x0966, 0x0DFF}, {0x0E01, 0x0E3A}, {0x0E40, 0x0E4E},   {0x0E50, 0x0E59}, {0x0E81, 0x0EDF},
    {0x10A0, 0x10FA}, {0x10FC, 0x11FF}, {0x1E00, 0x1FBC},   {0x1FBE, 0x1FBE}, {0x1FC2, 0x1FCC},
    {0x1FD0, 0x1FDB}, {0x1FE0, 0x1FEC}, {0x1FF2, 0x1FFC},   {0x3041, 0x3096}, {0x309D, 0x309F},
    {0x30A1, 0x30FA}, {0x30FC, 0x30FF}, {0x3400, 0x4DBF},   {0x4E00, 0x9FFF}, {0xAC00, 0xD7A3},
    {0xFF21, 0xFF3A}, {0xFF41, 0xFF5A}, {0x20000, 0x2FA1F},
};

bool IsLetter(char32_t code) {
    const auto after =
        std::upper_bound(std::begin(kLetters), std::end(kLetters), code,
                         [](char32_t value, const CodeRange& range) { return value < range.first; });
    return after != std::begin(kLetters) && code <= std::prev(after)->last;
}

// The length of the sequence a lead byte starts; 0 for a byte that cannot start one.
std::size_t LeadLength(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF)
        return 2;
    if (byte >= 0xE0 && byte <= 0xEF)
        return 3;
    if (byte >= 0xF0 && byte <= 0xF4)
        return 4;
    return 0;
}

// Whether `byte` can follow the bytes of an unfinished sequence (no overlong forms, surrogates or
// code points past U+10FFFF).
bool Continues(const std::string& pending, unsigned char byte) {
    if ((byte & 0xC0u) != 0x80u)
        return false;
    if (pending.size() != 1)
        return true;
    switch (static_cast<unsigned char>(pending[0])) {
    case 0xE0:
        return byte >= 0xA0;
    case 0xED:
        return byte <= 0x9F;
    case 0xF0:
        return byte >= 0x90;
    case 0xF4:
        return byte <= 0x8F;
    default:
        return true;
    }
}

// The code point of a well-formed multi-byte sequence.
char32_t Decode(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    char32_t code = lead & (sequence.size() == 2 ? 0x1Fu : sequence.size() == 3 ? 0x0Fu : 0x07u);
    for (std::size_t i = 1; i < sequence.size(); ++i)
        code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3Fu);
    return code;
}

bool IsAsciiAccepted(unsigned char byte, bool numbersOnly) {
    const bool digit = byte >= '0' && byte <= '9';
    if (numbersOnly || digit)
        return digit;
    const bool letter = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
    return letter || kAcceptedPunctuation.find(static_cast<char>(byte)) != std::string_view::npos;
}

// The start of the character that ends at `at` (which is a character boundary above 0).
std::size_t PreviousBoundary(const std::string& text, std::size_t at) {
    for (std::size_t length = 4; length >= 2; --length)
        if (at >= length && tav::Utf8SequenceLength(text, at - length) == length)
            return at - length;
    return at - 1;
}

// `at`, moved back to the start of the character it falls inside.
std::size_t BoundaryAtOrBefore(const std::string& text, std::size_t at) {
    for (std::size_t back = 1; back <= 3 && back <= at; ++back)
        if (tav::Utf8SequenceLength(text, at - back) > back)
            return at - back;
    return at;
}

std::size_t CountCharacters(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += tav::Utf8SequenceLength(text, at))
        ++count;
    return count;
}

} // namespace

// Holds back redrawing while text, caret and scroll position change, then redraws once (unless
// redrawing was already held by someone else, or the caller redraws itself).
class CTavEdit::RedrawHold {
public:
    explicit RedrawHold(CTavEdit& edit, bool redrawAtEnd = true)
        : m_edit(edit), m_previous(edit.m_redrawEnabled), m_redrawAtEnd(redrawAtEnd) {
        edit.m_redrawEnabled = 0;
    }
    ~RedrawHold() {
        m_edit.m_redrawEnabled = m_previous;
        if (m_previous && m_redrawAtEnd)
            m_edit.Redraw();
    }
    RedrawHold(const RedrawHold&) = delete;
    RedrawHold& operator=(const RedrawHold&) = delete;

private:
    CTavEdit& m_edit;
    int m_previous;
    bool m_redrawAtEnd;
};

CTavEdit::CTavEdit() = default;

CTavEdit::~CTavEdit() = default;

DWORD CTavEdit::Initialize(const char* text, DWORD id, float x, float y, int width, int height,
                           CTavScreen* screen, const char* backBitmap) {
    m_caret = m_anchor = 0;
    m_pending.clear();
    const DWORD result = CTavStatic::Initialize(text, id, x, y, width, height, screen, backBitmap);
    if (result != TAVERROR_OK)
        return result;
    SetScrollBars(width, height, 5);
    if (text != nullptr && *text != '\0')
        SetText(text);
    return TAVERROR_OK;
}

CTavObject* CTavEdit::Clone(CTavObject* target, int withScreen) {
    auto* copy = target != nullptr ? static_cast<CTavEdit*>(target) : new CTavEdit;
    copy->m_caretShown = m_caretShown;
    copy->m_blinkInterval = m_blinkInterval;
    copy->m_blinkTime = m_blinkTime;
    copy->m_caret = m_caret;
    copy->m_anchor = m_anchor;
    copy->m_maxLength = m_maxLength;
    copy->m_numbersOnly = m_numbersOnly;
    copy->m_pending.clear();
    RedrawHold hold(*copy);
    CTavStatic::Clone(copy, withScreen);
    if (m_scrollBars != nullptr) {
        const CTavScrollBars* bars = Bars();
        copy->SetScrollBars(m_width, m_height, bars != nullptr ? bars->GetOption() : 5);
        copy->Layout();
        int scrollX = 0, scrollY = 0;
        GetScrollPosition(&scrollX, &scrollY);
        copy->ScrollTo(scrollX, scrollY);
    }
    return copy;
}

// ---- text bookkeeping ----

int CTavEdit::Measure(std::string_view text) {
    if (text.empty() || m_image == nullptr || m_image->GetDDSurface() == nullptr)
        return 0;
    if (m_font == nullptr || m_fontKeyName != m_fontName || m_fontKey[0] != m_fontWidth ||
        m_fontKey[1] != m_fontHeight || m_fontKey[2] != m_fontWeight) {
        m_font = tav::platform::OpenFont({m_fontName, m_fontWidth, m_fontHeight, m_fontWeight});
        m_fontKeyName = m_fontName;
        m_fontKey[0] = m_fontWidth;
        m_fontKey[1] = m_fontHeight;
        m_fontKey[2] = m_fontWeight;
    }
    return m_font != nullptr ? tav::platform::MeasureText(*m_font, text).width : 0;
}

int CTavEdit::CharacterWidthAt(std::size_t at) {
    return Measure(std::string_view(m_text).substr(at, tav::Utf8SequenceLength(m_text, at)));
}

void CTavEdit::Layout() {
    m_caret = BoundaryAtOrBefore(m_text, std::min(m_caret, m_text.size()));
    m_anchor = BoundaryAtOrBefore(m_text, std::min(m_anchor, m_text.size()));
    m_textWidth = 0;
    m_characterCount = 0;
    m_wellFormed = true;
    for (std::size_t at = 0; at < m_text.size();) {
        if (at == m_caret)
            m_caretX = m_textWidth;
        const std::size_t length = tav::Utf8SequenceLength(m_text, at);
        if (length == 1 && static_cast<unsigned char>(m_text[at]) >= 0x80)
            m_wellFormed = false;
        m_textWidth += Measure(std::string_view(m_text).substr(at, length));
        ++m_characterCount;
        at += length;
    }
    if (m_caret == m_text.size())
        m_caretX = m_textWidth;
    m_lines.clear();
    if (m_multiline)
        BreakLines(0, m_lines, [](std::size_t) { return false; });
    else
        m_lines.push_back(m_text);
    if (m_lines.empty())
        m_lines.emplace_back();
    UpdateContentSize();
}

template <typename Meets>
std::size_t CTavEdit::BreakLines(std::size_t from, std::vector<std::string>& out, Meets&& meets) {
    const int limit = m_width - kBreakMargin;
    std::string line;
    int lineWidth = 0;
    for (std::size_t at = from; at < m_text.size();) {
        const std::size_t length = tav::Utf8SequenceLength(m_text, at);
        const std::string_view character = std::string_view(m_text).substr(at, length);
        at += length;
        if (character == "\n") {
            out.push_back(line + " ");
            line.clear();
            lineWidth = 0;
            if (meets(at))
                return at;
            continue;
        }
        const int width = Measure(character);
        if (!line.empty() && lineWidth + width >= limit) {
            out.push_back(line);
            if (meets(at - length))
                return at - length;
            line = character;
            lineWidth = width;
        } else {
            line += character;
            lineWidth += width;
        }
    }
    if (!line.empty())
        out.push_back(line);
    return std::string::npos;
}

void CTavEdit::Relayout(std::size_t at, std::size_t removed, std::size_t inserted) {
    if (m_lines.empty()) {
        Layout();
        return;
    }
    // The old line holding the change; or the one before, when that one was broken rather than ended
    // by a newline, since a narrower first character may now fit on it.
    std::size_t first = 0;
    std::size_t firstStart = 0;
    while (first + 1 < m_lines.size() && at >= firstStart + m_lines[first].size())
        firstStart += m_lines[first++].size();
    if (first > 0 && m_text[firstStart - 1] != '\n')
        firstStart -= m_lines[--first].size();

    // The old lines past the change are walked alongside: once a new line starts where an old one
    // did (same text from there on), the rest of the old layout holds.
    std::size_t oldIndex = first;
    std::size_t oldStart = firstStart;
    const auto meets = [&](std::size_t newStart) {
        if (newStart < at + inserted || newStart >= m_text.size())
            return false;
        const std::size_t target = newStart - inserted + removed;
        while (oldIndex < m_lines.size() && oldStart < target)
            oldStart += m_lines[oldIndex++].size();
        return oldIndex < m_lines.size() && oldStart == target;
    };
    std::vector<std::string> fresh;
    const std::size_t stop = BreakLines(firstStart, fresh, meets);
    const std::size_t keepFrom = stop == std::string::npos ? m_lines.size() : oldIndex;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(first),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(keepFrom));
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(first),
                   std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    if (m_lines.empty())
        m_lines.emplace_back();
}

void CTavEdit::EditText(std::size_t at, std::size_t removeLength, std::string_view insert, std::size_t caret,
                        int caretX) {
    const std::string removed = m_text.substr(at, removeLength);
    m_text.replace(at, removeLength, insert);
    m_caret = m_anchor = caret;
    if (!m_wellFormed) {
        // Stray bytes next to the change may now join with it: measure everything again.
        Layout();
        return;
    }
    m_caretX = caretX;
    m_textWidth += Measure(insert) - Measure(removed);
    m_characterCount = m_characterCount + CountCharacters(std::string(insert)) - CountCharacters(removed);
    if (m_multiline)
        Relayout(at, removeLength, insert.size());
    else if (m_lines.size() == 1)
        m_lines[0].replace(at, removeLength, insert);
    else
        m_lines.assign(1, m_text);
    UpdateContentSize();
}

CTavScrollBars* CTavEdit::Bars() const {
    return dynamic_cast<CTavScrollBars*>(m_scrollBars);
}

void CTavEdit::UpdateContentSize() {
    CTavScrollBars* bars = Bars();
    if (bars == nullptr)
        return;
    int width = m_width;
    int height = m_height;
    if (m_multiline)
        height = std::max(height, static_cast<int>(m_lines.size()) * m_fontHeight + kLinesContentMargin);
    else
        width = std::max(width, m_textWidth + kLineContentMargin);
    if (width == bars->GetContentWidth() && height == bars->GetContentHeight())
        return;
    // Whoever changed the text redraws.
    RedrawHold hold(*this, false);
    bars->SetContentSize(width, height);
    const int maxX = bars->GetContentWidth() - bars->GetViewWidth();
    const int maxY = bars->GetContentHeight() - bars->GetViewHeight();
    if (bars->GetScrollX() > maxX || bars->GetScrollY() > maxY)
        bars->SetScrollPosition(bars->GetScrollX(), bars->GetScrollY());
}

void CTavEdit::ScrollTo(int x, int y) {
    if (CTavScrollBars* bars = Bars())
        bars->SetScrollPosition(x, y);
}

// ---- caret ----

void CTavEdit::SetCaretPosition(int position) {
    SetSelection(position, position);
}

void CTavEdit::SetSelection(int anchor, int caret) {
    const auto clamp = [this](int position) {
        const std::size_t wanted = position < 0 ? 0 : static_cast<std::size_t>(position);
        return BoundaryAtOrBefore(m_text, std::min(wanted, m_text.size()));
    };
    m_anchor = clamp(anchor);
    m_caret = clamp(caret);
    m_caretX = Measure(std::string_view(m_text).substr(0, m_caret));
    Redraw();
}

void CTavEdit::SelectAll() {
    m_anchor = 0;
    m_caret = m_text.size();
    m_caretX = m_textWidth;
    Redraw();
}

BOOL CTavEdit::HasSelection() const {
    return m_anchor != m_caret ? TRUE : FALSE;
}

std::string CTavEdit::GetSelectedText() const {
    return m_text.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

int CTavEdit::XOf(std::size_t at) {
    const std::string_view text = m_text;
    return at <= m_caret ? m_caretX - Measure(text.substr(at, m_caret - at))
                         : m_caretX + Measure(text.substr(m_caret, at - m_caret));
}

void CTavEdit::GetCaretLineColumn(int* line, int* column) const {
    std::size_t index = 0;
    std::size_t before = 0;
    if (m_multiline) {
        // The first line that ends after the caret; the very end is on the last line.
        while (index + 1 < m_lines.size() && m_caret >= before + m_lines[index].size())
            before += m_lines[index++].size();
    }
    if (line != nullptr)
        *line = static_cast<int>(index);
    if (column != nullptr)
        *column = static_cast<int>(m_caret - before);
}

void CTavEdit::RestartBlink() {
    m_caretShown = 1;
    m_blinkTime = 0;
}

void CTavEdit::AfterUpdate() {
    if (m_app == nullptr)
        return;
    m_blinkTime += m_app->GetFrameTime();
    if (m_blinkTime < m_blinkInterval)
        return;
    m_blinkTime = 0;
    m_caretShown = m_caretShown ? 0 : 1;
    // Without the focus neither caret nor selection is drawn: nothing to do unless one is still shown.
    if (m_focus || m_caretDrawn || m_selectionDrawn)
        Redraw();
}

// ---- drawing ----

void CTavEdit::FindVisibleStart(int left, std::size_t* start, int* x) {
    // Walk from the nearest place whose x is known: the start, the caret or the end.
    std::size_t at = 0;
    int atX = 0;
    const auto distance = [left](int from) { return from > left ? from - left : left - from; };
    if (m_caret <= m_text.size() && distance(m_caretX) < distance(atX)) {
        at = m_caret;
        atX = m_caretX;
    }
    if (distance(m_textWidth) < distance(atX)) {
        at = m_text.size();
        atX = m_textWidth;
    }
    while (at > 0 && atX > left) {
        at = PreviousBoundary(m_text, at);
        atX -= CharacterWidthAt(at);
    }
    while (at < m_text.size()) {
        const int width = CharacterWidthAt(at);
        if (atX + width > left)
            break;
        atX += width;
        at += tav::Utf8SequenceLength(m_text, at);
    }
    *start = at;
    *x = atX;
}

void CTavEdit::DrawSingleLine() {
    PaintBack();
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    const int y = m_textOffsetY - scrollY;
    if (y >= m_height || y + m_fontHeight <= 0)
        return;
    CTavSurface strip;
    if (!MakeStrip(strip))
        return;
    // Only the characters that can reach the strip are drawn, at the pen positions they have in the
    // whole line; a glyph may overhang its advance, so a margin of one cell is drawn on each side.
    const int margin = std::max(m_fontHeight, 1);
    std::size_t start = 0;
    int startX = 0;
    FindVisibleStart(scrollX - margin, &start, &startX);
    std::size_t end = start;
    for (int endX = startX; end < m_text.size() && endX < scrollX + m_width + margin;) {
        endX += CharacterWidthAt(end);
        end += tav::Utf8SequenceLength(m_text, end);
    }
    DrawStrip(strip, start, std::string_view(m_text).substr(start, end - start), startX - scrollX);
    BlitStrip(strip, m_textOffsetX, y);
}

// The static's lines, with the selection.
void CTavEdit::DrawLineStrip(CTavSurface& strip, std::size_t from, const std::string& line) {
    DrawStrip(strip, from, line, 0);
}

void CTavEdit::DrawStrip(CTavSurface& strip, std::size_t from, std::string_view text, int penX) {
    strip.Fill(tav::PixelOfColour(m_backColour));
    const std::size_t start = std::max(SelectionStart(), from);
    const std::size_t end = std::min(SelectionEnd(), from + text.size());
    if (!m_focus || start >= end) {
        strip.DrawText(penX, 0, m_textColour, std::string(text).c_str());
        return;
    }
    // The selected characters are written again over their highlight, at the same pen positions.
    const std::string selected(text.substr(start - from, end - start));
    const int left = penX + Measure(text.substr(0, start - from));
    strip.FillRect(left, 0, left + Measure(selected), strip.GetHeight(), kSelectionPixel);
    strip.DrawText(penX, 0, m_textColour, std::string(text).c_str());
    strip.DrawText(left, 0, kSelectedText, selected.c_str());
    m_selectionDrawn = true;
}

void CTavEdit::DrawCaret() {
    m_caretDrawn = false;
    if (!m_caretShown || !m_focus || m_caret > m_text.size())
        return;
    int line = 0, column = 0;
    GetCaretLineColumn(&line, &column);
    const std::string& lineText =
        m_multiline && static_cast<std::size_t>(line) < m_lines.size() ? m_lines[line] : m_text;
    const auto col = std::min(static_cast<std::size_t>(column), lineText.size());
    const int before = m_multiline ? Measure(std::string_view(lineText).substr(0, col)) : m_caretX;
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    // An underline below the character at the caret; the caret scrolls with its line.
    const int x = m_textOffsetX - scrollX + before;
    const int y = (line + 1) * m_fontHeight + m_textOffsetY - scrollY;
    int width = kEndCaretWidth;
    if (m_caret > 0 && m_caret < m_text.size() && col < lineText.size())
        width = Measure(std::string_view(lineText).substr(col, tav::Utf8SequenceLength(lineText, col)));
    m_image->DrawLine(x, y, x + width, y, 0);
    m_caretDrawn = true;
}

void CTavEdit::DrawContent() {
    if (m_image == nullptr || m_image->GetDDSurface() == nullptr)
        return;
    m_selectionDrawn = false;
    if (m_multiline)
        CTavStatic::DrawContent();
    else
        DrawSingleLine();
    DrawCaret();
}

// ---- keys ----

bool CTavEdit::ShiftHeld() const {
    return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}

bool CTavEdit::ControlHeld() const {
    return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

BOOL CTavEdit::OnKeyDown(UINT key) {
    // A key between the bytes of a character ends it unfinished.
    m_pending.clear();
    if (ControlHeld() && (key == 'A' || key == 'C' || key == 'X' || key == 'V')) {
        RedrawHold hold(*this);
        if (key == 'A')
            SelectAll();
        else if (key == 'V')
            Paste();
        else if (HasSelection() && TavSetClipboardText(GetSelectedText()) && key == 'X')
            DeleteSelection();
        RestartBlink();
        return FALSE;
    }
    const bool vertical = key == VK_UP || key == VK_DOWN;
    const bool handled = key == VK_LEFT || key == VK_RIGHT || key == VK_END || key == VK_HOME ||
                         key == VK_DELETE || key == VK_BACK || (vertical && m_multiline);
    if (!handled)
        return FALSE;
    RedrawHold hold(*this);
    const bool extend = ShiftHeld();
    if ((key == VK_DELETE || key == VK_BACK) && DeleteSelection()) {
        RestartBlink();
        return FALSE;
    }
    if ((key == VK_LEFT || key == VK_RIGHT) && HasSelection() && !extend) {
        // An arrow collapses the selection to its side.
        const std::size_t to = key == VK_LEFT ? SelectionStart() : SelectionEnd();
        m_caretX = XOf(to);
        m_caret = m_anchor = to;
        RestartBlink();
        return FALSE;
    }
    switch (key) {
    case VK_LEFT:
        MoveLeft();
        break;
    case VK_RIGHT:
        MoveRight();
        break;
    case VK_DOWN:
        MoveVertically(1);
        break;
    case VK_UP:
        MoveVertically(-1);
        break;
    case VK_END:
        MoveToEnd();
        break;
    case VK_HOME:
        MoveToStart();
        break;
    case VK_DELETE:
        DeleteAtCaret();
        break;
    default:
        DeleteBeforeCaret();
        break;
    }
    if (!extend)
        m_anchor = m_caret;
    RestartBlink();
    return FALSE;
}

void CTavEdit::MoveLeft() {
    if (m_caret > 0) {
        m_caret = PreviousBoundary(m_text, m_caret);
        m_caretX -= CharacterWidthAt(m_caret);
    }
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    if (!m_multiline && scrollX >= 1 && m_caretX <= scrollX)
        ScrollTo(m_caretX - Measure("a"), scrollY);
}

void CTavEdit::MoveRight() {
    if (m_caret < m_text.size()) {
        m_caretX += CharacterWidthAt(m_caret);
        m_caret += tav::Utf8SequenceLength(m_text, m_caret);
    }
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    if (!m_multiline && m_caretX - scrollX > m_width)
        ScrollTo(m_caretX + Measure("a"), scrollY);
}

void CTavEdit::MoveVertically(int direction) {
    int line = 0, column = 0;
    GetCaretLineColumn(&line, &column);
    const int target = line + direction;
    if (target < 0 || static_cast<std::size_t>(target) >= m_lines.size())
        return;
    const int x = Measure(std::string_view(m_lines[line]).substr(0, static_cast<std::size_t>(column)));
    std::size_t targetStart = 0;
    for (int i = 0; i < target; ++i)
        targetStart += m_lines[i].size();
    // The longest prefix no wider than x; on any line but the last it stops before the line's final
    // character, so that the caret stays on the line it moved to.
    const std::string& text = m_lines[target];
    const bool last = static_cast<std::size_t>(target) + 1 == m_lines.size();
    std::size_t prefix = 0;
    int width = 0;
    while (prefix < text.size()) {
        const std::size_t length = tav::Utf8SequenceLength(text, prefix);
        const int next = width + Measure(std::string_view(text).substr(prefix, length));
        if (next > x || (!last && prefix + length >= text.size()))
            break;
        width = next;
        prefix += length;
    }
    m_caret = targetStart + prefix;
    m_caretX = Measure(std::string_view(m_text).substr(0, m_caret));
}

void CTavEdit::MoveToEnd() {
    m_caret = m_text.size();
    m_caretX = m_textWidth;
    if (const CTavScrollBars* bars = Bars())
        ScrollTo(bars->GetContentWidth(), bars->GetContentHeight());
}

void CTavEdit::MoveToStart() {
    m_caret = 0;
    m_caretX = 0;
    ScrollTo(0, 0);
}

void CTavEdit::DeleteAtCaret() {
    if (m_caret >= m_text.size())
        return;
    EditText(m_caret, tav::Utf8SequenceLength(m_text, m_caret), {}, m_caret, m_caretX);
}

bool CTavEdit::DeleteSelection() {
    if (!HasSelection())
        return false;
    const std::size_t start = SelectionStart();
    EditText(start, SelectionEnd() - start, {}, start, XOf(start));
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    if (m_caretX < scrollX)
        ScrollTo(std::min(scrollX - kBackScrollStep, m_caretX), scrollY);
    return true;
}

void CTavEdit::DeleteBeforeCaret() {
    if (m_caret == 0)
        return;
    const std::size_t start = PreviousBoundary(m_text, m_caret);
    EditText(start, m_caret - start, {}, start, m_caretX - CharacterWidthAt(start));
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    if (m_caretX < scrollX)
        ScrollTo(scrollX - kBackScrollStep, scrollY);
}

// ---- characters ----

std::string CTavEdit::CollectByte(unsigned char byte) {
    if (!m_pending.empty()) {
        if (Continues(m_pending, byte)) {
            m_pending.push_back(static_cast<char>(byte));
            if (m_pending.size() < LeadLength(static_cast<unsigned char>(m_pending[0])))
                return {};
            std::string complete;
            complete.swap(m_pending);
            return complete;
        }
        // The unfinished character is dropped; the byte may still start something new.
        m_pending.clear();
    }
    if (byte < 0x80)
        return std::string(1, static_cast<char>(byte));
    if (LeadLength(byte) != 0)
        m_pending.push_back(static_cast<char>(byte));
    return {};
}

bool CTavEdit::Accepts(std::string_view character) const {
    if (character.size() == 1)
        return IsAsciiAccepted(static_cast<unsigned char>(character[0]), m_numbersOnly != 0);
    return !m_numbersOnly && IsLetter(Decode(character));
}

BOOL CTavEdit::OnChar(char c) {
    const std::string character = CollectByte(static_cast<unsigned char>(c));
    if (character.empty() || !Accepts(character))
        return FALSE;
    const std::size_t selected = CountCharacters(GetSelectedText());
    if (m_maxLength >= 1 && m_characterCount - selected + 1 > static_cast<std::size_t>(m_maxLength))
        return FALSE;
    RedrawHold hold(*this);
    InsertText(character);
    RestartBlink();
    return FALSE;
}

void CTavEdit::InsertText(std::string_view text) {
    const std::size_t start = SelectionStart();
    const int width = Measure(text);
    EditText(start, SelectionEnd() - start, text, start + text.size(), XOf(start) + width);
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    if (!m_multiline && m_caretX - scrollX > m_width)
        ScrollTo(m_caretX + width, scrollY);
    else if (!m_multiline && m_caretX < scrollX)
        ScrollTo(m_caretX - kBackScrollStep, scrollY);
}

std::string CTavEdit::FilterPasted(std::string_view text) {
    std::size_t room = std::string::npos;
    if (m_maxLength >= 1) {
        const std::size_t kept = m_characterCount - CountCharacters(GetSelectedText());
        room =
            static_cast<std::size_t>(m_maxLength) > kept ? static_cast<std::size_t>(m_maxLength) - kept : 0;
    }
    std::string accepted;
    const std::string whole(text);
    for (std::size_t at = 0, length = 0; at < whole.size() && room > 0; at += length) {
        length = tav::Utf8SequenceLength(whole, at);
        const std::string_view character = std::string_view(whole).substr(at, length);
        const bool stray = length == 1 && static_cast<unsigned char>(character[0]) >= 0x80;
        if (!stray && Accepts(character)) {
            accepted += character;
            --room;
        }
    }
    return accepted;
}

void CTavEdit::Paste() {
    const std::string text = FilterPasted(TavGetClipboardText());
    if (!text.empty())
        InsertText(text);
}

std::size_t CTavEdit::CaretAt(int x, int y) {
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    const int left = x - static_cast<int>(m_appX) - m_textOffsetX + scrollX;
    std::size_t line = 0, lineStart = 0;
    if (m_multiline && m_fontHeight > 0) {
        const int row = (y - static_cast<int>(m_appY) - m_textOffsetY + scrollY) / m_fontHeight;
        for (; line + 1 < m_lines.size() && static_cast<int>(line) < row; ++line)
            lineStart += m_lines[line].size();
    }
    const std::string& text = m_multiline ? m_lines[line] : m_text;
    // Past a character's middle the caret goes after it; on a line that goes on below, never after its
    // last character, so that the caret stays on that line.
    const std::size_t last = m_multiline && line + 1 < m_lines.size() ? text.size() - 1 : text.size();
    std::size_t at = 0;
    for (int atX = 0; at < last;) {
        const std::size_t length = tav::Utf8SequenceLength(text, at);
        const int width = Measure(std::string_view(text).substr(at, length));
        if (atX + width / 2 >= left || at + length > last)
            break;
        atX += width;
        at += length;
    }
    return lineStart + at;
}

BOOL CTavEdit::OnLMouseDown(int x, int y) {
    m_pending.clear();
    if (m_lines.empty())
        return FALSE;
    m_caret = m_anchor = CaretAt(x, y);
    m_caretX = Measure(std::string_view(m_text).substr(0, m_caret));
    RestartBlink();
    Redraw();
    return FALSE;
}

BOOL CTavEdit::OnMouseWheel(int, int, int delta) {
    return m_multiline && m_scrollBars != nullptr && m_scrollBars->Wheel(delta, 3 * m_fontHeight) ? TRUE
                                                                                                  : FALSE;
}
