#include "app/dashboard/ValueTable.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/dashboard/DashboardTexts.h"
#include "app/dashboard/ValueTableModel.h"
#include "decode/ParameterTable.h"

namespace vekaton {

ValueTable::ValueTable(const ParameterTable& table, const DetailsTable& details, Sources sources,
                       QWidget* parent)
    : QWidget(parent), table_(table), sources_(std::move(sources)) {
    setObjectName("ValueTable");
    model_ = new ValueTableModel(table_, details, statistics_, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    summary_ = new QLabel;
    summary_->setWordWrap(true);
    auto* reset = new QPushButton(dashtexts::kResetTableMinMax);
    reset->setToolTip(tr("Lowest and highest values start again from now"));
    top->addWidget(summary_, 1);
    top->addWidget(reset);
    layout->addLayout(top);
    view_ = new QTableView;
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->horizontalHeader()->setSectionResizeMode(ValueTableModel::kDescription,
                                                    QHeaderView::Stretch);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->setWordWrap(false);
    layout->addWidget(view_, 1);

    connect(reset, &QPushButton::clicked, this, &ValueTable::ResetMinMax);
    connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const auto* row = model_->RowAt(index.row())) {
            emit editRequested(row->position);
        }
    });
    connect(view_, &QTableView::customContextMenuRequested, this, &ValueTable::ShowMenu);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &ValueTable::Tick);
    timer_->start(kRefreshMs);
    DefinitionsChanged();
}

ValueTable::~ValueTable() = default;

void ValueTable::FrameCompleted() {
    const int bytes = sources_.dataBytes ? sources_.dataBytes() : 0;
    statistics_.Observe(table_, bytes);
    sawFrame_ = true;
    dirty_ = true;
}

void ValueTable::ForgetFrames() {
    sawFrame_ = false;
    ResetMinMax();
}

void ValueTable::DefinitionsChanged() {
    rowsForBytes_ = sources_.dataBytes ? sources_.dataBytes() : 0;
    model_->Rebuild(rowsForBytes_);
    dirty_ = true;
}

void ValueTable::ResetMinMax() {
    statistics_.Reset();
    dirty_ = true;
    Refresh();
}

void ValueTable::Tick() {
    if (dirty_ && isVisible()) {
        Refresh();
    }
}

void ValueTable::Refresh() {
    const int bytes = sources_.dataBytes ? sources_.dataBytes() : 0;
    if (bytes != rowsForBytes_) {
        DefinitionsChanged();
    }
    // What is shown counts too, so a value is never outside its own min and max; before the
    // first frame the table holds no readings, only its reset values.
    if (sawFrame_) {
        statistics_.Observe(table_, bytes);
    }
    model_->RefreshValues();
    summary_->setText(SummaryText());
    dirty_ = false;
}

QString ValueTable::SummaryText() const {
    const LinkCounters counters = sources_.counters ? sources_.counters() : LinkCounters{};
    return QString(dashtexts::kValuesSummary)
        .arg(counters.frames)
        .arg(counters.checksumErrors)
        .arg(counters.syncErrors)
        .arg(counters.pollsUnanswered);
}

QMenu* ValueTable::BuildMenu(int rowIndex, QWidget* parent) {
    const ValueTableModel::Row* row = model_->RowAt(rowIndex);
    if (row == nullptr) {
        return nullptr;
    }
    auto* menu = new QMenu(parent);
    const int position = row->position;
    const int bit = row->bit;
    menu->addAction(dashtexts::kEditParameter, this,
                    [this, position] { emit editRequested(position); });
    QMenu* show = menu->addMenu(dashtexts::kShowOnPage);
    const auto offer = [&](const char* text, ItemKind kind) {
        show->addAction(text, this,
                        [this, kind, position, bit] { emit addRequested(kind, position, bit); });
    };
    if (bit >= 0) {
        offer(dashtexts::kAddDigitalLed, ItemKind::LedRound);
    } else {
        offer(dashtexts::kAddAnalogMeter, ItemKind::AngularGauge);
        offer(dashtexts::kAddThermometer, ItemKind::Thermometer);
        offer(dashtexts::kAddLedDisplay, ItemKind::SevenSegmentAnalog);
        offer(dashtexts::kAddNumericalDisplay, ItemKind::AnalogDisplay);
    }
    menu->addSeparator();
    menu->addAction(dashtexts::kResetTableMinMax, this, &ValueTable::ResetMinMax);
    return menu;
}

void ValueTable::ShowMenu(const QPoint& point) {
    const QModelIndex index = view_->indexAt(point);
    QMenu* menu = BuildMenu(index.row(), this);
    if (menu == nullptr) {
        return;
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(view_->viewport()->mapToGlobal(point));
}

}  // namespace vekaton
