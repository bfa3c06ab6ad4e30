#include "widgets/PropertyFields.h"

#include "widgets/PropertyWords.h"
#include "widgets/StreamColour.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleValidator>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <climits>
#include <memory>

namespace vekaton {
namespace {

using Edited = std::function<void(const PropertyValue&)>;

// A button that shows a stream colour as a swatch with its name, opens the colour dialog on a
// click and offers the named and system colours in its menu.
class ColourButton : public QToolButton {
  public:
    ColourButton(QWidget* parent, Edited edited) : QToolButton(parent), edited_(std::move(edited)) {
        setPopupMode(QToolButton::MenuButtonPopup);
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        setMinimumWidth(150);
        connect(this, &QToolButton::clicked, this, [this] { ChooseCustom(); });
        auto* menu = new QMenu(this);
        for (const char* name : {"clBlack", "clWhite", "clRed", "clLime", "clYellow", "clBlue",
                                 "clAqua", "clFuchsia", "clGray", "clSilver", "clBtnFace",
                                 "clBtnText", "clWindow", "clWindowText", "clHighlight"}) {
            const ColourValue colour = *ColourFromIdentifier(name);
            QAction* action =
                menu->addAction(Swatch(colour), QString::fromStdString(ColourLabel(name)));
            connect(action, &QAction::triggered, this, [this, colour] { Pick(colour); });
        }
        setMenu(menu);
    }

    void Show(ColourValue colour) {
        colour_ = colour;
        setIcon(Swatch(colour));
        const auto name = ColourIdentifier(colour);
        setText(
            name ? QString::fromStdString(ColourLabel(*name))
                 : QStringLiteral("#%1").arg(ToQColor(colour, palette()).name().mid(1).toUpper()));
        setToolTip(name ? QString::fromStdString(*name) : text());
    }

  private:
    QIcon Swatch(ColourValue colour) const {
        QPixmap pixmap(28, 16);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setPen(QColor(60, 60, 60));
        painter.setBrush(ToQColor(colour, palette()));
        painter.drawRect(0, 0, 27, 15);
        return QIcon(pixmap);
    }

    void ChooseCustom() {
        const QColor chosen =
            QColorDialog::getColor(ToQColor(colour_, palette()), this, tr("Choose colour"));
        if (chosen.isValid()) {
            Pick(FromQColor(chosen));
        }
    }

    void Pick(ColourValue colour) {
        Show(colour);
        edited_(PropertyValue::Colour(colour));
    }

    Edited edited_;
    ColourValue colour_ = 0;
};

PropertyField IntegerField(const PropertyDescriptor& d, QWidget* parent, Edited edited) {
    auto* box = new QSpinBox(parent);
    box->setRange(static_cast<int>(std::max<double>(d.minimum, INT_MIN)),
                  static_cast<int>(std::min<double>(d.maximum, INT_MAX)));
    if (d.name == "Font.Height") {
        box->setToolTip(QObject::tr("Text height in pixels; 0 follows the widget's size"));
        box->setSuffix(QObject::tr(" px"));
    }
    QObject::connect(box, &QSpinBox::valueChanged, box,
                     [edited](int value) { edited(PropertyValue::Integer(value)); });
    return {box, [box](const PropertyValue& v) {
                const QSignalBlocker block(box);
                box->setValue(static_cast<int>(v.AsInteger()));
            }};
}

PropertyField FloatField(const PropertyDescriptor& d, QWidget* parent, Edited edited) {
    auto* line = new QLineEdit(parent);
    auto* validator = new QDoubleValidator(d.minimum, d.maximum, 12, line);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    line->setValidator(validator);
    QObject::connect(line, &QLineEdit::textEdited, line, [line, edited](const QString& text) {
        bool ok = false;
        const double value = QLocale::c().toDouble(text, &ok);
        if (ok && line->hasAcceptableInput()) {
            edited(PropertyValue::Float(value));
        }
    });
    return {line, [line](const PropertyValue& v) {
                const QSignalBlocker block(line);
                line->setText(QString::number(v.AsFloat(), 'g', 12));
            }};
}

PropertyField BooleanField(QWidget* parent, Edited edited) {
    auto* box = new QCheckBox(parent);
    QObject::connect(box, &QCheckBox::toggled, box,
                     [edited](bool on) { edited(PropertyValue::Boolean(on)); });
    return {box, [box](const PropertyValue& v) {
                const QSignalBlocker block(box);
                box->setChecked(v.AsBoolean());
            }};
}

PropertyField StringField(const PropertyDescriptor& d, QWidget* parent, Edited edited) {
    if (d.name == "Font.Name") {
        auto* fonts = new QFontComboBox(parent);
        QObject::connect(fonts, &QFontComboBox::currentFontChanged, fonts,
                         [edited](const QFont& font) {
                             edited(PropertyValue::String(font.family().toStdString()));
                         });
        return {fonts, [fonts](const PropertyValue& v) {
                    const QSignalBlocker block(fonts);
                    fonts->setCurrentFont(QFont(QString::fromStdString(v.AsText())));
                    fonts->setEditText(QString::fromStdString(v.AsText()));
                }};
    }
    auto* line = new QLineEdit(parent);
    QObject::connect(line, &QLineEdit::textEdited, line, [edited](const QString& text) {
        edited(PropertyValue::String(text.toStdString()));
    });
    return {line, [line](const PropertyValue& v) {
                const QSignalBlocker block(line);
                line->setText(QString::fromStdString(v.AsText()));
            }};
}

PropertyField IdentifierField(const PropertyDescriptor& d, QWidget* parent, Edited edited) {
    // The choices read as words; each keeps its stored identifier as the item's data.
    auto* box = new QComboBox(parent);
    for (const std::string& choice : d.choices) {
        box->addItem(QString::fromStdString(ChoiceLabel(choice)), QString::fromStdString(choice));
    }
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box, edited](int index) {
        if (index >= 0) {
            edited(PropertyValue::Identifier(box->itemData(index).toString().toStdString()));
        }
    });
    return {box, [box](const PropertyValue& v) {
                const QSignalBlocker block(box);
                const int index = box->findData(QString::fromStdString(v.AsText()));
                box->setCurrentIndex(index);
            }};
}

PropertyField ColourField(QWidget* parent, Edited edited) {
    auto* button = new ColourButton(parent, std::move(edited));
    return {button, [button](const PropertyValue& v) { button->Show(v.AsColour()); }};
}

PropertyField SetField(const PropertyDescriptor& d, QWidget* parent, Edited edited) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto boxes = std::make_shared<std::vector<std::pair<std::string, QCheckBox*>>>();
    for (const std::string& choice : d.choices) {
        auto* box = new QCheckBox(QString::fromStdString(ChoiceLabel(choice)), row);
        box->setToolTip(QString::fromStdString(choice));
        layout->addWidget(box);
        boxes->emplace_back(choice, box);
    }
    layout->addStretch();
    for (const auto& entry : *boxes) {
        QObject::connect(entry.second, &QCheckBox::toggled, row, [boxes, edited] {
            std::vector<std::string> members;
            for (const auto& [name, box] : *boxes) {
                if (box->isChecked()) {
                    members.push_back(name);
                }
            }
            edited(PropertyValue::Set(std::move(members)));
        });
    }
    return {row, [boxes](const PropertyValue& v) {
                for (const auto& [name, box] : *boxes) {
                    const QSignalBlocker block(box);
                    box->setChecked(v.HasMember(name));
                }
            }};
}

}  // namespace

PropertyField MakePropertyField(const PropertyDescriptor& descriptor, QWidget* parent,
                                std::function<void(const PropertyValue&)> edited) {
    switch (descriptor.Type()) {
        case PropertyType::Integer:
            return IntegerField(descriptor, parent, std::move(edited));
        case PropertyType::Float:
            return FloatField(descriptor, parent, std::move(edited));
        case PropertyType::Boolean:
            return BooleanField(parent, std::move(edited));
        case PropertyType::String:
            return StringField(descriptor, parent, std::move(edited));
        case PropertyType::Identifier:
            return IdentifierField(descriptor, parent, std::move(edited));
        case PropertyType::Colour:
            return ColourField(parent, std::move(edited));
        case PropertyType::Set:
            return SetField(descriptor, parent, std::move(edited));
    }
    return {};
}

}  // namespace vekaton
