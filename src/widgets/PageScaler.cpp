#include "widgets/PageScaler.h"

#include "widgets/InstrumentWidget.h"

#include <cmath>
#include <vector>

namespace vekaton {
namespace {

QRect Rounded(const PageRect& r) {
    const int left = static_cast<int>(std::lround(r.x));
    const int top = static_cast<int>(std::lround(r.y));
    return QRect(left, top, static_cast<int>(std::lround(r.Right())) - left,
                 static_cast<int>(std::lround(r.Bottom())) - top);
}

PageRect Unrounded(const QRect& r) {
    return {static_cast<double>(r.x()), static_cast<double>(r.y()), static_cast<double>(r.width()),
            static_cast<double>(r.height())};
}

std::vector<InstrumentWidget*> ItemsOf(QWidget* parent) {
    const auto found = parent->findChildren<InstrumentWidget*>(Qt::FindDirectChildrenOnly);
    return std::vector<InstrumentWidget*>(found.begin(), found.end());
}

// Items inside an item keep their place in it, scaled.
void ScaleInner(InstrumentWidget* item, double scale) {
    for (InstrumentWidget* inner : ItemsOf(item)) {
        if (!inner->HasPageGeometry()) {
            inner->SetPageGeometry(inner->geometry());
        }
        const QRect page = inner->PageGeometry();
        inner->setGeometry(Rounded(
            {page.x() * scale, page.y() * scale, page.width() * scale, page.height() * scale}));
        ScaleInner(inner, scale);
    }
}

void RestoreInner(InstrumentWidget* item) {
    for (InstrumentWidget* inner : ItemsOf(item)) {
        RestoreInner(inner);
        if (inner->HasPageGeometry()) {
            const QRect page = inner->PageGeometry();
            inner->SetPageGeometry(std::nullopt);
            inner->setGeometry(page);
        }
    }
}

}  // namespace

PageScaler::PageScaler(QWidget* page) : page_(page) {}

void PageScaler::SetEnabled(bool on) {
    if (on == enabled_) {
        return;
    }
    enabled_ = on;
    if (on) {
        Relayout();
    } else {
        Restore();
    }
}

void PageScaler::Relayout() {
    if (!enabled_ || page_.isNull()) {
        return;
    }
    const std::vector<InstrumentWidget*> items = ItemsOf(page_);
    std::vector<PageRect> shown;
    for (InstrumentWidget* item : items) {
        if (!item->HasPageGeometry()) {
            item->SetPageGeometry(item->geometry());
        }
        if (!item->isHidden()) {
            shown.push_back(Unrounded(item->PageGeometry()));
        }
    }
    fit_ = FitPage(shown, page_->width(), page_->height());
    for (InstrumentWidget* item : items) {
        item->setGeometry(ToScreen(item->PageGeometry()));
        ScaleInner(item, fit_.scale);
    }
}

void PageScaler::Restore() {
    fit_ = PageFit{};
    if (page_.isNull()) {
        return;
    }
    for (InstrumentWidget* item : ItemsOf(page_)) {
        RestoreInner(item);
        if (item->HasPageGeometry()) {
            const QRect page = item->PageGeometry();
            item->SetPageGeometry(std::nullopt);
            item->setGeometry(page);
        }
    }
}

QPointF PageScaler::ToPage(const QPointF& screen) const {
    return {fit_.PageX(screen.x()), fit_.PageY(screen.y())};
}

QPointF PageScaler::ToScreen(const QPointF& page) const {
    return {fit_.ScreenX(page.x()), fit_.ScreenY(page.y())};
}

QRect PageScaler::ToScreen(const QRect& page) const {
    return Rounded(fit_.ToScreen(Unrounded(page)));
}

}  // namespace vekaton
