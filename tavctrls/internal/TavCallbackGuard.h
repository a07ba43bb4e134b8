#pragma once

#include "CTavObject.h"
#include "CTavScreen.h"
#include "TavRuntime.h"

#include <algorithm>

namespace tav {

// TRUE when a screen callback has removed `object` or a screen that holds it, or ended the application.
// Ask only while a BusyScope is open: what was removed then still waits in memory.
inline BOOL RemovedDuringCallback(const CTavObject* object) {
    const Runtime& runtime = TheRuntime();
    if (runtime.quit != 0)
        return TRUE;
    const auto& objects = runtime.discardedObjects;
    if (std::find(objects.begin(), objects.end(), object) != objects.end())
        return TRUE;
    const auto& screens = runtime.discardedScreens;
    for (const CTavScreen* screen = object->GetScreen(); screen != nullptr; screen = screen->GetParent())
        if (screen->IsDiscarded() || std::find(screens.begin(), screens.end(), screen) != screens.end())
            return TRUE;
    return FALSE;
}

} // namespace tav
