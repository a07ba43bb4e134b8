#include "TavPicture.h"

#include "CTavSurface.h"
#include "tavctrls/platform/Display.h"
#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/PngFile.h"

#include <memory>

BOOL TavSaveSurfacePng(CTavSurface* surface, const char* path, std::string* error) {
    if (surface == nullptr || surface->GetDDSurface() == nullptr || path == nullptr) {
        if (error != nullptr)
            *error = "there is no picture to save";
        return FALSE;
    }
    return tav::platform::SavePngFile(path, *surface->GetDDSurface(), error) ? TRUE : FALSE;
}

void TavUseOffscreenDisplay() {
    tav::platform::SetNextDisplay(std::make_unique<tav::platform::HeadlessDisplay>());
}
