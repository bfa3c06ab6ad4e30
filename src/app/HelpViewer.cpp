#include "app/HelpViewer.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vekaton {

void ShowManual(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QObject::tr("Vekaton manual"));
    dialog->resize(760, 640);
    auto* browser = new QTextBrowser;
    browser->setOpenExternalLinks(true);
    QFile manual(":/docs/manual.md");
    if (manual.open(QIODevice::ReadOnly)) {
        browser->setMarkdown(QString::fromUtf8(manual.readAll()));
    } else {
        browser->setPlainText(QObject::tr("The manual is missing from this build."));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    dialog->show();
}

}  // namespace vekaton
