#pragma once

#include <QTimer>
#include <QWidget>

#include "widgets/NightColours.h"

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace vekaton {

// Which page shows, over the page for a moment after each switch in full screen: its name and a
// dot per page, the current one filled. It fades out after kShownMs.
class PageIndicator : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kShownMs = 2000;
    static constexpr int kFadeMs = 400;

    explicit PageIndicator(QWidget* parent);

    // Shows the page (index among `count`), centred near the bottom of the parent.
    void ShowPage(const QString& name, int index, int count);
    void HideNow();
    // Centred again in its parent (resized), without showing it any longer than it would.
    void Reposition();
    void SetNightColours(const NightColours& night);
    QString Text() const { return name_; }
    int Index() const { return index_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Place();

    QString name_;
    int index_ = 0;
    int count_ = 0;
    NightColours night_;
    QTimer shown_;
    QGraphicsOpacityEffect* opacity_ = nullptr;
    QPropertyAnimation* fade_ = nullptr;
};

}  // namespace vekaton
