#pragma once

#include "dashboard/PropertyBag.h"
#include "widgets/PropertyFields.h"

#include <QDialog>

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace vekaton {

class InstrumentWidget;

// The appearance editor of every instrument, built from the kind's property table: one input
// per property, grouped on tabs, a font picker, and a live preview of the instrument. The
// edited widget itself is only changed when the caller applies EditedProperties().
class AppearanceEditor : public QDialog {
    Q_OBJECT
  public:
    explicit AppearanceEditor(const InstrumentWidget& widget, QWidget* parent = nullptr);
    ~AppearanceEditor() override;

    // Every property as edited so far.
    PropertyBag EditedProperties() const { return values_; }
    // Edits one property as if the user had; false for an unknown name or an unusable value.
    bool SetEditedValue(std::string_view name, const PropertyValue& value);
    // Everything back to the kind's defaults.
    void RestoreDefaults();
    // Opens the font dialog and takes the chosen font into the font properties.
    void ChooseFont();

    InstrumentWidget& Preview() { return *preview_; }
    // The input of a property (for tests and keyboard navigation).
    QWidget* FieldOf(std::string_view name) const;

  private:
    void Edited(const std::string& name, const PropertyValue& value);
    void ShowAll(std::string_view except = {});

    std::unique_ptr<InstrumentWidget> ownedPreview_;
    InstrumentWidget* preview_ = nullptr;
    std::vector<PropertyDescriptor> descriptors_;
    std::map<std::string, PropertyField, std::less<>> fields_;
    PropertyBag values_;
};

}  // namespace vekaton
