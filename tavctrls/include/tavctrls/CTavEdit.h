#pragma once

#include "CTavStatic.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tav::platform {
class Font;
}
class CTavScrollBars;

// A text entry field, single- or multi-line: a static with a blinking caret and keyboard editing.
//
// Text is UTF-8 and characters arrive one byte per OnChar. The bytes of a multi-byte character are
// collected and the character is inserted whole once its last byte has come; a byte that can neither
// start nor continue a well-formed sequence is dropped, together with the unfinished sequence it
// interrupts. The caret is a byte index that always stands on a character boundary; caret moves,
// deletions and the maximum length count whole characters.
//
// Accepted: ASCII letters and digits, space and , . ? ; : \ / _ -, and the non-ASCII characters of the
// alphabetic scripts (Latin, IPA, Greek, Cyrillic, Armenian, Hebrew, Arabic, the Indic scripts, Thai,
// Lao, Georgian, Hangul, kana, CJK ideographs, fullwidth Latin), all of which count as letters.
// Punctuation, symbols, emoji, spaces other than the ASCII one, controls and private-use characters
// are refused. Digits-only mode accepts 0 to 9 and nothing else.
//
// A character the font has no glyph for is kept as typed: it is drawn as the font's missing-glyph box
// and measured with that box's advance, so the caret, scrolling and line breaks agree with what is
// shown and the text reads back unchanged.
//
// Typing costs the same whatever the length of the text: widths are kept up to date by adding and
// subtracting the advances of the characters that change, a multi-line text is laid out again only
// from the changed line until its breaks meet the old ones, and a single line draws only the
// characters inside the view.
class CTavEdit : public CTavStatic {
public:
    CTavEdit();
    ~CTavEdit() override;

    using CTavStatic::Initialize;
    DWORD Initialize(const char* text, DWORD id, float x, float y, int width, int height, CTavScreen* screen,
                     const char* backBitmap = "") override;

    CTavObject* Clone(CTavObject* target, int withScreen) override;
    // Keys edit and move the caret; with Shift held they extend the selection, with Control A selects
    // all and C, X and V copy, cut and paste through the clipboard.
    BOOL OnKeyDown(UINT key) override;
    BOOL OnChar(char c) override;
    // A press places the caret at the character nearest to it and clears the selection.
    BOOL OnLMouseDown(int x, int y) override;
    // A multi-line edit scrolls three lines a notch.
    BOOL OnMouseWheel(int x, int y, int delta) override;
    void AfterUpdate() override;
    void DrawContent() override;

    // Clamped to 0 ... text length and moved back to the start of the character it falls in.
    void SetCaretPosition(int position);
    int GetCaretPosition() const { return static_cast<int>(m_caret); }
    // The display line of the caret and its column (bytes into that line).
    void GetCaretLineColumn(int* line, int* column) const;
    // Below 1: no limit. Counted in characters.
    void SetMaxLength(int length) { m_maxLength = length; }
    int GetMaxLength() const { return m_maxLength; }
    void SetNumbersOnly(BOOL on) { m_numbersOnly = on ? 1 : 0; }
    BOOL GetNumbersOnly() const { return m_numbersOnly; }
    void SetBlinkInterval(float seconds) { m_blinkInterval = seconds; }
    float GetBlinkInterval() const { return m_blinkInterval; }
    BOOL IsCaretShown() const { return m_caretShown; }
    // The selection runs from `anchor` to the caret (byte indexes, clamped to character boundaries);
    // anchor == caret: nothing selected.
    void SetSelection(int anchor, int caret);
    void SelectAll();
    BOOL HasSelection() const;
    std::string GetSelectedText() const;

protected:
    void Layout() override;
    void DrawLineStrip(CTavSurface& strip, std::size_t from, const std::string& line) override;

private:
    class RedrawHold;

    // The complete character once its last byte has arrived; empty while more bytes are awaited and
    // for a byte that is dropped.
    std::string CollectByte(unsigned char byte);
    bool Accepts(std::string_view character) const;
    // Replaces the selection (or nothing, at the caret) by `text`, whole accepted characters.
    void InsertText(std::string_view text);
    bool DeleteSelection();
    std::size_t SelectionStart() const { return std::min(m_anchor, m_caret); }
    std::size_t SelectionEnd() const { return std::max(m_anchor, m_caret); }
    // The text x of byte `at`, measured from the caret (whose x is known).
    int XOf(std::size_t at);
    // The accepted characters of `text`, as many as the maximum length leaves room for.
    std::string FilterPasted(std::string_view text);
    void Paste();
    // The character boundary nearest to the application-area point (x, y).
    std::size_t CaretAt(int x, int y);
    // Draws `text` (bytes from `from` on) into the strip with its pen at `penX`, the selection highlighted.
    void DrawStrip(CTavSurface& strip, std::size_t from, std::string_view text, int penX);
    void DeleteAtCaret();
    void DeleteBeforeCaret();
    void MoveLeft();
    void MoveRight();
    void MoveVertically(int direction);
    void MoveToEnd();
    void MoveToStart();
    // Replaces `removeLength` bytes at `at` by `insert` (whole characters), with the caret at `caret`
    // whose x the caller knows; only what the change can reach is measured and laid out again.
    void EditText(std::size_t at, std::size_t removeLength, std::string_view insert, std::size_t caret,
                  int caretX);
    // Lays out the lines again from the line holding byte `at` on, after `removed` bytes there were
    // replaced by `inserted` bytes; keeps the old lines from where the new breaks meet them.
    void Relayout(std::size_t at, std::size_t removed, std::size_t inserted);
    // Breaks the text into lines from `from` (a line start) as the static does; stops where `meets`
    // says the old lines hold from there on (returns that byte), otherwise returns npos at the end.
    template <typename Meets>
    std::size_t BreakLines(std::size_t from, std::vector<std::string>& out, Meets&& meets);
    void UpdateContentSize();
    void RestartBlink();
    void ScrollTo(int x, int y);
    // The width of `text` with the edit's font (0 while the edit has no pixels, as the static measures).
    int Measure(std::string_view text);
    int CharacterWidthAt(std::size_t at);
    // The first character that can show at text x `left` or later, with its x.
    void FindVisibleStart(int left, std::size_t* start, int* x);
    void DrawSingleLine();
    void DrawCaret();
    CTavScrollBars* Bars() const;
    bool ShiftHeld() const;
    bool ControlHeld() const;

    int m_caretShown = 1;
    float m_blinkInterval = 0.2f;
    float m_blinkTime = 0;
    std::size_t m_caret = 0;
    std::size_t m_anchor = 0; // the other end of the selection
    int m_maxLength = -1;
    int m_numbersOnly = 0;

    // Bytes of a character still arriving.
    std::string m_pending;
    // Kept with the text: its width, the width before the caret, its character count, and whether
    // every byte belongs to a well-formed character (only then are changes measured locally).
    int m_textWidth = 0;
    int m_caretX = 0;
    std::size_t m_characterCount = 0;
    bool m_wellFormed = true;
    bool m_caretDrawn = false;
    bool m_selectionDrawn = false;
    std::shared_ptr<const tav::platform::Font> m_font;
    std::string m_fontKeyName;
    int m_fontKey[3] = {-1, -1, -1};
};
