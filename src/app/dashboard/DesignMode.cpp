#include "app/dashboard/DesignMode.h"

#include <QMouseEvent>
#include <QUndoStack>
#include <QWidget>

#include <cmath>
#include "app/dashboard/DashboardPage.h"
#include "app/dashboard/DashboardTexts.h"
#include "app/dashboard/DashboardView.h"
#include "app/dashboard/ItemCommands.h"
#include "dashboard/ItemDefaults.h"
#include "widgets/InstrumentWidget.h"

#include "dashboard/ItemWords.h"

namespace vekaton {
namespace {

constexpr int kSmallest = 8;  // an item never shrinks below this many pixels

QString NameOf(const DashboardModel& model, int id) {
    const DashboardItem* item = model.Find(id);
    return item != nullptr ? QString::fromStdString(ItemDisplayName(*item)) : QString();
}

}  // namespace

DesignMode::DesignMode(DashboardParts& parts, QUndoStack& undo, QObject* parent)
    : QObject(parent), parts_(parts), undo_(undo) {}

void DesignMode::SetGridStep(int step) {
    gridStep_ = std::clamp(step, kMinGridStep, kMaxGridStep);
}

int DesignMode::SnapDown(int value) const {
    const int down = value / gridStep_ * gridStep_;
    return value < 0 && down != value ? down - gridStep_ : down;
}

int DesignMode::SnapNearest(int value) const {
    return SnapDown(value + gridStep_ / 2);
}

void DesignMode::Watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool DesignMode::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool shift = (mouse->modifiers() & Qt::ShiftModifier) != 0;
            const bool ctrl = (mouse->modifiers() & Qt::ControlModifier) != 0;
            if (mouse->button() != Qt::LeftButton || (!shift && !ctrl)) {
                return false;
            }
            return BeginDrag(widget, ctrl, mouse->globalPosition().toPoint());
        }
        case QEvent::MouseMove:
            if (drag_) {
                DragTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                return true;
            }
            return false;
        case QEvent::MouseButtonRelease:
            if (drag_) {
                DragTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                EndDrag();
                return true;
            }
            return false;
        case QEvent::MouseButtonDblClick:
            return drag_.has_value();
        default:
            return false;
    }
}

bool DesignMode::BeginDrag(QWidget* widget, bool resize, QPoint globalPoint) {
    const int id = parts_.view.MovableItem(parts_.view.ItemAt(widget));
    QWidget* target = parts_.view.WidgetOf(id);
    if (id == 0 || target == nullptr) {
        return false;
    }
    const auto* page = qobject_cast<const DashboardPage*>(target->parentWidget());
    const double scale = page != nullptr && page->Scaled() ? page->Scaler().Fit().scale : 1.0;
    drag_ = Drag{id, resize, globalPoint, PageRectOf(target), target, scale};
    target->raise();
    ShowGrid(true);
    target->setCursor(resize ? Qt::SizeFDiagCursor : Qt::SizeAllCursor);
    return true;
}

void DesignMode::DragTo(QPoint globalPoint) {
    if (!drag_ || drag_->widget == nullptr) {
        return;
    }
    const QPointF moved = QPointF(globalPoint - drag_->start) / drag_->scale;
    const QPoint delta(static_cast<int>(std::lround(moved.x())),
                       static_cast<int>(std::lround(moved.y())));
    const QRect& from = drag_->startGeometry;
    if (drag_->resize) {
        // The moving edges land on the grid.
        const int right =
            std::max(from.left() + kSmallest, SnapNearest(from.right() + 1 + delta.x()));
        const int bottom =
            std::max(from.top() + kSmallest, SnapNearest(from.bottom() + 1 + delta.y()));
        Place(*drag_, QRect(from.left(), from.top(), right - from.left(), bottom - from.top()));
    } else {
        Place(*drag_, QRect(QPoint(std::max(0, SnapNearest(from.left() + delta.x())),
                                   std::max(0, SnapNearest(from.top() + delta.y()))),
                            from.size()));
    }
}

QRect DesignMode::PageRectOf(QWidget* widget) const {
    const auto* item = qobject_cast<const InstrumentWidget*>(widget);
    return item != nullptr ? item->PageGeometry() : widget->geometry();
}

void DesignMode::Place(const Drag& drag, const QRect& pageRect) {
    auto* item = qobject_cast<InstrumentWidget*>(drag.widget.data());
    const auto* page = qobject_cast<const DashboardPage*>(drag.widget->parentWidget());
    if (item == nullptr || page == nullptr || !page->Scaled()) {
        drag.widget->setGeometry(pageRect);
        return;
    }
    item->SetPageGeometry(pageRect);
    item->setGeometry(page->Scaler().ToScreen(pageRect));
}

void DesignMode::EndDrag() {
    if (!drag_) {
        return;
    }
    const Drag drag = *drag_;
    drag_.reset();
    ShowGrid(false);
    if (drag.widget == nullptr) {
        return;
    }
    drag.widget->unsetCursor();
    const QRect now = PageRectOf(drag.widget);
    const DashboardItem* item = parts_.model.Find(drag.id);
    if (item == nullptr || now == drag.startGeometry) {
        return;
    }
    PropertyBag after = item->properties;
    PutGeometry(after, ItemGeometry{now.x(), now.y(), now.width(), now.height()});
    if (drag.resize && item->kind == ItemKind::Label) {
        after.Set("AutoSize", PropertyValue::Boolean(false));  // a sized label keeps its size
    }
    const QString name = NameOf(parts_.model, drag.id);
    const QString text =
        QString(drag.resize ? dashtexts::kUndoResize : dashtexts::kUndoMove).arg(name);
    auto* command = new QUndoCommand(text);
    new PropertiesCommand(parts_, drag.id, item->properties, after, text, command);
    // A panel's LED keeps filling the panel's height.
    if (drag.resize && item->kind == ItemKind::Panel) {
        for (const int id : parts_.model.LiveIds()) {
            const DashboardItem* led = parts_.model.Find(id);
            if (led->parentId != drag.id) {
                continue;
            }
            PropertyBag ledAfter = led->properties;
            const int side = std::max(4, now.height() - 2);
            PutGeometry(ledAfter, ItemGeometry{1, 1, side, side});
            new PropertiesCommand(parts_, id, led->properties, ledAfter, text, command);
        }
    }
    undo_.push(command);
}

void DesignMode::AlignPage(int page) {
    auto* command = new QUndoCommand(dashtexts::kUndoAlign);
    for (const int id : parts_.model.LiveIds()) {
        const DashboardItem* item = parts_.model.Find(id);
        if (item->page != page || item->parentId != 0) {
            continue;
        }
        ItemGeometry geometry = GeometryOf(item->properties);
        const ItemGeometry before = geometry;
        geometry.left = SnapNearest(geometry.left);
        geometry.top = SnapNearest(geometry.top);
        if (geometry == before) {
            continue;
        }
        PropertyBag after = item->properties;
        PutGeometry(after, geometry);
        new PropertiesCommand(parts_, id, item->properties, after, dashtexts::kUndoAlign, command);
    }
    if (command->childCount() == 0) {
        delete command;
        return;
    }
    undo_.push(command);
}

void DesignMode::ShowGrid(bool visible) {
    for (int page = 0; page < parts_.view.PageCount(); ++page) {
        parts_.view.Page(page)->SetGridVisible(visible, gridStep_);
    }
}

}  // namespace vekaton
