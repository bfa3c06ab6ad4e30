#pragma once

#include <QDialog>
#include <QStringList>

#include "common/LinkSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace vekaton {

// One entry of the port list: the device path stored in the settings and the text shown.
struct PortChoice {
    QString device;
    QString label;
};

// The link setup panel: edits every link setting; the caller applies them as the settings
// reader does once the user confirms.
class SetupDialog : public QDialog {
    Q_OBJECT
  public:
    SetupDialog(const LinkSettings& settings, const QList<PortChoice>& ports,
                QWidget* parent = nullptr);

    LinkSettings Settings() const;

    void accept() override;
    // The reason the last confirmation was refused; empty when none was.
    QString ErrorText() const;

    // "Run after closing": opening the setup stops acquisition; with this checked, closing the
    // panel (OK or Cancel) starts it again. Off at first; remembered for the user, not in the set.
    bool RunAfterClosing() const;
    static constexpr char kRunAfterClosingKey[] = "Setup/RunAfterClosing";

  private:
    void ShowError(const QString& text, QWidget* field);
    QString SelectedPort() const;

    LinkSettings original_;
    QComboBox* mode_ = nullptr;
    QComboBox* port_ = nullptr;
    QComboBox* baud_ = nullptr;
    QSpinBox* sampleRate_ = nullptr;
    QLineEdit* request_ = nullptr;
    QSpinBox* responseBytes_ = nullptr;
    QSpinBox* dataBytes_ = nullptr;
    QCheckBox* checksum_ = nullptr;
    QCheckBox* echo_ = nullptr;
    QSpinBox* syncTime_ = nullptr;
    QLineEdit* startCommand_ = nullptr;
    QLineEdit* stopCommand_ = nullptr;
    QLineEdit* loader_ = nullptr;
    QCheckBox* runAfterClosing_ = nullptr;
    QLabel* error_ = nullptr;
};

}  // namespace vekaton
