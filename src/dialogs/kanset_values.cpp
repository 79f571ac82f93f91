#include "dialogs/kanset_values.h"

#include <algorithm>
#include <charconv>

namespace palvex {

int FirstTransChoice(int stored) {
    return stored >= 0 && stored <= 4 ? stored : 1;
}

int AnimationCountFromText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = text.starts_with('-') ? KansetValues::kMinAnimationCount
                                      : KansetValues::kMaxAnimationCount;
    } else if (error != std::errc() || end == text.data()) {
        value = 0;
    }
    return static_cast<int>(std::clamp<long long>(value, KansetValues::kMinAnimationCount,
                                                  KansetValues::kMaxAnimationCount));
}

KansetValues KansetValues::Read(const AppSettings& settings, const SettingsStore& store) {
    KansetValues values;
    values.firstOpen = setting::kFirstOpen.Read(store) == 1;
    values.makeBackup = setting::kMakeBackup.Read(store) == 1;
    values.firstTrans = FirstTransChoice(setting::kFirstTrans.Read(store));
    values.showGuide = settings.showGuide == 1;
    values.showRgb = settings.showRgb == 1;
    values.stopCursor = settings.stopCursor == 1;
    values.animationOn = settings.animationRings > 0;
    values.animationCount =
        settings.animationRings == 0
            ? kDefaultAnimationCount
            : std::clamp(settings.animationRings, kMinAnimationCount, kMaxAnimationCount);
    values.animationSpeed = settings.animationSpeed >= 0 && settings.animationSpeed < kSpeedCount
                                ? settings.animationSpeed
                                : 0;
    values.showTip = settings.showTip == 1;
    return values;
}

void KansetValues::Apply(AppSettings& settings, SettingsStore& store) const {
    setting::kFirstOpen.Write(store, firstOpen ? 1 : 0);
    setting::kMakeBackup.Write(store, makeBackup ? 1 : 0);
    const int trans = FirstTransChoice(firstTrans);
    setting::kFirstTrans.Write(store, trans);
    // The model keeps the stored preferences in step, so nothing later reads a stale copy.
    settings.firstOpen = firstOpen ? 1 : 0;
    settings.makeBackup = makeBackup ? 1 : 0;
    settings.firstTrans = trans;
    settings.showRgb = showRgb ? 1 : 0;
    settings.showGuide = showGuide ? 1 : 0;
    settings.stopCursor = stopCursor ? 1 : 0;
    settings.animationRings =
        animationOn ? std::clamp(animationCount, kMinAnimationCount, kMaxAnimationCount) : 0;
    settings.animationSpeed =
        animationSpeed >= 0 && animationSpeed < kSpeedCount ? animationSpeed : 0;
    settings.showTip = showTip ? 1 : 0;
}

}  // namespace palvex
