#pragma once

#include <QWidget>
#include <vector>

#include "dashboard/ChartChannelList.h"

class QTableWidget;
class QTableWidgetItem;

namespace vekaton {

class ParameterTable;

// The chart's channel list: every described analog position and every described bit of a
// digital one, each with a tick box (plotted or not), its colour, and for analog positions a
// minimum and maximum (both empty: the scale follows the data).
class ChannelListPanel : public QWidget {
    Q_OBJECT

  public:
    struct Choice {
        int position = 0;
        int bit = 0;
        bool digital = false;
        QString label;
    };

    explicit ChannelListPanel(QWidget* parent = nullptr);

    // Offers the table's described positions and bits; shows the chosen ones ticked with their
    // colour and scale.
    void SetChoices(const ParameterTable& table, const ChartChannelList& chosen);
    // Shows a changed list of chosen channels without offering anything new.
    void ShowChosen(const ChartChannelList& chosen);
    const std::vector<Choice>& Choices() const { return choices_; }
    // The row of a choice, or -1.
    int RowOf(int position, int bit) const;
    // For tests: the user ticks or unticks a row; types a scale.
    void SetTicked(int row, bool ticked);
    void SetScaleText(int row, const QString& minimum, const QString& maximum);

  signals:
    void channelToggled(int position, int bit, bool on);
    void scaleEdited(int position, int bit, bool autoScale, double minimum, double maximum);
    void colourChosen(int position, int bit, std::int32_t colour);
    // The current row changed (-1, -1 when there is none).
    void channelSelected(int position, int bit);

  private:
    void ItemChanged(QTableWidgetItem* item);
    void ShowMenu(const QPoint& at);
    void ShowRow(int row, const ChartChannelSetting* chosen);

    QTableWidget* table_ = nullptr;
    std::vector<Choice> choices_;
    bool filling_ = false;
};

}  // namespace vekaton
