#pragma once

#include <string_view>

#include "app/app_settings.h"
#include "base/settings_store.h"

namespace palvex {

// What the environment settings dialog shows and edits. The first three reach the settings store
// at OK; the rest stay in the application's settings model until exit.
struct KansetValues {
    bool firstOpen = false;
    bool makeBackup = true;
    int firstTrans = 1;  // 0 black, 1 white, 2 red, 3 green, 4 blue
    bool showGuide = true;
    bool showRgb = true;
    bool stopCursor = true;
    bool animationOn = true;
    int animationCount = 3;  // 1 .. 10, shown whatever animationOn says
    int animationSpeed = 0;  // 0 fast .. 4 slow
    bool showTip = true;

    static constexpr int kMinAnimationCount = 1;
    static constexpr int kMaxAnimationCount = 10;
    static constexpr int kDefaultAnimationCount = 3;
    static constexpr int kSpeedCount = 5;

    // The values at opening: the three stored ones from the store, the rest from the model.
    static KansetValues Read(const AppSettings& settings, const SettingsStore& store);
    // OK: writes the three stored values and sets the model's switches.
    void Apply(AppSettings& settings, SettingsStore& store) const;
};

// A stored key choice outside 0..4 shows (and is loaded) as white.
int FirstTransChoice(int stored);
// The count typed in the edit: decimal, anything that is no number reads as 0, then 1 .. 10.
int AnimationCountFromText(std::string_view text);

}  // namespace palvex
