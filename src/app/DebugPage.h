#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vekaton {

// The "Debug" page: the hex trace of the line, "Get ALDL", the loop-back test and tracing of
// the traffic to "Comm.Log".
class DebugPage : public QWidget {
    Q_OBJECT

  public:
    explicit DebugPage(QWidget* parent = nullptr);

    // Catches the trace window up: cleared first when asked, then the new text at its end.
    void UpdateTrace(bool cleared, const QString& appended);
    QString TraceText() const;

    void SetLoopBack(bool on);
    void SetTestDataChoice(int choice);
    void SetTracing(bool on, const QString& file);
    // Where the trace goes, as shown beside the check box.
    QString TraceFileText() const;

  signals:
    void getAldlClicked();
    void loopBackToggled(bool on);
    void testDataChoiceChanged(int choice);
    void tracingToggled(bool on);

  private:
    QPlainTextEdit* memo_ = nullptr;
    QPushButton* getAldl_ = nullptr;
    QCheckBox* loopBack_ = nullptr;
    QComboBox* testData_ = nullptr;
    QCheckBox* trace_ = nullptr;
    QLabel* traceFile_ = nullptr;
};

}  // namespace vekaton
