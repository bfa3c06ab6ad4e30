#include "app/chart/ChannelListPanel.h"

#include <QColorDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "decode/ParameterTable.h"
#include "widgets/StreamColour.h"

namespace vekaton {
namespace {

enum Column { kName = 0, kMinimum = 1, kMaximum = 2 };

QIcon Swatch(std::int32_t colour, bool digital, const QPalette& palette) {
    QPixmap pixmap(16, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ToQColor(colour, palette), 2.5));
    if (digital) {
        painter.drawPolyline(QPolygonF()
                             << QPointF(1, 9) << QPointF(8, 9) << QPointF(8, 3) << QPointF(15, 3));
    } else {
        painter.drawLine(QPointF(1, 6), QPointF(15, 6));
    }
    return QIcon(pixmap);
}

std::optional<double> NumberIn(const QString& text) {
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (ok && std::isfinite(value)) {
        return value;
    }
    const double plain = text.trimmed().toDouble(&ok);  // a "." typed under a "," locale
    return ok && std::isfinite(plain) ? std::optional<double>(plain) : std::nullopt;
}

}  // namespace

ChannelListPanel::ChannelListPanel(QWidget* parent) : QWidget(parent) {
    table_ = new QTableWidget(0, 3);
    table_->setObjectName("ChannelList");
    table_->setHorizontalHeaderLabels({tr("Channel"), tr("Min"), tr("Max")});
    table_->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kMinimum, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kMaximum, QHeaderView::ResizeToContents);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->setToolTip(
        tr("Tick the values to plot. Min and Max fix a value's scale; leave both empty to let "
           "the scale follow the data. Right-click for the colour."));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Channels")));
    layout->addWidget(table_, 1);

    connect(table_, &QTableWidget::itemChanged, this, &ChannelListPanel::ItemChanged);
    connect(table_, &QTableWidget::customContextMenuRequested, this, &ChannelListPanel::ShowMenu);
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(choices_.size())) {
            emit channelSelected(choices_[static_cast<std::size_t>(row)].position,
                                 choices_[static_cast<std::size_t>(row)].bit);
        } else {
            emit channelSelected(-1, -1);
        }
    });
}

void ChannelListPanel::SetChoices(const ParameterTable& table, const ChartChannelList& chosen) {
    std::vector<Choice> choices;
    for (int position = ParameterTable::kFirstPosition; position <= ParameterTable::kLastPosition;
         ++position) {
        const ParameterRecord& record = table.At(position);
        if (record.IsDigital) {
            for (int bit = 0; bit < 8; ++bit) {
                const std::string& name = record.Descriptions[static_cast<std::size_t>(bit)];
                if (!name.empty()) {
                    choices.push_back({position, bit, true,
                                       QStringLiteral("%1.%2  %3")
                                           .arg(position)
                                           .arg(bit)
                                           .arg(QString::fromStdString(name))});
                }
            }
        } else if (!record.Descriptions[0].empty()) {
            choices.push_back({position, 0, false,
                               QStringLiteral("%1  %2").arg(position).arg(
                                   QString::fromStdString(record.Descriptions[0]))});
        }
    }
    choices_ = std::move(choices);
    const QSignalBlocker blocker(table_);
    filling_ = true;
    table_->setRowCount(static_cast<int>(choices_.size()));
    for (int row = 0; row < static_cast<int>(choices_.size()); ++row) {
        const Choice& choice = choices_[static_cast<std::size_t>(row)];
        auto* name = new QTableWidgetItem(choice.label);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        table_->setItem(row, kName, name);
        for (const int column : {kMinimum, kMaximum}) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, cell);
        }
    }
    filling_ = false;
    ShowChosen(chosen);
}

void ChannelListPanel::ShowChosen(const ChartChannelList& chosen) {
    const QSignalBlocker blocker(table_);
    filling_ = true;
    for (int row = 0; row < static_cast<int>(choices_.size()); ++row) {
        const Choice& choice = choices_[static_cast<std::size_t>(row)];
        const ChartChannelSetting* found = nullptr;
        for (const ChartChannelSetting& setting : chosen) {
            if (setting.position == choice.position &&
                (!choice.digital || setting.bit == choice.bit)) {
                found = &setting;
                break;
            }
        }
        ShowRow(row, found);
    }
    filling_ = false;
}

void ChannelListPanel::ShowRow(int row, const ChartChannelSetting* chosen) {
    const Choice& choice = choices_[static_cast<std::size_t>(row)];
    QTableWidgetItem* name = table_->item(row, kName);
    name->setCheckState(chosen != nullptr ? Qt::Checked : Qt::Unchecked);
    name->setIcon(chosen != nullptr && chosen->colour != 0
                      ? Swatch(chosen->colour, choice.digital, palette())
                      : QIcon());
    for (const int column : {kMinimum, kMaximum}) {
        QTableWidgetItem* cell = table_->item(row, column);
        if (choice.digital) {
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setText(column == kMinimum ? QStringLiteral("0") : QStringLiteral("1"));
            cell->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
            cell->setToolTip(tr("A flag is drawn as a 0/1 step"));
            continue;
        }
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        cell->setForeground(palette().brush(QPalette::Text));
        const bool fixed = chosen != nullptr && !chosen->autoScale;
        const double value = column == kMinimum ? (chosen ? chosen->minimum : 0.0)
                                                : (chosen ? chosen->maximum : 0.0);
        cell->setText(fixed ? QLocale().toString(value, 'g', 10) : QString());
        cell->setToolTip(fixed ? QString() : tr("Empty: the scale follows the data"));
    }
}

int ChannelListPanel::RowOf(int position, int bit) const {
    for (int row = 0; row < static_cast<int>(choices_.size()); ++row) {
        const Choice& choice = choices_[static_cast<std::size_t>(row)];
        if (choice.position == position && (!choice.digital || choice.bit == bit)) {
            return row;
        }
    }
    return -1;
}

void ChannelListPanel::SetTicked(int row, bool ticked) {
    if (row >= 0 && row < table_->rowCount()) {
        table_->item(row, kName)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

void ChannelListPanel::SetScaleText(int row, const QString& minimum, const QString& maximum) {
    if (row >= 0 && row < table_->rowCount()) {
        table_->item(row, kMinimum)->setText(minimum);
        table_->item(row, kMaximum)->setText(maximum);
    }
}

void ChannelListPanel::ItemChanged(QTableWidgetItem* item) {
    if (filling_ || item == nullptr) {
        return;
    }
    const int row = item->row();
    if (row < 0 || row >= static_cast<int>(choices_.size())) {
        return;
    }
    const Choice& choice = choices_[static_cast<std::size_t>(row)];
    if (item->column() == kName) {
        emit channelToggled(choice.position, choice.bit, item->checkState() == Qt::Checked);
        return;
    }
    const QString minText = table_->item(row, kMinimum)->text().trimmed();
    const QString maxText = table_->item(row, kMaximum)->text().trimmed();
    if (minText.isEmpty() && maxText.isEmpty()) {
        emit scaleEdited(choice.position, choice.bit, true, 0.0, 0.0);
        return;
    }
    const auto minimum = NumberIn(minText);
    const auto maximum = NumberIn(maxText);
    if (!minimum || !maximum) {
        // Half a scale is not one yet: wait for the other number.
        item->setToolTip(NumberIn(item->text()) || item->text().trimmed().isEmpty()
                             ? tr("Give both Min and Max, or leave both empty")
                             : tr("'%1' is not a number").arg(item->text()));
        return;
    }
    if (!(*maximum > *minimum)) {
        item->setToolTip(tr("Max must be greater than Min"));
        return;
    }
    item->setToolTip(QString());
    emit scaleEdited(choice.position, choice.bit, false, *minimum, *maximum);
}

void ChannelListPanel::ShowMenu(const QPoint& at) {
    const int row = table_->rowAt(at.y());
    if (row < 0 || row >= static_cast<int>(choices_.size())) {
        return;
    }
    const Choice choice = choices_[static_cast<std::size_t>(row)];
    QMenu menu(this);
    QAction* colour = menu.addAction(tr("Colour..."));
    QAction* automatic = menu.addAction(tr("Scale Follows the Data"));
    automatic->setEnabled(!choice.digital);
    QAction* chosen = menu.exec(table_->viewport()->mapToGlobal(at));
    if (chosen == colour) {
        const QColor picked = QColorDialog::getColor(Qt::white, this, tr("Channel Colour"));
        if (picked.isValid()) {
            if (table_->item(row, kName)->checkState() != Qt::Checked) {
                table_->item(row, kName)->setCheckState(Qt::Checked);
            }
            emit colourChosen(choice.position, choice.bit, FromQColor(picked));
        }
    } else if (chosen == automatic) {
        SetScaleText(row, QString(), QString());
    }
}

}  // namespace vekaton
