#include "app/WindowQuestions.h"

#include <QMessageBox>

namespace vekaton {

bool WindowQuestions::YesCancel(const QString& question) {
    if (confirm_) {
        return confirm_(question);
    }
    return QMessageBox::question(&window_, window_.windowTitle(), question,
                                 QMessageBox::Yes | QMessageBox::Cancel) == QMessageBox::Yes;
}

bool WindowQuestions::YesNo(const QString& question) {
    if (confirm_) {
        return confirm_(question);
    }
    return QMessageBox::question(&window_, window_.windowTitle(), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace vekaton
