#include "CTavMessageBox.h"

#include "CTavApp.h"
#include "CTavButton.h"
#include "CTavStatic.h"
#include "TavRuntime.h"

#include <algorithm>

namespace {

constexpr const char* kBackground = "art//mboxback.bmp";
constexpr const char* kButtonNormal = "art//buttonnormal.bmp";
constexpr const char* kButtonOver = "art//buttonover.bmp";
constexpr const char* kButtonDown = "art//buttondown.bmp";

// The text's static keeps its default font, whose height is the height of one line.
constexpr int kLineHeight = 15;

int MeasureWidth(const std::string& text, int weight) {
    CTavSurface probe;
    if (probe.Create(1, 1) != TAVERROR_OK)
        return 0;
    int width = 0;
    probe.GetTextExtent(text.c_str(), "Verdana", 0, kLineHeight, weight, &width, nullptr);
    return width;
}

// The lines the text takes in a multi-line static of this width (laid out by the static itself).
int WrappedLineCount(const std::string& text, int width) {
    if (width < 1)
        return 1;
    CTavStatic probe;
    int lines = 1;
    if (probe.Initialize("", 0, 0, 0, width, 1, nullptr) == TAVERROR_OK) {
        probe.SetMultiline(TRUE);
        probe.SetText(text.c_str());
        lines = std::max<int>(1, static_cast<int>(probe.GetLines().size()));
    }
    probe.Finish();
    return lines;
}

// A half-size box stands a quarter in; a grown one is centred, never left of or above the owner.
int Offset(int ownerSize, int size) {
    return size == ownerSize / 2 ? ownerSize / 4 : std::max(0, (ownerSize - size) / 2);
}

} // namespace

CTavMessageBox::CTavMessageBox(const char* text) : m_text(text != nullptr ? text : "") {}

int CTavMessageBox::TextWidth(const std::string& text, int weight) {
    return MeasureWidth(text, weight);
}

CTavMessageBox::Room CTavMessageBox::NeededRoom() const {
    // The static at (30, 20) is 60 narrower than the box and its lines end 90 above the box's bottom,
    // where the OK button (50 x 20, 80 from the right) sits.
    return Room{60, 90, 90, 90 + kLineHeight};
}

CTavMessageBox::Placement CTavMessageBox::PlaceOver(const CTavScreen& owner, const std::string& text,
                                                    const Room& room) {
    const int ownerWidth = owner.GetWidth();
    const int ownerHeight = owner.GetHeight();
    const CTavApp* app = tav::CurrentApp();
    const int appWidth = app != nullptr ? app->GetWidth() : ownerWidth;
    const int appHeight = app != nullptr ? app->GetHeight() : ownerHeight;
    // Beyond the owner the box would be cut off, so it grows past it only for the buttons, and then
    // only as far as the application's area reaches.
    const int roomWidth =
        std::min(std::max(ownerWidth, room.minWidth), appWidth - std::max(0, owner.GetAppX()));
    const int roomHeight =
        std::min(std::max(ownerHeight, room.minHeight), appHeight - std::max(0, owner.GetAppY()));

    // Half the owner, the text wrapped inside; taller when the lines need it, and wider only when they
    // do not fit even at the full height.
    auto heightFor = [&](int width) {
        const int lines = WrappedLineCount(text, width - room.textMarginWidth);
        return std::max({ownerHeight / 2, lines * kLineHeight + room.textMarginHeight, room.minHeight});
    };
    Placement place;
    place.width = std::max(1, std::min(std::max(ownerWidth / 2, room.minWidth), roomWidth));
    if (heightFor(place.width) > roomHeight) {
        // The narrowest width whose lines fit, or the whole room when none does.
        int fits = std::max(place.width, roomWidth);
        for (int tooNarrow = place.width; fits - tooNarrow > 1;) {
            const int middle = tooNarrow + (fits - tooNarrow) / 2;
            (heightFor(middle) <= roomHeight ? fits : tooNarrow) = middle;
        }
        place.width = fits;
    }
    place.height = std::max(1, std::min(heightFor(place.width), roomHeight));
    place.x = Offset(ownerWidth, place.width);
    place.y = Offset(ownerHeight, place.height);
    return place;
}

void CTavMessageBox::ShowOver(CTavScreen* asker, CTavMessageBox* box) {
    // A screen shows one modal child at a time: a box asked for by a screen that already shows a dialog
    // goes over the innermost one, which stays as it is.
    CTavScreen* owner = asker != nullptr ? asker->GetInnermostScreen() : nullptr;
    if (owner == nullptr) { // frozen: nothing could answer the box
        tav::DiscardScreen(box);
        return;
    }
    const Placement place = PlaceOver(*owner, box->m_text, box->NeededRoom());
    const bool made = box->Initialize(TAVID_LIBRARY, place.x, place.y, place.width, place.height,
                                      TAVSCREEN_POPUP, owner) == TAVERROR_OK;
    // It takes the keys: Return and Escape answer it.
    if (made)
        box->SetFocus(TRUE);
    if (!made || owner->SetChildScreen(box) != TAVERROR_OK) {
        tav::DiscardScreen(box);
        return;
    }
    // A discarded owner takes its modal child with it.
    if (!owner->IsDiscarded() && owner->GetChildScreen() == box)
        owner->RemoveChildScreen();
}

void CTavMessageBox::AddOrDrop(CTavObject* object, DWORD initialized) {
    if (initialized != TAVERROR_OK || AddObject(object) != TAVERROR_OK)
        tav::DiscardObject(object);
}

void CTavMessageBox::AfterInitialize() {
    const int w = GetWidth();
    const int h = GetHeight();
    auto* background = new CTavObject;
    AddOrDrop(background, background->Initialize(2, 0, 0, kBackground, w, h, this));
    auto* ok = new CTavButton;
    AddOrDrop(ok, ok->Initialize("OK", 0, static_cast<float>(w - 80), static_cast<float>(h - 40), 50, 20,
                                 this, kButtonNormal, kButtonOver, kButtonDown));
    auto* text = new CTavStatic;
    const DWORD made = text->Initialize(m_text.c_str(), 1, 30, 20, w - 60, h - 90, this);
    if (made == TAVERROR_OK) {
        // Only the text's pixels show over the background.
        text->SetBackColor(0);
        text->SetTranslucent(TRUE, 255);
        text->SetMultiline(TRUE);
    }
    AddOrDrop(text, made);
}

BOOL CTavMessageBox::OnButtonDown(DWORD) {
    Close();
    return TRUE;
}

void CTavMessageBox::AfterKeyDown(UINT nChar) {
    if (nChar == VK_RETURN || nChar == VK_ESCAPE)
        OnButtonDown(0);
}

void CTavScreen::MessageBox(const char* text) {
    // Whatever the box's modal loop removes is deleted only after this call.
    tav::BusyScope busy;
    CTavMessageBox::ShowOver(this, new CTavMessageBox(text));
}
