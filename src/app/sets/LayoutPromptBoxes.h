#pragma once

#include "dashboard/LayoutFile.h"

class QWidget;

namespace vekaton {

// The layout reader's recovery dialogs as message boxes over the window. Without a screen to
// show them on (the offscreen platform) the text goes to the terminal and every question is
// answered OK, so that a damaged file is read as far as it can be instead of waiting forever.
class LayoutPromptBoxes : public LayoutReadPrompts {
  public:
    explicit LayoutPromptBoxes(QWidget* parent) : parent_(parent) {}

    void ShowMessage(std::string_view text) override;
    bool AskOkCancel(std::string_view question) override;

  private:
    QWidget* parent_;
};

}  // namespace vekaton
