#include "app/WindowCaption.h"

#include <QFileInfo>
#include <QWidget>

#include "app/AppTexts.h"

namespace vekaton {

void WindowCaption::Reset(const QString& caption) {
    window_.setWindowTitle(caption);
    base_ = window_.windowTitle();
}

void WindowCaption::Append(const QString& text) {
    window_.setWindowTitle(window_.windowTitle() + text);
}

void WindowCaption::ShowBase() {
    window_.setWindowTitle(base_);
}

void WindowCaption::ShowFile(const QString& path) {
    window_.setWindowTitle(base_ + texts::kFileCaption + QFileInfo(path).absoluteFilePath());
}

}  // namespace vekaton
