#include "app/sets/LayoutPromptBoxes.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

#include "io/QtText.h"

namespace vekaton {

namespace {

bool CanShowBoxes() {
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

QString Title(QWidget* parent) {
    return parent != nullptr ? parent->windowTitle() : QStringLiteral("Vekaton");
}

}  // namespace

void LayoutPromptBoxes::ShowMessage(std::string_view text) {
    if (!CanShowBoxes()) {
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(FromStd(text)));
        return;
    }
    QMessageBox::warning(parent_, Title(parent_), FromStd(text));
}

bool LayoutPromptBoxes::AskOkCancel(std::string_view question) {
    if (!CanShowBoxes()) {
        std::fprintf(stderr, "vekaton: %s OK\n", qPrintable(FromStd(question)));
        return true;
    }
    return QMessageBox::question(parent_, Title(parent_), FromStd(question),
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

}  // namespace vekaton
