#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/ItemKinds.h"
#include "dashboard/ItemNumbering.h"
#include "dashboard/PropertyBag.h"
#include "dashboard/ResetButtons.h"
#include "decode/ItemSink.h"

namespace vekaton {

// One row of the binding table. A fresh table holds position 0, bit 8 (none), hold mode 0.
struct BindingEntry {
    static constexpr int kNoBit = 8;
    int position = 0;
    int bit = kNoBit;
    int holdMode = 0;  // numeric displays: 0 follow, 1 "Min" (only falls), 2 "Max" (only rises)
};

inline constexpr int kHoldFollow = 0;
inline constexpr int kHoldMin = 1;
inline constexpr int kHoldMax = 2;

// A user-created dashboard item and the live state the decoder writes into it.
struct DashboardItem {
    int id = 0;  // the item's Tag: 1..500 while alive, -1 once removed
    ItemKind kind = ItemKind::Label;
    std::string name;
    int page = 0;      // 0-based dashboard page index
    int parentId = 0;  // the digital LED's panel; 0 for items placed on a page
    bool removed = false;
    std::string caption;  // the caption a new label, panel or reset button starts with
    // The streamed properties the item has been given (geometry, captions, appearance), as the
    // user set them: the truth its widget renders and a layout file keeps.
    PropertyBag properties;

    double position = 0.0;  // angular gauge, thermometer
    double minMarker = 0.0;
    double maxMarker = 0.0;
    double value = 0.0;   // displays and odometer: what is shown (held in Min/Max mode)
    double latest = 0.0;  // displays: the last value received, whatever the hold mode
    bool active = false;  // round LED
    // The bound position's formula faulted for the last bytes: displays show a dash, gauges and
    // thermometers stay where they were. The next value clears it.
    bool noValue = false;
};

// The items of the dashboard pages, their names and IDs, and the binding table. IDs run from 1 to
// 500 and are handed out in creation order; a removed item keeps its ID slot for the session.
class DashboardModel : public ItemSink {
  public:
    static constexpr int kFirstId = ItemSink::kFirstItemId;
    static constexpr int kLastId = ItemSink::kLastItemId;
    static constexpr bool IsValidId(int id) { return id >= kFirstId && id <= kLastId; }

    // Creates an item as the "Add" menu does: raises the kind's counter, names it, binding entry
    // (0, 0, 0). A digital LED comes with its panel, created first; the LED's ID is returned.
    // nullopt when all 500 IDs are taken, the kind has no name prefix, or 99 reset buttons
    // (the most the reset-button table holds) have been added.
    std::optional<int> AddItem(ItemKind kind, int page);
    // Creates an item with exactly this name, as a gauge list does, raising the kind's counter to
    // the number in the name. nullopt for a name of no known kind or when the IDs are used up.
    // A digital LED adopts the panel created just before it when that panel has no LED yet (a
    // list that names the panel too), else it gets a new panel first; so recreating the items
    // of a save in their saved order gives each its saved number as ID.
    std::optional<int> CreateGauge(std::string_view name, int page);
    // The same with a given ID (a loader that knows the saved numbers). A digital LED's panel
    // is the parentless panel at id - 1, or is created there, or after the last used ID when
    // that is taken. nullopt when the ID is outside 1..500 or already used.
    std::optional<int> CreateGauge(std::string_view name, int page, int id);
    // Low-level creation with a given kind and name (not empty); counters are untouched.
    std::optional<int> Insert(ItemKind kind, std::string name, int page, int parentId = 0);

    // Marks the item (and a LED's panel) removed with ID -1 in the item; the caller detaches it
    // from its position first (Decoder::DetachItem).
    void Remove(int id);
    // Brings a removed item (and a LED's panel) back under its old ID, for undo. The caller
    // binds it again. False when the slot is not a removed item.
    bool Restore(int id);
    // Forgets every item and resets counters and the binding table (before a dashboard loads).
    void Clear();

    DashboardItem* Find(int id);  // nullptr outside 1..500 or when unused
    const DashboardItem* Find(int id) const;
    std::optional<int> FindByName(std::string_view name) const;  // case-insensitive, live items
    // All item slots in ID order, removed ones included (their id is -1).
    const std::vector<DashboardItem>& Items() const { return items_; }
    // The item in an ID's slot, removed or not; nullptr for a slot never used.
    const DashboardItem* Slot(int id) const;
    // Live items in component (ID) order.
    std::vector<int> LiveIds() const;

    // Streamed properties; every change is reported to the change observer.
    void SetProperties(int id, PropertyBag properties);
    void SetProperty(int id, std::string_view name, PropertyValue value);

    // Page captions as the user renamed them; empty means the page's own caption.
    std::string PageCaption(int page) const;
    void SetPageCaption(int page, std::string caption);

    // Reset buttons. A button's number is the number in its name (1 to 99).
    int ResetButtonNumber(int id) const;  // 0 for anything but a live reset button
    const ResetButtonTable& ResetButtons() const { return resetButtons_; }
    ResetButtonEntry ResetButtonFor(int id) const;
    void SetResetButton(int id, ResetButtonEntry entry);
    void SetResetEntry(int number, ResetButtonEntry entry);  // by number, as a loader does
    // A click: resets the markers or held values of the button's live items to its presets.
    void ClickResetButton(int id);

    // Saving: the live items numbered 1, 2, ... in component order, and a button's ID list
    // in that numbering (items removed since are left out).
    ItemNumbering NumberForSave() const;
    std::vector<int> ResetListForSave(int number, const ItemNumbering& numbering) const;
    std::string ResetListTextForSave(int number, const ItemNumbering& numbering) const;

    // Binding table; ids outside 1..500 read the start values and are never written.
    BindingEntry Binding(int id) const;
    void SetBinding(int id, const BindingEntry& entry);
    void SetBoundPosition(int id, int position) override;
    int BoundPosition(int id) const override { return Binding(id).position; }
    void SetHoldMode(int id, int mode);

    int Counter(ItemKind kind) const;  // 0 for a kind without a counter
    void RaiseCounter(ItemKind kind, int atLeast);

    // The decoder's hand-over of one position's value to one bound item; picks by kind.
    void ApplyDecoded(int id, double value, const std::array<bool, 8>& bits) override;
    void ApplyNoValue(int id) override;
    // Live state from the decoder. Each returns after notifying the observer if something moved.
    void ApplyValue(int id, double value);                    // by kind: Position or Value
    void ApplyBits(int id, const std::array<bool, 8>& bits);  // round LED: Active from its bit
    // Reset of min/max markers (gauges) or held values (numeric displays in Min/Max mode);
    // kPresetCurrentValue means the current reading.
    void ResetMinMax(int id, double minPreset = kPresetCurrentValue,
                     double maxPreset = kPresetCurrentValue);
    // Back to zero readings after a layout has been read; LEDs dark.
    void ClearLiveReadings();

    // Called with the item's ID whenever its live state changes, so only that widget repaints.
    void SetObserver(std::function<void(int id)> observer) { observer_ = std::move(observer); }
    // Called with an ID's slot whenever an item appears, is removed or restored, or its
    // streamed properties change, so that its widget follows.
    void SetChangeObserver(std::function<void(int id)> observer) {
        changeObserver_ = std::move(observer);
    }

  private:
    void Notify(int id);
    void NotifyChange(int id);
    std::optional<int> InsertAt(int id, ItemKind kind, std::string name, int page, int parentId,
                                const std::optional<std::string>& caption = std::nullopt);
    // A digital LED's panel at a given ID: named and captioned from the panel counter.
    std::optional<int> NewPanelAt(int id, int page);
    // The parentless panel at a slot that a LED may adopt; 0 when there is none.
    int AdoptablePanel(int id) const;

    std::vector<DashboardItem> items_;                  // items_[id - 1]
    std::array<BindingEntry, kLastId + 1> bindings_{};  // [0] unused
    std::array<int, kNamedKindCount> counters_{};
    ResetButtonTable resetButtons_;
    std::vector<std::string> pageCaptions_;
    std::function<void(int id)> observer_;
    std::function<void(int id)> changeObserver_;
};

}  // namespace vekaton
