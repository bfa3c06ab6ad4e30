#include "widgets/AppearanceEditor.h"

#include "widgets/InstrumentWidget.h"
#include "widgets/ItemWidgetFactory.h"
#include "widgets/PropertyWords.h"

#include "dashboard/ItemWords.h"

#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace vekaton {
namespace {

QString GroupOf(const std::string& name) {
    if (name.starts_with("Font.") || name == "Caption" || name == "Units" || name == "Prefix" ||
        name == "Suffix" || name == "Title" || name == "Captions") {
        return QObject::tr("Text");
    }
    if (name.starts_with("Section")) {
        return QObject::tr("Sections");
    }
    if (name.find("Color") != std::string::npos) {
        return QObject::tr("Colours");
    }
    return QObject::tr("General");
}

// The words shown for a property; its stored name stays in the tooltip for those who edit
// layout files.
QString LabelOf(const std::string& name) {
    return QString::fromStdString(PropertyLabel(name));
}

QSize PreviewSize(const InstrumentWidget& widget) {
    QSize size = widget.size();
    if (size.width() < widget.minimumSizeHint().width() ||
        size.height() < widget.minimumSizeHint().height()) {
        size = widget.sizeHint();
    }
    return size.boundedTo(QSize(420, 360)).expandedTo(widget.minimumSizeHint());
}

}  // namespace

AppearanceEditor::AppearanceEditor(const InstrumentWidget& widget, QWidget* parent)
    : QDialog(parent), descriptors_(widget.Descriptors()), values_(widget.ExportProperties()) {
    const std::string_view kind = ClassLabel(widget.ClassName());
    setWindowTitle(tr("%1 appearance")
                       .arg(kind.empty() ? LabelOf(widget.ClassName() + 1)
                                         : QString::fromUtf8(kind.data(),
                                                             static_cast<qsizetype>(kind.size()))));

    ownedPreview_ = CreateItemWidget(widget.ClassName());
    preview_ = ownedPreview_.get();
    preview_->ImportProperties(values_);
    preview_->setFixedSize(PreviewSize(widget));

    auto* previewFrame = new QFrame(this);
    previewFrame->setFrameShape(QFrame::StyledPanel);
    previewFrame->setMinimumSize(preview_->size() + QSize(24, 24));
    auto* previewLayout = new QVBoxLayout(previewFrame);
    preview_->setParent(previewFrame);
    ownedPreview_.release();  // now owned by the frame
    previewLayout->addWidget(preview_, 0, Qt::AlignCenter);

    auto* tabs = new QTabWidget(this);
    std::map<QString, QFormLayout*> forms;
    std::vector<QWidget*> pages;
    for (const PropertyDescriptor& descriptor : descriptors_) {
        const QString group = GroupOf(descriptor.name);
        if (!forms.contains(group)) {
            auto* page = new QWidget;
            auto* form = new QFormLayout(page);
            form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
            auto* scroll = new QScrollArea;
            scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            scroll->setWidget(page);
            pages.push_back(page);
            scroll->setWidgetResizable(true);
            scroll->setFrameShape(QFrame::NoFrame);
            forms[group] = form;
            tabs->addTab(scroll, group);
        }
        const std::string name = descriptor.name;
        PropertyField field = MakePropertyField(
            descriptor, this, [this, name](const PropertyValue& value) { Edited(name, value); });
        auto* label = new QLabel(LabelOf(name));
        label->setToolTip(QString::fromStdString(name));
        label->setBuddy(field.widget);
        forms[group]->addRow(label, field.widget);
        if (name == "Font.Style") {
            auto* fontButton = new QPushButton(tr("Choose font..."));
            connect(fontButton, &QPushButton::clicked, this, [this] { ChooseFont(); });
            forms[group]->addRow(QString(), fontButton);
        }
        fields_.emplace(name, std::move(field));
    }

    // Wide enough that no page needs to scroll sideways.
    int widest = 0;
    for (QWidget* page : pages) {
        widest = std::max(widest, page->sizeHint().width());
    }
    tabs->setMinimumWidth(widest + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] { RestoreDefaults(); });

    auto* body = new QHBoxLayout;
    body->addWidget(previewFrame, 0);
    body->addWidget(tabs, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    ShowAll();
}

AppearanceEditor::~AppearanceEditor() = default;

bool AppearanceEditor::SetEditedValue(std::string_view name, const PropertyValue& value) {
    const PropertyDescriptor* descriptor = FindDescriptor(descriptors_, name);
    if (descriptor == nullptr) {
        return false;
    }
    const auto converted = value.ConvertedTo(descriptor->Type());
    if (!converted) {
        return false;
    }
    Edited(descriptor->name, *converted);
    return true;
}

void AppearanceEditor::RestoreDefaults() {
    values_ = DefaultProperties(descriptors_);
    preview_->ImportProperties(values_);
    ShowAll();
}

void AppearanceEditor::ChooseFont() {
    QFont current(QString::fromStdString(values_.Find("Font.Name")->AsText()));
    const int height = static_cast<int>(values_.Find("Font.Height")->AsInteger());
    current.setPixelSize(height != 0 ? std::abs(height) : 14);
    const PropertyValue* style = values_.Find("Font.Style");
    current.setBold(style->HasMember("fsBold"));
    current.setItalic(style->HasMember("fsItalic"));
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, current, this, tr("Choose font"));
    if (!ok) {
        return;
    }
    Edited("Font.Name", PropertyValue::String(chosen.family().toStdString()));
    const int pixels =
        chosen.pixelSize() > 0
            ? chosen.pixelSize()
            : static_cast<int>(std::lround(chosen.pointSizeF() * logicalDpiY() / 72.0));
    Edited("Font.Height", PropertyValue::Integer(pixels));
    std::vector<std::string> members;
    if (chosen.bold()) {
        members.emplace_back("fsBold");
    }
    if (chosen.italic()) {
        members.emplace_back("fsItalic");
    }
    if (chosen.underline()) {
        members.emplace_back("fsUnderline");
    }
    if (chosen.strikeOut()) {
        members.emplace_back("fsStrikeOut");
    }
    Edited("Font.Style", PropertyValue::Set(std::move(members)));
    ShowAll();
}

QWidget* AppearanceEditor::FieldOf(std::string_view name) const {
    const auto found = fields_.find(name);
    return found != fields_.end() ? found->second.widget : nullptr;
}

void AppearanceEditor::Edited(const std::string& name, const PropertyValue& value) {
    preview_->SetProperty(name, value);
    // Setters may adjust related values (a raised minimum lifts the maximum), so read back
    // everything the preview now holds.
    values_ = preview_->ExportProperties();
    // The input being typed into keeps its text unless the widget would not take the value.
    const PropertyValue* stored = values_.Find(name);
    ShowAll(stored != nullptr && *stored == value ? name : std::string_view());
}

void AppearanceEditor::ShowAll(std::string_view except) {
    for (const auto& [name, field] : fields_) {
        const PropertyValue* value = values_.Find(name);
        if (value != nullptr && name != except) {
            field.show(*value);
        }
    }
}

}  // namespace vekaton
