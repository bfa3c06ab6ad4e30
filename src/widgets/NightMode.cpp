#include "widgets/NightMode.h"

#include "widgets/InstrumentWidget.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace vekaton {
namespace {

// Where a root keeps what it looked like by day while it is dark.
constexpr const char* kDayPalette = "vekatonDayPalette";
constexpr const char* kDayAutoFill = "vekatonDayAutoFill";

QPalette NightPalette(QPalette palette, const NightColours& night) {
    const QColor page = NightPageColour(night);
    const QColor ink = NightShade(QColor(0, 0, 0), ColourRole::Ink, night);
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        palette.setColor(role, page);
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, ink);
    }
    return palette;
}

}  // namespace

void ApplyNightColours(QWidget* root, const NightColours& night) {
    if (root == nullptr) {
        return;
    }
    if (auto* instrument = qobject_cast<InstrumentWidget*>(root)) {
        instrument->SetNightColours(night);
    }
    for (InstrumentWidget* instrument : root->findChildren<InstrumentWidget*>()) {
        instrument->SetNightColours(night);
    }
    if (qobject_cast<InstrumentWidget*>(root) != nullptr) {
        return;  // an instrument draws its own background
    }
    const bool dark = root->property(kDayPalette).isValid();
    if (night.on) {
        if (!dark) {
            root->setProperty(kDayPalette, QVariant::fromValue(root->palette()));
            root->setProperty(kDayAutoFill, root->autoFillBackground());
        }
        root->setPalette(NightPalette(root->property(kDayPalette).value<QPalette>(), night));
        root->setAutoFillBackground(true);
    } else if (dark) {
        root->setPalette(root->property(kDayPalette).value<QPalette>());
        root->setAutoFillBackground(root->property(kDayAutoFill).toBool());
        root->setProperty(kDayPalette, QVariant());
        root->setProperty(kDayAutoFill, QVariant());
    }
}

}  // namespace vekaton
