#include "app/analysis/SetupPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/analysis/FilterList.h"
#include "app/analysis/PositionPicker.h"

namespace vekaton {

namespace {

constexpr Statistic kStatistics[] = {Statistic::Mean, Statistic::Count, Statistic::Min,
                                     Statistic::Max, Statistic::Sd};
constexpr double kLongestSettle = 3600.0;

}  // namespace

SetupPanel::SetupPanel(AnalysisKind kind, const ParameterTable& table,
                       std::function<int()> dataBytes, QWidget* parent)
    : QWidget(parent), kind_(kind), table_(table) {
    setObjectName("AnalysisSetup");
    form_ = new QFormLayout(this);
    form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form_->setContentsMargins(6, 6, 6, 6);
    name_ = new QLineEdit;
    name_->setToolTip(tr("The view is kept with the configuration set under this name"));
    form_->addRow(tr("&Name:"), name_);

    x_ = new PositionPicker(table, dataBytes, false);
    form_->addRow(kind == AnalysisKind::Table ? tr("&X (columns):") : tr("&X:"), x_);
    form_->addRow(tr("X edges:"), EdgesRow(xEdges_, xBins_));
    y_ = new PositionPicker(table, dataBytes, false);
    form_->addRow(kind == AnalysisKind::Table ? tr("&Y (rows):") : tr("&Y:"), y_);
    form_->addRow(tr("Y edges:"), EdgesRow(yEdges_, yBins_));
    z_ = new PositionPicker(table, dataBytes, kind == AnalysisKind::Scatter);
    form_->addRow(kind == AnalysisKind::Table ? tr("&Z (cells):") : tr("&Colour by:"), z_);
    statistic_ = new QComboBox;
    statistic_->addItems({tr("mean"), tr("count"), tr("min"), tr("max"), tr("standard deviation")});
    form_->addRow(tr("&Statistic:"), statistic_);
    minCount_ = new QSpinBox;
    minCount_->setRange(1, 1'000'000'000);
    minCount_->setToolTip(tr("A cell with fewer frames shows no value"));
    form_->addRow(tr("&Minimum count:"), minCount_);

    auto* centreRow = new QWidget;
    auto* centreLine = new QHBoxLayout(centreRow);
    centreLine->setContentsMargins(0, 0, 0, 0);
    centred_ = new QCheckBox(tr("diverging, centred on"));
    centre_ = new QDoubleSpinBox;
    centre_->setRange(-1e9, 1e9);
    centre_->setDecimals(3);
    centre_->setValue(128);
    centre_->setToolTip(tr("Values above it turn red, below it blue (128: no fuel correction)"));
    centreLine->addWidget(centred_);
    centreLine->addWidget(centre_, 1);
    form_->addRow(tr("Colours:"), centreRow);
    connect(centred_, &QCheckBox::toggled, centre_, &QWidget::setEnabled);
    share_ = new QCheckBox(tr("shares of the frames counted, not counts"));
    form_->addRow(tr("Bars:"), share_);

    filters_ = new FilterList(table, dataBytes);
    form_->addRow(tr("Filters:"), filters_);
    settle_ = new QDoubleSpinBox;
    settle_->setRange(0, kLongestSettle);
    settle_->setDecimals(2);
    settle_->setSingleStep(0.5);
    settle_->setSuffix(tr(" s"));
    settle_->setToolTip(
        tr("Frames count only after every filter has held this long without a break"));
    form_->addRow(tr("S&ettling time:"), settle_);

    problem_ = new QLabel;
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: #b00020;");
    problem_->hide();
    form_->addRow(problem_);
    auto* apply = new QPushButton(tr("&Apply"));
    apply->setObjectName("ApplySetup");
    apply->setToolTip(tr("Compute the view with this setup (Enter)"));
    form_->addRow(apply);
    connect(apply, &QPushButton::clicked, this, &SetupPanel::applyRequested);
    for (QLineEdit* edit : {name_, xEdges_, yEdges_}) {
        connect(edit, &QLineEdit::returnPressed, this, &SetupPanel::applyRequested);
    }

    const bool two = kind != AnalysisKind::Histogram;
    for (QWidget* field :
         {static_cast<QWidget*>(y_), yEdges_->parentWidget(), static_cast<QWidget*>(z_),
          static_cast<QWidget*>(statistic_), centreRow}) {
        form_->setRowVisible(field, two);
    }
    form_->setRowVisible(share_, !two);
    SetDefinition(kept_);
}

QWidget* SetupPanel::EdgesRow(QLineEdit*& edges, QSpinBox*& bins) {
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    edges = new QLineEdit;
    edges->setPlaceholderText(tr("automatic"));
    edges->setToolTip(
        tr("Typed edges E0,E1,...,En give the bins [E0,E1) ... [En-1,En]; left empty, equal "
           "bins over the definition's display range (else over the values counted)"));
    bins = new QSpinBox;
    bins->setRange(1, kMaxViewBins);
    bins->setSuffix(tr(" bins"));
    line->addWidget(edges, 1);
    line->addWidget(bins);
    QSpinBox* spin = bins;
    connect(edges, &QLineEdit::textChanged, spin,
            [spin](const QString& text) { spin->setEnabled(text.trimmed().isEmpty()); });
    return row;
}

std::optional<BinEdges> SetupPanel::ReadEdges(const QLineEdit& edges, const QString& axis,
                                              QStringList& problems) const {
    const QString text = edges.text().trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    EdgeListParse parse = ParseEdgeList(text.toStdString());
    if (!parse.edges) {
        problems << tr("%1 edges: %2").arg(axis, QString::fromStdString(parse.error));
    } else if (parse.edges->Count() > kMaxViewBins) {
        problems << tr("%1 edges: at most %2 bins").arg(axis).arg(kMaxViewBins);
        return std::nullopt;
    }
    return parse.edges;
}

ViewDefinition SetupPanel::Definition(QString* error) const {
    ViewDefinition view = kept_;
    AnalysisSetup& setup = view.setup;
    QStringList problems;
    view.name = CleanViewName(name_->text().toStdString());
    if (view.name.empty()) {
        problems << tr("the view needs a name");
    }
    setup.kind = kind_;
    if (x_->Ref()) {
        setup.x = *x_->Ref();
    } else {
        problems << tr("choose an X value");
    }
    setup.xEdges = ReadEdges(*xEdges_, "X", problems);
    setup.xBins = setup.xEdges ? setup.xEdges->Count() : xBins_->value();
    if (kind_ != AnalysisKind::Histogram) {
        setup.y = y_->Ref();
        if (!setup.y) {
            problems << tr("choose a Y value");
        }
        setup.yEdges = ReadEdges(*yEdges_, "Y", problems);
        setup.yBins = setup.yEdges ? setup.yEdges->Count() : yBins_->value();
        setup.z = z_->Ref();
        if (!setup.z && kind_ == AnalysisKind::Table) {
            problems << tr("choose a Z value for the cells");
        }
        setup.statistic = kStatistics[std::clamp(statistic_->currentIndex(), 0, 4)];
        view.centre =
            centred_->isChecked() ? std::optional<double>(centre_->value()) : std::nullopt;
    }
    setup.share = kind_ == AnalysisKind::Histogram && share_->isChecked();
    setup.minCount = minCount_->value();
    QString filterError;
    setup.conditions = filters_->Conditions(&filterError);
    if (!filterError.isEmpty()) {
        problems << filterError;
    }
    setup.settleSeconds = settle_->value();
    if (error != nullptr) {
        *error = problems.join("\n");
    }
    return view;
}

void SetupPanel::SetDefinition(const ViewDefinition& view) {
    kept_ = view;
    const AnalysisSetup& setup = view.setup;
    name_->setText(QString::fromStdString(view.name));
    x_->SetRef(setup.x.position > 0 ? std::optional<ValueRef>(setup.x) : std::nullopt);
    xEdges_->setText(setup.xEdges ? QString::fromStdString(EdgeListText(*setup.xEdges))
                                  : QString());
    xBins_->setValue(setup.xBins);
    y_->SetRef(setup.y);
    yEdges_->setText(setup.yEdges ? QString::fromStdString(EdgeListText(*setup.yEdges))
                                  : QString());
    yBins_->setValue(setup.yBins);
    z_->SetRef(setup.z);
    statistic_->setCurrentIndex(static_cast<int>(
        std::find(std::begin(kStatistics), std::end(kStatistics), setup.statistic) -
        std::begin(kStatistics)));
    minCount_->setValue(
        static_cast<int>(std::clamp<std::int64_t>(setup.minCount, 1, 1'000'000'000)));
    centred_->setChecked(view.centre.has_value());
    centre_->setEnabled(view.centre.has_value());
    if (view.centre) {
        centre_->setValue(*view.centre);
    }
    share_->setChecked(setup.share);
    filters_->SetConditions(setup.conditions);
    settle_->setValue(setup.settleSeconds);
    ShowProblem(QString());
}

void SetupPanel::SetName(const QString& name) {
    name_->setText(name);
    kept_.name = name.toStdString();
}

void SetupPanel::ShowProblem(const QString& text) {
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}

}  // namespace vekaton
