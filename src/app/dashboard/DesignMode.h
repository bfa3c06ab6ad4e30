#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <optional>

class QUndoStack;
class QWidget;

namespace vekaton {

struct DashboardParts;

// Moving and sizing items with the mouse: Shift+drag moves an item, Ctrl+drag resizes it, both
// on the design grid (step 1 to 100 pixels, 10 at start), which shows while dragging. Each drag
// is one undoable command. Also aligns a page's items to the grid. On a page drawn scaled the
// drag works in page pixels, so what is saved is never the screen's geometry.
class DesignMode : public QObject {
    Q_OBJECT

  public:
    static constexpr int kDefaultGridStep = 10;
    static constexpr int kMinGridStep = 1;
    static constexpr int kMaxGridStep = 100;

    DesignMode(DashboardParts& parts, QUndoStack& undo, QObject* parent = nullptr);

    int GridStep() const { return gridStep_; }
    void SetGridStep(int step);
    // Rounded down to the grid, as new items are placed.
    int SnapDown(int value) const;
    int SnapNearest(int value) const;

    // Watches an item widget's mouse for Shift and Ctrl drags.
    void Watch(QWidget* widget);
    // Every item of a page to the nearest grid point, as one command.
    void AlignPage(int page);
    bool Dragging() const { return drag_.has_value(); }

    // The same steps the mouse takes, for keyboard-free tests: start on an item's widget at a
    // point of the page, move to another, release.
    bool BeginDrag(QWidget* widget, bool resize, QPoint globalPoint);
    void DragTo(QPoint globalPoint);
    void EndDrag();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Drag {
        int id = 0;
        bool resize = false;
        QPoint start;
        QRect startGeometry;  // page geometry
        QPointer<QWidget> widget;
        double scale = 1.0;  // screen pixels per page pixel of a scaled page
    };

    // Where the dragged item stands on its page, and puts it there (mapped to the screen on a
    // scaled page).
    QRect PageRectOf(QWidget* widget) const;
    void Place(const Drag& drag, const QRect& pageRect);

    void ShowGrid(bool visible);

    DashboardParts& parts_;
    QUndoStack& undo_;
    int gridStep_ = kDefaultGridStep;
    std::optional<Drag> drag_;
};

}  // namespace vekaton
