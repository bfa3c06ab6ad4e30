#include "app/sets/NewSetDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/PortChooser.h"
#include "app/sets/NewSetTexts.h"
#include "common/CommandText.h"
#include "definitions/ImportedSet.h"
#include "io/SimulatedLink.h"

namespace vekaton {
namespace {

using namespace newsettexts;

QLabel* WrappedLabel(const QString& text = {}) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

// The name itself when no set of it is in the folder, else the first free "NAME2", "NAME3", ...
QString FreeSetName(const QString& folder, const QString& name) {
    const std::filesystem::path where = folder.toStdString();
    QString candidate = name;
    for (int n = 2; ExistingSetFile(where, candidate.toStdString()) && n < 100; ++n) {
        candidate = name + QString::number(n);
    }
    return candidate;
}

}  // namespace

NewSetDialog::NewSetDialog(Inputs inputs, QWidget* parent)
    : QDialog(parent), inputs_(std::move(inputs)) {
    setObjectName("NewSetDialog");
    setWindowTitle(inputs_.firstStart ? kWelcomeTitle : kNewSetTitle);
    choice_.folder = inputs_.folder;
    auto* layout = new QVBoxLayout(this);
    // Made first: filling the source page may already have a problem to say.
    problem_ = WrappedLabel();
    problem_->setObjectName("Problem");
    problem_->setStyleSheet("QLabel { color: #b00000; }");
    problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pages_ = new QStackedWidget;
    BuildSourcePage(pages_);
    BuildPortPage(pages_);
    layout->addWidget(pages_, 1);
    layout->addWidget(problem_);
    auto* buttons = new QHBoxLayout;
    back_ = new QPushButton(kBack);
    auto* cancel = new QPushButton(kCancel);
    next_ = new QPushButton(kNext);
    next_->setDefault(true);
    buttons->addWidget(back_);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(next_);
    layout->addLayout(buttons);
    connect(back_, &QPushButton::clicked, this, &NewSetDialog::Back);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(next_, &QPushButton::clicked, this, [this] {
        if (PageIndex() == 0) {
            Next();
        } else {
            accept();
        }
    });
    ShowPage(0);
    resize(720, 560);
}

void NewSetDialog::BuildSourcePage(QStackedWidget* pages) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* heading = new QLabel(inputs_.firstStart ? kWelcomeTitle : kNewSetTitle);
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    heading->setFont(big);
    layout->addWidget(heading);
    layout->addWidget(WrappedLabel(inputs_.firstStart ? kWelcomeIntro : kNewSetIntro));
    demo_ = new QRadioButton(kDemo);
    library_ = new QRadioButton(kLibrary);
    adx_ = new QRadioButton(kAdx);
    empty_ = new QRadioButton(kEmpty);
    library_->setChecked(true);
    search_ = new QLineEdit;
    search_->setObjectName("DefinitionSearch");
    search_->setPlaceholderText(kSearchHint);
    search_->setClearButtonEnabled(true);
    definitions_ = new QListWidget;
    definitions_->setObjectName("Definitions");
    auto* indented = new QVBoxLayout;
    indented->setContentsMargins(24, 0, 0, 6);
    indented->addWidget(search_);
    indented->addWidget(definitions_, 1);
    layout->addWidget(demo_);
    layout->addWidget(library_);
    layout->addLayout(indented, 1);
    layout->addWidget(adx_);
    layout->addWidget(empty_);
    pages->addWidget(page);
    FillDefinitions();

    connect(search_, &QLineEdit::textChanged, this, [this] {
        library_->setChecked(true);
        FillDefinitions();
    });
    connect(definitions_, &QListWidget::itemClicked, this, [this] { library_->setChecked(true); });
    connect(definitions_, &QListWidget::itemActivated, this, [this] {
        library_->setChecked(true);
        Next();
    });
}

void NewSetDialog::BuildPortPage(QStackedWidget* pages) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* heading = new QLabel(QString("<b>%1</b>").arg(kPortTitle));
    layout->addWidget(heading);
    summary_ = WrappedLabel();
    summary_->setObjectName("Summary");
    layout->addWidget(summary_);
    auto* form = new QFormLayout;
    port_ = new QComboBox;
    port_->setObjectName("Port");
    refresh_ = new QPushButton(kRefresh);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(port_, 1);
    portRow->addWidget(refresh_);
    form->addRow(kPort, portRow);
    portNote_ = WrappedLabel();
    portNote_->setObjectName("PortNote");
    portNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString(), portNote_);
    startString_ = new QLineEdit;
    startString_->setObjectName("StartString");
    startStringLabel_ = new QLabel(kStartString);
    form->addRow(startStringLabel_, startString_);
    startStringNote_ = WrappedLabel();
    form->addRow(QString(), startStringNote_);
    setName_ = new QLineEdit;
    setName_->setObjectName("SetName");
    form->addRow(kSetName, setName_);
    folder_ = WrappedLabel();
    folder_->setObjectName("Folder");
    auto* change = new QPushButton(kChangeFolder);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(change);
    form->addRow(kFolder, folderRow);
    layout->addLayout(form);
    layout->addStretch(1);
    pages->addWidget(page);

    connect(refresh_, &QPushButton::clicked, this, &NewSetDialog::FillPorts);
    connect(port_, &QComboBox::currentIndexChanged, this, &NewSetDialog::PortChanged);
    connect(change, &QPushButton::clicked, this, [this] {
        if (inputs_.chooseFolder) {
            if (const std::optional<QString> folder = inputs_.chooseFolder(choice_.folder)) {
                SetFolder(*folder);
            }
        }
    });
}

void NewSetDialog::FillDefinitions() {
    const QList<QListWidgetItem*> was = definitions_->selectedItems();
    const QString selected = was.isEmpty() ? QString() : was.front()->data(Qt::UserRole).toString();
    definitions_->clear();
    for (const LibraryEntry& entry : inputs_.library) {
        if (!MatchesLibrarySearch(entry, search_->text().toStdString())) {
            continue;
        }
        const QString id = QString::fromStdString(entry.id);
        auto* item = new QListWidgetItem(
            QString("%1   %2").arg(id, QString::fromStdString(entry.description)));
        item->setData(Qt::UserRole, id);
        item->setToolTip(QString::fromStdString(entry.searchText).trimmed());
        definitions_->addItem(item);
        if (id == selected) {
            definitions_->setCurrentItem(item);
        }
    }
    // What a search found first is chosen, so that Enter goes on with it; the whole list waits
    // for the user's own choice.
    if (definitions_->selectedItems().isEmpty() && definitions_->count() > 0 &&
        (definitions_->count() == 1 || !search_->text().trimmed().isEmpty())) {
        definitions_->setCurrentRow(0);
    }
    ShowProblem(definitions_->count() == 0 && !search_->text().trimmed().isEmpty()
                    ? QString(kNoMatch).arg(search_->text().trimmed())
                    : QString());
}

const LibraryEntry* NewSetDialog::SelectedEntry() const {
    // Selected, not merely current: a list given the focus makes its first row current unseen.
    const QList<QListWidgetItem*> selected = definitions_->selectedItems();
    const QListWidgetItem* item = selected.isEmpty() ? nullptr : selected.front();
    if (item == nullptr) {
        return nullptr;
    }
    const std::string id = item->data(Qt::UserRole).toString().toStdString();
    for (const LibraryEntry& entry : inputs_.library) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

bool NewSetDialog::Next() {
    ShowProblem({});
    QString name;
    if (demo_->isChecked()) {
        choice_.source = NewSetSource::Demo;
        name = "Demo";
        summary_->setText(kFromDemo);
    } else if (library_->isChecked()) {
        const LibraryEntry* entry = SelectedEntry();
        if (entry == nullptr) {
            ShowProblem(kChooseDefinition);
            return false;
        }
        choice_.source = NewSetSource::Library;
        choice_.definitionId = QString::fromStdString(entry->id);
        choice_.needsStartString = entry->needsStartString;
        name = choice_.definitionId;
        summary_->setText(
            QString(kFromLibrary)
                .arg(choice_.definitionId, QString::fromStdString(entry->description)));
    } else if (adx_->isChecked()) {
        const std::optional<QString> file =
            inputs_.chooseAdxFile ? inputs_.chooseAdxFile() : std::nullopt;
        if (!file) {
            return false;
        }
        if (const QString error = inputs_.readAdx ? inputs_.readAdx(*file) : QString();
            !error.isEmpty()) {
            ShowProblem(error);
            return false;
        }
        StartWithAdx(*file);
        return true;
    } else {
        choice_.source = NewSetSource::Empty;
        name = "MyCar";
        summary_->setText(kFromEmpty);
    }
    setName_->setText(FreeSetName(choice_.folder, name));
    ShowPage(1);
    return true;
}

void NewSetDialog::StartWithAdx(const QString& file) {
    adx_->setChecked(true);
    choice_.source = NewSetSource::Adx;
    choice_.adxFile = file;
    summary_->setText(QString(kFromAdx).arg(QDir::toNativeSeparators(file)));
    const QString name = QString::fromStdString(DefaultImportSetName(file.toStdString()));
    setName_->setText(FreeSetName(choice_.folder, name));
    ShowPage(1);
}

void NewSetDialog::Back() {
    ShowProblem({});
    ShowPage(0);
}

void NewSetDialog::ShowPage(int index) {
    pages_->setCurrentIndex(index);
    back_->setVisible(index == 1);
    next_->setText(index == 0 ? kNext : kStart);
    if (index == 1) {
        const bool needsStart = choice_.source == NewSetSource::Library && choice_.needsStartString;
        startStringLabel_->setVisible(needsStart);
        startString_->setVisible(needsStart);
        startStringNote_->setVisible(needsStart);
        startStringNote_->setText(QString(kStartStringNote).arg(choice_.definitionId));
        folder_->setText(QDir::toNativeSeparators(choice_.folder));
        FillPorts();
        setName_->setFocus();
    } else {
        search_->setFocus();
    }
}

void NewSetDialog::FillPorts() {
    const QString before = port_->currentData().toString();
    ports_ = inputs_.ports ? inputs_.ports() : QList<PortChoice>{};
    port_->blockSignals(true);
    port_->clear();
    int chosen = -1;
    for (const PortChoice& choice : std::as_const(ports_)) {
        port_->addItem(choice.label, choice.device);
        const bool adapter = choice.label != choice.device && choice.device != kSimulatedPortName;
        if (choice.device == before || (chosen < 0 && adapter)) {
            chosen = port_->count() - 1;
        }
    }
    // No adapter found: the simulated module, so that Start still gives a working dashboard.
    if (chosen < 0 || choice_.source == NewSetSource::Demo) {
        chosen = port_->findData(QString(kSimulatedPortName));
    }
    port_->setCurrentIndex(chosen);
    port_->blockSignals(false);
    port_->setEnabled(choice_.source != NewSetSource::Demo);
    refresh_->setEnabled(choice_.source != NewSetSource::Demo);
    PortChanged();
}

void NewSetDialog::PortChanged() {
    const QString device = port_->currentData().toString();
    QString note;
    if (choice_.source == NewSetSource::Demo) {
        note = kDemoPort;
    } else if (const QString advice = PortAccessAdvice(device); !advice.isEmpty()) {
        note = advice;
    } else if (std::none_of(ports_.begin(), ports_.end(), [](const PortChoice& p) {
                   return p.label != p.device && p.device != kSimulatedPortName;
               })) {
        note = kNoAdapter;
    }
    portNote_->setText(note);
    portNote_->setVisible(!note.isEmpty());
}

void NewSetDialog::accept() {
    if (PageIndex() == 0) {
        Next();
        return;
    }
    const QString name = setName_->text().trimmed();
    if (const auto problem = ImportSetNameProblem(name.toStdString())) {
        ShowProblem(QString(kBadName).arg(name, QString::fromStdString(*problem)));
        return;
    }
    if (const auto existing = ExistingSetFile(choice_.folder.toStdString(), name.toStdString())) {
        ShowProblem(
            QString(kSetExists).arg(name, QString::fromStdString(existing->filename().string())));
        return;
    }
    bool truncated = false;
    RequestTextToBytes(startString_->text().toStdString(), &truncated);
    if (choice_.needsStartString && truncated) {
        ShowProblem(QString(kBadStartString).arg(kMaxRequestBytes));
        return;
    }
    choice_.setName = name;
    choice_.port = port_->currentData().toString();
    choice_.startString = choice_.needsStartString ? startString_->text().trimmed() : QString();
    QDialog::accept();
}

void NewSetDialog::ShowProblem(const QString& text) {
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}

void NewSetDialog::ChooseSource(NewSetSource source) {
    switch (source) {
        case NewSetSource::Demo:
            demo_->setChecked(true);
            break;
        case NewSetSource::Library:
            library_->setChecked(true);
            break;
        case NewSetSource::Adx:
            adx_->setChecked(true);
            break;
        case NewSetSource::Empty:
            empty_->setChecked(true);
            break;
    }
}

void NewSetDialog::SetSearch(const QString& text) {
    search_->setText(text);
}

QStringList NewSetDialog::ShownDefinitions() const {
    QStringList ids;
    for (int row = 0; row < definitions_->count(); ++row) {
        ids.append(definitions_->item(row)->data(Qt::UserRole).toString());
    }
    return ids;
}

bool NewSetDialog::SelectDefinition(const QString& id) {
    for (int row = 0; row < definitions_->count(); ++row) {
        if (definitions_->item(row)->data(Qt::UserRole).toString() == id) {
            definitions_->setCurrentRow(row);
            library_->setChecked(true);
            return true;
        }
    }
    return false;
}

int NewSetDialog::PageIndex() const {
    return pages_->currentIndex();
}

QStringList NewSetDialog::PortLabels() const {
    QStringList labels;
    for (int i = 0; i < port_->count(); ++i) {
        labels.append(port_->itemText(i));
    }
    return labels;
}

bool NewSetDialog::SelectPort(const QString& device) {
    const int index = port_->findData(device);
    if (index >= 0) {
        port_->setCurrentIndex(index);
    }
    return index >= 0;
}

void NewSetDialog::SetSetName(const QString& name) {
    setName_->setText(name);
}

void NewSetDialog::SetFolder(const QString& folder) {
    choice_.folder = folder;
    folder_->setText(QDir::toNativeSeparators(folder));
}

void NewSetDialog::SetStartString(const QString& text) {
    startString_->setText(text);
}

bool NewSetDialog::StartStringShown() const {
    return !startString_->isHidden();
}

QString NewSetDialog::ProblemText() const {
    return problem_->text();
}

QString NewSetDialog::PortNote() const {
    return portNote_->isHidden() ? QString() : portNote_->text();
}

NewSetChoice NewSetDialog::Choice() const {
    return choice_;
}

}  // namespace vekaton
