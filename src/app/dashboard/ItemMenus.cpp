#include "app/dashboard/ItemMenus.h"

#include <QMenu>

#include "app/dashboard/DashboardTexts.h"
#include "app/dashboard/DesignMode.h"
#include "app/dashboard/ItemActions.h"
#include "app/dashboard/ResetListDialog.h"
#include "dashboard/DashboardModel.h"
#include "decode/ParameterTable.h"

namespace vekaton {
namespace {

QAction* AddNamed(QMenu* menu, const char* text, const char* name) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

void AddHint(QMenu* menu) {
    menu->addSeparator();
    menu->addAction(dashtexts::kDesignHint)->setEnabled(false);
}

int LedOf(const DashboardModel& model, int panelId) {
    for (const int id : model.LiveIds()) {
        if (model.Find(id)->parentId == panelId) {
            return id;
        }
    }
    return 0;
}

void AddMeterEntries(QMenu* menu, ItemActions& actions, const DashboardModel& model, int id,
                     const char* parametersName) {
    const DashboardItem& item = *model.Find(id);
    const int position = model.Binding(id).position;
    QObject::connect(
        AddNamed(menu, dashtexts::kParameters, parametersName), &QAction::triggered, &actions,
        [&actions, id, position] { actions.EditParameters(position > 0 ? position : 1, id); });
    if (HasHoldMode(item.kind)) {
        const int hold = model.Binding(id).holdMode;
        QAction* min = AddNamed(menu, dashtexts::kMin, "Min");
        min->setCheckable(true);
        min->setChecked(hold == kHoldMin);
        QObject::connect(min, &QAction::triggered, &actions, [&actions, id](bool on) {
            actions.SetHoldMode(id, on ? kHoldMin : kHoldFollow);
        });
        QAction* max = AddNamed(menu, dashtexts::kMax, "Max");
        max->setCheckable(true);
        max->setChecked(hold == kHoldMax);
        QObject::connect(max, &QAction::triggered, &actions, [&actions, id](bool on) {
            actions.SetHoldMode(id, on ? kHoldMax : kHoldFollow);
        });
    }
    if (IsResettable(item.kind)) {
        QObject::connect(AddNamed(menu, dashtexts::kResetMinMax, "ResetMinMax"),
                         &QAction::triggered, &actions,
                         [&actions, id] { actions.ResetMinMax(id); });
    }
}

}  // namespace

QString MeterIdText(const DashboardModel& model, const ParameterTable& table, int id) {
    const BindingEntry binding = model.Binding(id);
    QString text = QString("%1%2, %3").arg(dashtexts::kIdPrefix).arg(id).arg(binding.position);
    const ParameterRecord* record = table.Find(binding.position);
    if (record != nullptr && record->IsDigital) {
        text += QString(":%1").arg(binding.bit);
    }
    return text;
}

QMenu* BuildPageMenu(ItemActions& actions, DesignMode& design, int page, QPoint at,
                     QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName("AddStuff");
    QMenu* add = menu->addMenu(dashtexts::kAdd);
    add->setObjectName("Add");
    const std::pair<const char*, ItemKind> kinds[] = {
        {dashtexts::kAddLabel, ItemKind::Label},
        {dashtexts::kAddAnalogMeter, ItemKind::AngularGauge},
        {dashtexts::kAddThermometer, ItemKind::Thermometer},
        {dashtexts::kAddLedDisplay, ItemKind::SevenSegmentAnalog},
        {dashtexts::kAddNumericalDisplay, ItemKind::AnalogDisplay},
        {dashtexts::kAddDigitalLed, ItemKind::LedRound},
        {dashtexts::kAddResetButton, ItemKind::ResetButton},
    };
    for (const auto& [text, kind] : kinds) {
        QAction* action = add->addAction(text);
        QObject::connect(action, &QAction::triggered, &actions,
                         [&actions, kind, page, at] { actions.AddItem(kind, page, at); });
    }
    QAction* paste = AddNamed(menu, dashtexts::kPaste, "Paste");
    paste->setEnabled(actions.CanPaste());
    QObject::connect(paste, &QAction::triggered, &actions,
                     [&actions, page, at] { actions.Paste(page, at); });
    menu->addSeparator();
    QObject::connect(AddNamed(menu, dashtexts::kRenamePage, "RenamePage"), &QAction::triggered,
                     &actions, [&actions, page] { actions.RenamePage(page); });
    QObject::connect(AddNamed(menu, dashtexts::kAlignToGrid, "AlignToGrid"), &QAction::triggered,
                     &design, [&design, page] { design.AlignPage(page); });
    QObject::connect(AddNamed(menu, dashtexts::kGridStep, "GridStep"), &QAction::triggered,
                     &actions, [&actions] { actions.ChooseGridStep(); });
    AddHint(menu);
    return menu;
}

QMenu* BuildItemMenu(ItemActions& actions, const DashboardModel& model, const ParameterTable& table,
                     int id, QWidget* parent) {
    const DashboardItem* item = model.Find(id);
    if (item == nullptr) {
        return nullptr;
    }
    auto* menu = new QMenu(parent);
    const auto connect = [&](QAction* action, auto&& slot) {
        QObject::connect(action, &QAction::triggered, &actions, slot);
    };
    switch (item->kind) {
        case ItemKind::Label:
            menu->setObjectName("LabelPopup");
            connect(AddNamed(menu, dashtexts::kEditCaption, "EditCaption"),
                    [&actions, id] { actions.EditCaption(id); });
            connect(AddNamed(menu, dashtexts::kAppearance, "Appearance"),
                    [&actions, id] { actions.EditAppearance(id); });
            connect(AddNamed(menu, dashtexts::kCopy, "Copy"), [&actions, id] { actions.Copy(id); });
            menu->addSeparator();
            connect(AddNamed(menu, dashtexts::kDelete, "Delete"),
                    [&actions, id] { actions.Remove(id); });
            break;
        case ItemKind::ResetButton:
            menu->setObjectName("ResetButtonPopUp");
            connect(AddNamed(menu, dashtexts::kChooseItems, "ChooseItems"),
                    [&actions, id] { actions.EditResetList(id); });
            connect(AddNamed(menu, dashtexts::kEditCaption, "EditCaption"),
                    [&actions, id] { actions.EditCaption(id); });
            connect(AddNamed(menu, dashtexts::kAppearance, "Appearance"),
                    [&actions, id] { actions.EditAppearance(id); });
            connect(AddNamed(menu, dashtexts::kCopy, "Copy"), [&actions, id] { actions.Copy(id); });
            menu->addSeparator();
            connect(AddNamed(menu, dashtexts::kRemoveButton, "RemoveButton"),
                    [&actions, id] { actions.Remove(id); });
            break;
        case ItemKind::Panel: {
            menu->setObjectName("DummyPopUp");
            connect(AddNamed(menu, dashtexts::kEditCaption, "EditCaption"),
                    [&actions, id] { actions.EditCaption(id); });
            connect(AddNamed(menu, dashtexts::kPanelAppearance, "Appearance"),
                    [&actions, id] { actions.EditAppearance(id); });
            if (const int led = LedOf(model, id)) {
                menu->addSeparator();
                menu->addAction(MeterIdText(model, table, led))->setEnabled(false);
                AddMeterEntries(menu, actions, model, led, "Parameters");
                connect(AddNamed(menu, dashtexts::kLedAppearance, "LedAppearance"),
                        [&actions, led] { actions.EditAppearance(led); });
            }
            connect(AddNamed(menu, dashtexts::kCopy, "Copy"), [&actions, id] { actions.Copy(id); });
            menu->addSeparator();
            connect(AddNamed(menu, dashtexts::kRemoveGauge, "RemoveGauge"),
                    [&actions, id] { actions.Remove(id); });
            break;
        }
        default: {
            menu->setObjectName("MeterPopUp");
            QAction* idEntry = menu->addAction(MeterIdText(model, table, id));
            idEntry->setObjectName("Id");
            idEntry->setEnabled(false);
            menu->addSeparator();
            AddMeterEntries(menu, actions, model, id, "Parameters");
            connect(AddNamed(menu, dashtexts::kAppearance, "Appearance"),
                    [&actions, id] { actions.EditAppearance(id); });
            if (item->kind == ItemKind::LedRound) {
                connect(AddNamed(menu, dashtexts::kEditCaption, "EditCaption"),
                        [&actions, id] { actions.EditCaption(id); });
            }
            connect(AddNamed(menu, dashtexts::kCopy, "Copy"), [&actions, id] { actions.Copy(id); });
            menu->addSeparator();
            connect(AddNamed(menu, dashtexts::kRemoveGauge, "RemoveGauge"),
                    [&actions, id] { actions.Remove(id); });
            break;
        }
    }
    AddHint(menu);
    return menu;
}

}  // namespace vekaton
