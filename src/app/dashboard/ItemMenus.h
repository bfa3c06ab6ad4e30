#pragma once

#include <QPoint>

class QMenu;
class QWidget;

namespace vekaton {

class DashboardModel;
class DesignMode;
class ItemActions;
class ParameterTable;

// The page's menu AddStuff ("Add" with its seven kinds, "Paste", and the page's design
// commands), built for a point of a page but not shown.
QMenu* BuildPageMenu(ItemActions& actions, DesignMode& design, int page, QPoint at,
                     QWidget* parent);

// An item's menu by its kind: MeterPopUp for instruments (first entry "ID: " with the item's
// ID and position), LabelPopup, ResetButtonPopUp, and DummyPopUp for a digital LED's panel.
QMenu* BuildItemMenu(ItemActions& actions, const DashboardModel& model, const ParameterTable& table,
                     int id, QWidget* parent);

// The first entry of MeterPopUp: "ID: 7, 18:3" (position, and the bit of a digital one).
QString MeterIdText(const DashboardModel& model, const ParameterTable& table, int id);

}  // namespace vekaton
