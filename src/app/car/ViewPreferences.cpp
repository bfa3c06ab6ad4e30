#include "app/car/ViewPreferences.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

namespace vekaton {
namespace {

QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Vekaton", "Vekaton");
}

constexpr char kNightKey[] = "View/NightColours";
constexpr char kTintKey[] = "View/NightTint";
constexpr char kBrightnessKey[] = "View/NightBrightness";
constexpr char kToolBarKey[] = "View/ToolBar";
constexpr char kValueTableKey[] = "View/ValueTable";
constexpr char kFitPagesKey[] = "View/FitPagesToWindow";
constexpr char kStartFullScreenKey[] = "View/StartInFullScreen";

}  // namespace

ViewPreferences LoadViewPreferences() {
    const QSettings settings = UserSettings();
    ViewPreferences preferences;
    preferences.night.on = settings.value(kNightKey, preferences.night.on).toBool();
    preferences.night.tint = settings.value(kTintKey).toString() == QLatin1String("red")
                                 ? NightTint::Red
                                 : NightTint::Amber;
    bool number = false;
    const double brightness = settings.value(kBrightnessKey).toDouble(&number);
    if (number && std::isfinite(brightness)) {
        preferences.night.brightness = std::clamp(brightness, NightColours::kDimmest, 1.0);
    }
    preferences.toolBar = settings.value(kToolBarKey, preferences.toolBar).toBool();
    preferences.valueTable = settings.value(kValueTableKey, preferences.valueTable).toBool();
    preferences.fitPages = settings.value(kFitPagesKey, preferences.fitPages).toBool();
    preferences.startFullScreen =
        settings.value(kStartFullScreenKey, preferences.startFullScreen).toBool();
    return preferences;
}

void SaveViewPreferences(const ViewPreferences& preferences) {
    QSettings settings = UserSettings();
    settings.setValue(kNightKey, preferences.night.on);
    settings.setValue(kTintKey, preferences.night.tint == NightTint::Red ? "red" : "amber");
    settings.setValue(kBrightnessKey, preferences.night.brightness);
    settings.setValue(kToolBarKey, preferences.toolBar);
    settings.setValue(kValueTableKey, preferences.valueTable);
    settings.setValue(kFitPagesKey, preferences.fitPages);
    settings.setValue(kStartFullScreenKey, preferences.startFullScreen);
}

}  // namespace vekaton
