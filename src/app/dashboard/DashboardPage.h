#pragma once

#include <QWidget>

namespace vekaton {

// One dashboard page: the items are its children, placed where the user put them. It asks for
// its menus (the controller builds them), draws the design grid while an item is dragged, and
// grows to hold its items so that the scroll area around it can scroll.
class DashboardPage : public QWidget {
    Q_OBJECT

  public:
    DashboardPage(int index, QWidget* parent = nullptr);

    int Index() const { return index_; }
    void SetGridVisible(bool visible, int step);
    // Minimum size to the items' extent, so nothing lies out of reach.
    void FitToItems();

  signals:
    // Right-click at a point of the page (the item under it decides which menu).
    void menuRequested(QWidget* under, QPoint pagePoint, QPoint globalPoint);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int index_;
    bool gridVisible_ = false;
    int gridStep_ = 10;
};

}  // namespace vekaton
