#include "app/SetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

#include "app/AppTexts.h"
#include "engine/CommandString.h"
#include "set/SettingsFile.h"

namespace vekaton {
namespace {

// Typed numbers are held to the same ranges the settings reader checks.
QSpinBox* MakeSpin(LinkField field, int value, const QString& suffix = {}) {
    const FieldRange range = RangeOf(field);
    auto* spin = new QSpinBox;
    spin->setRange(range.min, range.max);
    spin->setValue(std::clamp(value, range.min, range.max));
    spin->setSuffix(suffix);
    return spin;
}

// The user's own choices, apart from any configuration set.
QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Vekaton", "Vekaton");
}

}  // namespace

SetupDialog::SetupDialog(const LinkSettings& settings, const QList<PortChoice>& ports,
                         QWidget* parent)
    : QDialog(parent), original_(settings) {
    setWindowTitle(tr("Setup"));
    setObjectName("SetupPanel");
    auto* form = new QFormLayout;

    mode_ = new QComboBox;
    mode_->addItems({texts::kModeListenOnly, texts::kModeTalkListen, texts::kModeAldl160});
    mode_->setCurrentIndex(static_cast<int>(settings.syncMode) - 1);
    form->addRow(tr("&Link mode:"), mode_);

    port_ = new QComboBox;
    port_->setEditable(true);
    port_->setObjectName("SpinEdit2");
    for (const auto& choice : ports) {
        port_->addItem(choice.label, choice.device);
    }
    const QString current = QString::fromStdString(settings.portName);
    const int found = port_->findData(current);
    if (found >= 0) {
        port_->setCurrentIndex(found);
    } else {
        port_->setEditText(current);
    }
    port_->setToolTip(tr("The serial port of the interface adapter, by device name"));
    form->addRow(tr("&Port:"), port_);

    baud_ = new QComboBox;
    baud_->setEditable(true);
    for (int rate : {8192, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200}) {
        baud_->addItem(QString::number(rate));
    }
    baud_->setEditText(QString::number(settings.baudRate));
    form->addRow(tr("&Baud rate:"), baud_);

    sampleRate_ = MakeSpin(LinkField::SampleRate, settings.sampleRate, " ms");
    sampleRate_->setToolTip(tr("How often the request is sent (talk/listen mode)"));
    form->addRow(tr("&Update rate:"), sampleRate_);

    request_ = new QLineEdit(settings.requestString.empty()
                                 ? QString(texts::kDefaultRequest)
                                 : QString::fromStdString(settings.requestString));
    request_->setObjectName("RequestString");
    request_->setToolTip(texts::kRequestHint);
    form->addRow(tr("&Request string:"), request_);

    responseBytes_ = MakeSpin(LinkField::ResponseBytes, settings.responseBytes);
    responseBytes_->setObjectName("ResponseBytesEdit");
    responseBytes_->setToolTip(texts::kResponseBytesHint);
    form->addRow(tr("&Header bytes:"), responseBytes_);

    dataBytes_ = MakeSpin(LinkField::DataBytes, settings.dataBytes);
    dataBytes_->setToolTip(tr("Data bytes per frame, 1 to 500"));
    form->addRow(tr("&Data bytes:"), dataBytes_);

    checksum_ = new QCheckBox(tr("A checksum byte follows the data"));
    checksum_->setChecked(settings.useCheckSum);
    form->addRow(tr("&Checksum:"), checksum_);

    echo_ = new QCheckBox(tr("The interface echoes the request"));
    echo_->setChecked(settings.requestEchoed);
    form->addRow(tr("&Echo:"), echo_);

    syncTime_ = MakeSpin(LinkField::SyncTime, settings.syncTime, " ms");
    syncTime_->setToolTip(tr("Silence that ends a frame in listen-only mode"));
    form->addRow(tr("&Sync time:"), syncTime_);

    startCommand_ = new QLineEdit(QString::fromStdString(settings.startCommand));
    startCommand_->setToolTip(tr("Sent when acquisition starts (talk/listen mode)"));
    form->addRow(tr("S&tart command:"), startCommand_);
    stopCommand_ = new QLineEdit(QString::fromStdString(settings.stopCommand));
    stopCommand_->setToolTip(tr("Sent when acquisition stops (talk/listen mode)"));
    form->addRow(tr("St&op command:"), stopCommand_);

    loader_ = new QLineEdit(QString::fromStdString(settings.loader));
    loader_->setObjectName("LoaderEdit");
    loader_->setPlaceholderText(tr("Loader (the default)"));
    loader_->setToolTip(
        tr("The program \"PIC Flash Update\" runs, with any arguments after it. Empty: Loader "
           "(Loader.exe on Windows) next to the program, else on the PATH"));
    auto* browse = new QPushButton(tr("Browse..."));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getOpenFileName(this, tr("Firmware Loader"));
        if (!chosen.isEmpty()) {
            // Quoted when it holds blanks, so that it is not read as a program and arguments.
            loader_->setText(chosen.contains(' ') ? '"' + chosen + '"' : chosen);
        }
    });
    auto* loaderRow = new QHBoxLayout;
    loaderRow->addWidget(loader_, 1);
    loaderRow->addWidget(browse);
    auto* loaderLabel = new QLabel(tr("Firmware &loader:"));
    loaderLabel->setBuddy(loader_);
    form->addRow(loaderLabel, loaderRow);
    runAfterClosing_ = new QCheckBox(tr("Run after closing"));
    runAfterClosing_->setObjectName("RunAfterClosing");
    runAfterClosing_->setToolTip(
        tr("Opening the setup stops acquisition. Check this to start it again when the setup "
           "closes, with OK or Cancel."));
    runAfterClosing_->setChecked(UserSettings().value(kRunAfterClosingKey, false).toBool());
    connect(runAfterClosing_, &QCheckBox::toggled, this,
            [](bool on) { UserSettings().setValue(kRunAfterClosingKey, on); });

    form->addRow(runAfterClosing_);

    error_ = new QLabel;
    error_->setObjectName("SetupError");
    error_->setWordWrap(true);
    error_->setStyleSheet("QLabel { color: #c00000; }");
    error_->setVisible(false);
    form->addRow(error_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &SetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SetupDialog::reject);
    form->addRow(buttons);
    setLayout(form);
}

void SetupDialog::ShowError(const QString& text, QWidget* field) {
    error_->setText(text);
    error_->setVisible(true);
    field->setFocus();
}

bool SetupDialog::RunAfterClosing() const {
    return runAfterClosing_->isChecked();
}

QString SetupDialog::ErrorText() const {
    return error_->isHidden() ? QString() : error_->text();
}

QString SetupDialog::SelectedPort() const {
    const int index = port_->currentIndex();
    if (index >= 0 && port_->itemText(index) == port_->currentText()) {
        return port_->itemData(index).toString();
    }
    return port_->currentText().trimmed();
}

LinkSettings SetupDialog::Settings() const {
    LinkSettings settings = original_;
    settings.syncMode = static_cast<SyncMode>(mode_->currentIndex() + 1);
    settings.portName = SelectedPort().toStdString();
    settings.comPort = ComPortNumberOfDevice(settings.portName);  // "ComPort=" follows the port
    bool ok = false;
    const int baud = baud_->currentText().trimmed().toInt(&ok);
    if (ok && baud > 0) {
        settings.baudRate = baud;
    }
    settings.sampleRate = sampleRate_->value();
    settings.requestString = request_->text().toStdString();
    settings.responseBytes = responseBytes_->value();
    settings.dataBytes = dataBytes_->value();
    settings.useCheckSum = checksum_->isChecked();
    settings.requestEchoed = echo_->isChecked();
    settings.syncTime = syncTime_->value();
    settings.startCommand = startCommand_->text().toUpper().toStdString();
    settings.stopCommand = stopCommand_->text().toUpper().toStdString();
    settings.loader = loader_->text().trimmed().toStdString();
    return settings;
}

void SetupDialog::accept() {
    bool ok = false;
    const int baud = baud_->currentText().trimmed().toInt(&ok);
    if (!ok || baud <= 0) {
        ShowError(tr("Baud rate: '%1' is not a valid integer value. Enter a positive whole "
                     "number.")
                      .arg(baud_->currentText()),
                  baud_);
        return;
    }
    bool truncated = false;
    RequestTextToBytes(request_->text().toStdString(), &truncated);
    if (truncated) {
        ShowError(tr("Request string: it gives more than %1 bytes, the most a request may hold. "
                     "Shorten it to at most %1 bytes.")
                      .arg(kMaxRequestBytes),
                  request_);
        return;
    }
    QDialog::accept();
}

}  // namespace vekaton
