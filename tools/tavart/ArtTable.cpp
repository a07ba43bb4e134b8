#include "ArtTable.h"

#include "DesignerArt.h"
#include "ExampleArt.h"
#include "LibraryArt.h"

namespace tav::art {
namespace {

const ArtPiece kPieces[] = {
    // The library's defaults.
    {"buttonnormal.bmp", [] { return DrawButton(ButtonState::Normal); }},
    {"buttonover.bmp", [] { return DrawButton(ButtonState::Over); }},
    {"buttondown.bmp", [] { return DrawButton(ButtonState::Down); }},
    {"checkyes.bmp", [] { return DrawCheckBox(true); }},
    {"checkno.bmp", [] { return DrawCheckBox(false); }},
    {"scrollbar.bmp", DrawScrollTrack},
    {"scrollbulb.bmp", DrawScrollBulb},
    {"scrollup.bmp", [] { return DrawScrollArrow(Direction::Up); }},
    {"scrolldown.bmp", [] { return DrawScrollArrow(Direction::Down); }},
    {"scrollleft.bmp", [] { return DrawScrollArrow(Direction::Left); }},
    {"scrollright.bmp", [] { return DrawScrollArrow(Direction::Right); }},
    {"plus.bmp", [] { return DrawTreeToggle(false); }},
    {"minus.bmp", [] { return DrawTreeToggle(true); }},
    {"listback.bmp", DrawListBack},
    {"treeback.bmp", DrawTreeBack},
    {"popmenuback.bmp", DrawPopupMenuBack},
    {"mboxback.bmp", DrawMessageBoxBack},

    // The designer's screens.
    {"mainback.bmp", DrawMainBack},
    {"viewback.bmp", DrawViewBack},
    {"dback.bmp", DrawDialogBack},
    {"drag/dragobj.bmp", [] { return DrawPaletteIcon(PaletteKind::Object); }},
    {"drag/dragbutton.bmp", [] { return DrawPaletteIcon(PaletteKind::Button); }},
    {"drag/dragstat.bmp", [] { return DrawPaletteIcon(PaletteKind::Static); }},
    {"drag/dragCheck.bmp", [] { return DrawPaletteIcon(PaletteKind::CheckBox); }},
    {"drag/dragedit.bmp", [] { return DrawPaletteIcon(PaletteKind::Edit); }},
    {"drag/draglist.bmp", [] { return DrawPaletteIcon(PaletteKind::List); }},
    {"drag/dragtree.bmp", [] { return DrawPaletteIcon(PaletteKind::Tree); }},
    {"drag/draganim.bmp", [] { return DrawPaletteIcon(PaletteKind::Animation); }},
    // Each arrow points at the selected control, which lies on the opposite side.
    {"extra/left1.bmp", [] { return DrawSelectionArrow(Direction::Right, 1); }},
    {"extra/left2.bmp", [] { return DrawSelectionArrow(Direction::Right, 2); }},
    {"extra/right1.bmp", [] { return DrawSelectionArrow(Direction::Left, 1); }},
    {"extra/right2.bmp", [] { return DrawSelectionArrow(Direction::Left, 2); }},
    {"extra/up1.bmp", [] { return DrawSelectionArrow(Direction::Down, 1); }},
    {"extra/up2.bmp", [] { return DrawSelectionArrow(Direction::Down, 2); }},
    {"extra/down1.bmp", [] { return DrawSelectionArrow(Direction::Up, 1); }},
    {"extra/down2.bmp", [] { return DrawSelectionArrow(Direction::Up, 2); }},

    // The example projects.
    {"logo.bmp", DrawLogo},
    {"spin1.bmp", [] { return DrawSpinner(1); }},
    {"spin2.bmp", [] { return DrawSpinner(2); }},
    {"spin3.bmp", [] { return DrawSpinner(3); }},
    {"ledon.bmp", [] { return DrawLed(true); }},
    {"ledoff.bmp", [] { return DrawLed(false); }},
    {"editback.bmp", DrawEditBack},
    {"bar.bmp", DrawHeaderBar},
    {"divider.bmp", DrawDivider},
};

} // namespace

std::span<const ArtPiece> ArtPieces() {
    return kPieces;
}

} // namespace tav::art
