#include "app/dashboard/ItemActions.h"

#include <QInputDialog>
#include <QRect>
#include <QUndoStack>

#include "app/dashboard/DashboardPage.h"
#include "app/dashboard/DashboardTexts.h"
#include "app/dashboard/DashboardView.h"
#include "app/dashboard/DesignMode.h"
#include "app/dashboard/ParameterEditor.h"
#include "app/dashboard/ResetListDialog.h"
#include "dashboard/BindingSlots.h"
#include "dashboard/ItemDefaults.h"
#include "decode/Decoder.h"
#include "definitions/BindingScale.h"
#include "widgets/AppearanceEditor.h"
#include "widgets/InstrumentWidget.h"

#include "dashboard/ItemWords.h"

namespace vekaton {
namespace {

constexpr int kFreeSpotWidth = 1200;  // how far right a free spot is sought before a new row

}  // namespace

ItemActions::ItemActions(DashboardParts& parts, QUndoStack& undo, DesignMode& design,
                         DashboardPrompts& prompts, QWidget* dialogParent)
    : QObject(dialogParent),
      parts_(parts),
      undo_(undo),
      design_(design),
      prompts_(prompts),
      dialogParent_(dialogParent) {}

int ItemActions::Run(QDialog& dialog) {
    return prompts_.runDialog ? prompts_.runDialog(dialog) : dialog.exec();
}

void ItemActions::Tell(const QString& message) {
    if (prompts_.showMessage) {
        prompts_.showMessage(message);
    }
}

QString ItemActions::NameOf(int id) const {
    const DashboardItem* item = parts_.model.Find(id);
    return item != nullptr ? QString::fromStdString(ItemDisplayName(*item)) : QString();
}

std::optional<int> ItemActions::Create(ItemKind kind, int page) {
    const std::optional<int> id = parts_.model.AddItem(kind, page);
    if (!id) {
        Tell(kind == ItemKind::ResetButton &&
                     parts_.model.Counter(kind) >= ResetButtonTable::kLastNumber
                 ? dashtexts::kTooManyResetButtons
                 : dashtexts::kDashboardFull);
    }
    return id;
}

void ItemActions::Place(int id, QPoint at) {
    const int movable = parts_.view.MovableItem(id);
    const DashboardItem* item = parts_.model.Find(movable);
    if (item == nullptr) {
        return;
    }
    PropertyBag properties = item->properties;
    properties.Set("Left", PropertyValue::Integer(at.x()));
    properties.Set("Top", PropertyValue::Integer(at.y()));
    parts_.model.SetProperties(movable, properties);
}

std::optional<int> ItemActions::AddItem(ItemKind kind, int page, QPoint at) {
    const std::optional<int> id = Create(kind, page);
    if (id) {
        Place(*id,
              QPoint(std::max(0, design_.SnapDown(at.x())), std::max(0, design_.SnapDown(at.y()))));
        undo_.push(
            new AddedItemCommand(parts_, *id, QString(dashtexts::kUndoAdd).arg(NameOf(*id))));
    }
    return id;
}

bool ItemActions::Bind(int id, int position, int bit) {
    const ParameterRecord* record = parts_.table.Find(position);
    if (record == nullptr) {
        return false;
    }
    if (!BindingsFit(parts_.table, {id}, position, record->ByteCount)) {
        Tell(QString(dashtexts::kPositionFull).arg(LastBytePosition(position, record->ByteCount)));
        return false;
    }
    parts_.decoder.BindItem(id, position);
    BindingEntry entry = parts_.model.Binding(id);
    if (bit >= 0 && bit <= 7) {
        entry.bit = bit;
    }
    parts_.model.SetBinding(id, entry);
    return true;
}

QPoint ItemActions::FreeSpot(int page, QSize size) const {
    std::vector<QRect> taken;
    for (const int id : parts_.model.LiveIds()) {
        const DashboardItem* item = parts_.model.Find(id);
        if (item->page != page || item->parentId != 0) {
            continue;
        }
        if (const InstrumentWidget* widget = parts_.view.WidgetOf(id)) {
            taken.push_back(widget->PageGeometry().adjusted(-4, -4, 4, 4));
        }
    }
    const int step = std::max(design_.GridStep(), 10);
    for (int y = step; y < 100000; y += step) {
        for (int x = step; x + size.width() <= kFreeSpotWidth; x += step) {
            const QRect spot(QPoint(x, y), size);
            if (std::none_of(taken.begin(), taken.end(),
                             [&spot](const QRect& r) { return r.intersects(spot); })) {
                return spot.topLeft();
            }
        }
    }
    return QPoint(step, step);
}

std::optional<int> ItemActions::AddBoundItem(ItemKind kind, int page, int position, int bit) {
    const ParameterRecord* record = parts_.table.Find(position);
    if (record == nullptr) {
        return std::nullopt;
    }
    if (!BindingsFit(parts_.table, {0}, position, record->ByteCount)) {
        Tell(QString(dashtexts::kPositionFull).arg(LastBytePosition(position, record->ByteCount)));
        return std::nullopt;
    }
    const std::optional<int> id = Create(kind, page);
    if (!id) {
        return id;
    }
    const int movable = parts_.view.MovableItem(*id);
    const InstrumentWidget* widget = parts_.view.WidgetOf(movable);
    Place(*id, FreeSpot(page, widget != nullptr ? widget->PageGeometry().size() : QSize(100, 100)));
    Bind(*id, position, bit);
    // A panel says what its LED shows.
    const DashboardItem* item = parts_.model.Find(*id);
    parts_.model.SetProperties(
        *id, PropertiesOnBinding(kind, item->properties, std::nullopt,
                                 ScaleOf(parts_.table, parts_.details, position)));
    if (kind == ItemKind::LedRound && record->IsDigital && bit >= 0 && bit <= 7 &&
        !record->Descriptions[static_cast<std::size_t>(bit)].empty()) {
        PropertyBag panel = parts_.model.Find(item->parentId)->properties;
        panel.Set("Caption", PropertyValue::String(
                                 "     " + record->Descriptions[static_cast<std::size_t>(bit)]));
        panel.Set("Width", PropertyValue::Integer(150));
        parts_.model.SetProperties(item->parentId, panel);
    } else if (!record->IsDigital && !record->Descriptions[0].empty() &&
               (kind == ItemKind::AngularGauge || kind == ItemKind::Thermometer ||
                kind == ItemKind::AnalogDisplay)) {
        parts_.model.SetProperty(*id, "Caption", PropertyValue::String(record->Descriptions[0]));
    }
    undo_.push(new AddedItemCommand(parts_, *id, QString(dashtexts::kUndoAdd).arg(NameOf(*id))));
    return id;
}

void ItemActions::Copy(int id) {
    const DashboardItem* item = parts_.model.Find(id);
    if (item == nullptr) {
        return;
    }
    if (item->kind == ItemKind::Panel) {
        // The panel stands for its LED.
        for (const int other : parts_.model.LiveIds()) {
            if (parts_.model.Find(other)->parentId == id) {
                Copy(other);
                return;
            }
        }
        return;
    }
    Clipboard clip;
    clip.kind = item->kind;
    clip.properties = item->properties;
    clip.binding = parts_.model.Binding(id);
    clip.reset = parts_.model.ResetButtonFor(id);
    if (const DashboardItem* panel = parts_.model.Find(item->parentId)) {
        clip.panelProperties = panel->properties;
    }
    clipboard_ = clip;
}

std::optional<int> ItemActions::Paste(int page, QPoint at) {
    if (!clipboard_) {
        Tell(dashtexts::kNothingToPaste);
        return std::nullopt;
    }
    const Clipboard clip = *clipboard_;
    const std::optional<int> id = Create(clip.kind, page);
    if (!id) {
        return id;
    }
    parts_.model.SetProperties(*id, clip.properties);
    const DashboardItem* item = parts_.model.Find(*id);
    if (item->parentId != 0) {
        PropertyBag panel = clip.panelProperties;
        // The new panel's name differs; its caption is the copied one.
        parts_.model.SetProperties(item->parentId, panel);
    }
    Place(*id,
          QPoint(std::max(0, design_.SnapDown(at.x())), std::max(0, design_.SnapDown(at.y()))));
    if (clip.binding.position > 0) {
        Bind(*id, clip.binding.position, clip.binding.bit);
    }
    BindingEntry entry = parts_.model.Binding(*id);
    entry.holdMode = clip.binding.holdMode;
    entry.bit = clip.binding.bit;
    parts_.model.SetBinding(*id, entry);
    if (clip.kind == ItemKind::ResetButton) {
        parts_.model.SetResetButton(*id, clip.reset);
    }
    undo_.push(new AddedItemCommand(parts_, *id, QString(dashtexts::kUndoPaste).arg(NameOf(*id))));
    return id;
}

void ItemActions::Remove(int id) {
    const DashboardItem* item = parts_.model.Find(id);
    if (item == nullptr) {
        return;
    }
    if (item->kind == ItemKind::Panel) {
        for (const int other : parts_.model.LiveIds()) {
            if (parts_.model.Find(other)->parentId == id) {
                id = other;  // removing the LED takes the panel too
                break;
            }
        }
    }
    undo_.push(new RemoveItemCommand(parts_, id, QString(dashtexts::kUndoRemove).arg(NameOf(id))));
}

void ItemActions::SetHoldMode(int id, int mode) {
    const int before = parts_.model.Binding(id).holdMode;
    if (parts_.model.Find(id) == nullptr || before == mode) {
        return;
    }
    undo_.push(new HoldModeCommand(parts_, id, before, mode,
                                   QString(dashtexts::kUndoHold).arg(NameOf(id))));
}

void ItemActions::ResetMinMax(int id) {
    parts_.model.ResetMinMax(id);
}

bool ItemActions::EditCaption(int id) {
    const DashboardItem* item = parts_.model.Find(id);
    if (item != nullptr && item->kind == ItemKind::LedRound) {
        item = parts_.model.Find(item->parentId);  // the LED's words are its panel's caption
    }
    if (item == nullptr) {
        return false;
    }
    const int target = item->id;
    const PropertyValue* caption = item->properties.Find("Caption");
    QInputDialog dialog(dialogParent_);
    dialog.setObjectName("CaptionDialog");
    dialog.setWindowTitle(QString::fromStdString(ItemDisplayName(*item)));
    dialog.setLabelText(dashtexts::kCaptionPrompt);
    dialog.setTextValue(caption != nullptr ? QString::fromStdString(caption->AsText()) : QString());
    if (Run(dialog) != QDialog::Accepted) {
        return false;
    }
    PropertyBag after = item->properties;
    after.Set("Caption", PropertyValue::String(dialog.textValue().toStdString()));
    undo_.push(new PropertiesCommand(parts_, target, item->properties, after,
                                     QString(dashtexts::kUndoCaption).arg(NameOf(target))));
    return true;
}

bool ItemActions::EditAppearance(int id) {
    InstrumentWidget* widget = parts_.view.WidgetOf(id);
    const DashboardItem* item = parts_.model.Find(id);
    if (widget == nullptr || item == nullptr) {
        return false;
    }
    AppearanceEditor editor(*widget, dialogParent_);
    if (Run(editor) != QDialog::Accepted) {
        return false;
    }
    PropertyBag full = widget->ExportStreamed();
    for (const PropertyBag::Entry& entry : editor.EditedProperties()) {
        if (full.Contains(entry.name)) {
            full.Set(entry.name, entry.value);
        }
    }
    const PropertyBag after = ChangedProperties(full, widget->StreamedDescriptors());
    if (after == item->properties) {
        return false;
    }
    undo_.push(new PropertiesCommand(parts_, id, item->properties, after,
                                     QString(dashtexts::kUndoAppearance).arg(NameOf(id))));
    return true;
}

bool ItemActions::EditResetList(int id) {
    if (parts_.model.ResetButtonNumber(id) == 0) {
        return false;
    }
    ResetListDialog dialog(parts_.model, parts_.table, id, dialogParent_);
    if (Run(dialog) != QDialog::Accepted) {
        return false;
    }
    const ResetButtonEntry before = parts_.model.ResetButtonFor(id);
    const ResetButtonEntry after = dialog.Entry();
    if (after == before) {
        return false;
    }
    undo_.push(new ResetButtonCommand(parts_, id, before, after,
                                      QString(dashtexts::kUndoResetList).arg(NameOf(id))));
    return true;
}

bool ItemActions::RenamePage(int page) {
    QInputDialog dialog(dialogParent_);
    dialog.setObjectName("RenamePageDialog");
    dialog.setWindowTitle(dashtexts::kRenamePage);
    dialog.setLabelText(dashtexts::kRenamePagePrompt);
    const std::string before = parts_.model.PageCaption(page);
    dialog.setTextValue(before.empty() ? QObject::tr("Page %1").arg(page + 1)
                                       : QString::fromStdString(before));
    if (Run(dialog) != QDialog::Accepted) {
        return false;
    }
    const std::string after = dialog.textValue().trimmed().toStdString();
    if (after == before || after.empty()) {
        return false;
    }
    undo_.push(new PageCaptionCommand(parts_, page, before, after, dashtexts::kUndoRenamePage));
    return true;
}

bool ItemActions::ChooseGridStep() {
    QInputDialog dialog(dialogParent_);
    dialog.setObjectName("GridStepDialog");
    dialog.setWindowTitle(dashtexts::kGridStep);
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setLabelText(dashtexts::kGridStepPrompt);
    dialog.setIntRange(DesignMode::kMinGridStep, DesignMode::kMaxGridStep);
    dialog.setIntValue(design_.GridStep());
    if (Run(dialog) != QDialog::Accepted) {
        return false;
    }
    design_.SetGridStep(dialog.intValue());
    return true;
}

void ItemActions::EditParameters(int position, int itemId) {
    ParameterEditor editor(
        parts_.table, parts_.details, parts_.model, position, itemId,
        [this](const ParameterEdit& edit) { return ApplyEdit(edit); }, dialogParent_);
    editor.SetQuestionRunner([this](QDialog& question) { return Run(question); });
    Run(editor);
}

QString ItemActions::ApplyEdit(const ParameterEdit& edit) {
    const EditCheck check = CheckParameterEdit(parts_.table, parts_.model, edit);
    if (check.problem != EditProblem::None) {
        return check.problem == EditProblem::SlotsFull
                   ? QString(dashtexts::kProblemFull).arg(check.lastPosition)
                   : QObject::tr("The edit cannot be made.");
    }
    // An instrument bound here takes its scale, unit and decimals from the details, where they
    // are still what it had before: its kind's or its previous position's.
    const DashboardItem* item = parts_.model.Find(edit.itemId);
    const int shown = item != nullptr ? parts_.model.Binding(edit.itemId).position : 0;
    const std::optional<InstrumentScale> scaleBefore =
        shown > 0 ? std::optional(ScaleOf(parts_.table, parts_.details, shown)) : std::nullopt;
    BindingSnapshot before =
        BindingSnapshot::Take(parts_.table, parts_.model, {edit.position}, &parts_.details);
    ApplyParameterEdit(parts_.table, parts_.decoder, parts_.model, edit, &parts_.details);
    BindingSnapshot after =
        BindingSnapshot::Take(parts_.table, parts_.model, {edit.position}, &parts_.details);
    const QString text = QString(dashtexts::kUndoParameter).arg(edit.position);
    undo_.beginMacro(text);
    undo_.push(new ParameterCommand(
        parts_, std::move(before), std::move(after), [this] { emit definitionsChanged(); }, text));
    if (item != nullptr) {
        PropertyBag scaled =
            PropertiesOnBinding(item->kind, item->properties, scaleBefore,
                                ScaleOf(parts_.table, parts_.details, edit.position));
        if (!(scaled == item->properties)) {
            undo_.push(new PropertiesCommand(parts_, edit.itemId, item->properties,
                                             std::move(scaled), text));
        }
    }
    undo_.endMacro();
    emit definitionsChanged();
    return {};
}

}  // namespace vekaton
