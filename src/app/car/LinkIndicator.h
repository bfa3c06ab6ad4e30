#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>

#include "engine/LinkHealth.h"
#include "widgets/NightColours.h"

namespace vekaton {

// The link's health in a word and a dot, for full screen, where the status strip is hidden:
// green while frames come, grey for "No data" or stopped, red while frames fail their checksum.
class LinkIndicator : public QWidget {
    Q_OBJECT

  public:
    // Checksum errors newer than this keep the dot red.
    static constexpr int kChecksumTroubleMs = 3000;

    explicit LinkIndicator(QWidget* parent = nullptr);

    void Show(LinkState state, std::uint64_t checksumErrors);
    void SetNightColours(const NightColours& night);
    QString Text() const { return text_; }
    QColor DotColour() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    enum class Look { Flowing, Quiet, Trouble };

    QString text_;
    Look look_ = Look::Quiet;
    std::uint64_t checksumErrors_ = 0;
    QElapsedTimer sinceChecksumError_;
    NightColours night_;
};

}  // namespace vekaton
