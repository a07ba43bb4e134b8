// Typing into an edit box that holds 10,000 characters against typing into one that holds 100: a key
// should cost the same whatever the length of the text.
#include "tavctrls/TavCtrls.h"
#include "tavctrls/platform/HeadlessDisplay.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// Words of mixed widths, cut to `length` characters.
std::string Text(std::size_t length) {
    const std::string words = "the quick brown fox jumps over a lazy dog while seven wizards box ";
    std::string text;
    while (text.size() < length)
        text += words;
    text.resize(length);
    return text;
}

// A character typed and taken back with Back at the end of a single-line edit, routed as the window
// procedure routes them (the edit scrolls to follow the caret).
void TypeKey(benchmark::State& state, std::size_t length, bool multiline) {
    tav::platform::SetNextDisplay(std::make_unique<tav::platform::HeadlessDisplay>());
    CTavApp app;
    if (app.doInit(nullptr, 1, "Bench", TAVAPP_WINDOW, 640, 480, 0, 0, 32) != TAVERROR_OK) {
        state.SkipWithError("doInit failed");
        return;
    }
    auto* screen = new CTavScreen;
    screen->Initialize(1);
    app.SetChildScreen(screen);
    screen->SetFocus(TRUE);
    auto* edit = new CTavEdit;
    edit->Initialize(Text(length).c_str(), 2, 10, 10, 300, multiline ? 45 : 22, screen);
    edit->SetMultiline(multiline ? TRUE : FALSE);
    screen->AddObject(edit);
    edit->SetFocus(TRUE);
    screen->KeyDown(VK_END);
    for (auto _ : state) {
        screen->Char('x');
        screen->KeyDown(VK_BACK);
    }
    if (edit->GetText() != Text(length))
        state.SkipWithError("the text changed");
}

void TypeKey_Ours(benchmark::State& state) {
    TypeKey(state, 10000, false);
}
void TypeKey_Reference100(benchmark::State& state) {
    TypeKey(state, 100, false);
}
// The same in a wrapped multi-line edit three lines high (the text has no newline: one paragraph).
void TypeKeyMultiline_Ours(benchmark::State& state) {
    TypeKey(state, 10000, true);
}
void TypeKeyMultiline_Reference100(benchmark::State& state) {
    TypeKey(state, 100, true);
}

BENCHMARK(TypeKey_Ours);
BENCHMARK(TypeKey_Reference100);
BENCHMARK(TypeKeyMultiline_Ours);
BENCHMARK(TypeKeyMultiline_Reference100);

} // namespace
