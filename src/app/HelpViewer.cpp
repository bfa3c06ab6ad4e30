#include "app/HelpViewer.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "io/InstalledData.h"
#include "set/SetNames.h"

namespace vekaton {

void ShowAbout(QWidget* parent) {
    const QString version =
        QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size()));
    QMessageBox box(parent);
    box.setWindowTitle(QObject::tr("About Vekaton"));
    box.setTextFormat(Qt::RichText);
    box.setText(QObject::tr("<h3>Vekaton v%1</h3><p>Reads the ALDL data stream of an engine "
                            "control module, decodes it with your formulas, shows it on your "
                            "dashboards and records it to data logs.</p>")
                    .arg(version.toHtmlEscaped()));
    box.setInformativeText(QString::fromUtf8(texts::kAboutLicence) + "<p>" +
                           QString::fromUtf8(texts::kAboutManual) + "</p>");
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void ShowManual(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QObject::tr("Vekaton manual"));
    dialog->resize(760, 640);
    auto* browser = new QTextBrowser;
    browser->setOpenExternalLinks(true);
    const QString path = ManualFile();
    QFile manual(path);
    if (manual.open(QIODevice::ReadOnly)) {
        // Pictures and links in the manual are relative to its own folder.
        browser->setSearchPaths({QFileInfo(path).absolutePath()});
        browser->setMarkdown(QString::fromUtf8(manual.readAll()));
    } else {
        browser->setPlainText(QObject::tr("The manual could not be read from %1: %2. "
                                          "Install the program again.")
                                  .arg(path, manual.errorString()));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    dialog->show();
}

}  // namespace vekaton
