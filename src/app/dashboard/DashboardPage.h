#pragma once

#include <QWidget>

#include "widgets/PageScaler.h"

namespace vekaton {

// One dashboard page: the items are its children, placed where the user put them. It asks for
// its menus (the controller builds them), draws the design grid while an item is dragged, and
// grows to hold its items so that the scroll area around it can scroll. Scaled, it draws its
// items to fill whatever room it has instead, and the items keep their page geometry.
class DashboardPage : public QWidget {
    Q_OBJECT

  public:
    DashboardPage(int index, QWidget* parent = nullptr);

    int Index() const { return index_; }
    void SetGridVisible(bool visible, int step);
    // Minimum size to the items' extent, so nothing lies out of reach; a scaled page needs no
    // room of its own and lays its items out again.
    void FitToItems();

    // Drawn scaled to fill the page (full screen, "Fit Pages to Window"), or as designed.
    void SetScaled(bool on);
    bool Scaled() const { return scaler_.Enabled(); }
    const PageScaler& Scaler() const { return scaler_; }
    // Between the page widget's pixels and page coordinates (the same while not scaled).
    QPoint ToPage(QPoint widgetPoint) const;
    // The items laid out again now; a scaled page does it by itself once the events in hand are
    // done, so that reading a layout of many items lays it out once.
    void Relayout();

  signals:
    // Right-click at a point of the page (the item under it decides which menu).
    void menuRequested(QWidget* under, QPoint pagePoint, QPoint globalPoint);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int index_;
    bool gridVisible_ = false;
    int gridStep_ = 10;
    PageScaler scaler_{this};
    bool relayoutPending_ = false;
};

}  // namespace vekaton
