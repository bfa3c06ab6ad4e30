#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace vekaton {

class InstanceLock;

// The running window listens on a local socket named after the single-instance lock, so that a
// second start can ask it to raise its window instead of ending in silence. One request per
// line: "raise" (answered "raised" and the window's state) and "state" (the state alone:
// "visible normal active", "hidden minimized inactive", ...). With VEKATON_TEST_HOOKS set,
// "minimize" minimizes the window, so that tests can watch a raise undo it.
class InstanceServer : public QObject {
    Q_OBJECT

  public:
    static constexpr char kTestHooksVariable[] = "VEKATON_TEST_HOOKS";

    explicit InstanceServer(const QString& name, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Listens; a socket left by an instance that died is removed first, which only the lock's
    // holder may do. False with the reason when it cannot listen.
    bool Listen(QString* error);
    void SetWindow(QWidget* window) { window_ = window; }
    // Extra requests answered only with the test hooks on; nullopt: not one of them.
    using TestCommand = std::function<std::optional<QString>(const QByteArray& request)>;
    void SetTestCommand(TestCommand command) { testCommand_ = std::move(command); }
    int RaiseCount() const { return raises_; }

  private:
    void Accept();
    void Answer(QLocalSocket* socket);
    QString Handle(const QByteArray& request);

    QString name_;
    QLocalServer* server_ = nullptr;
    QPointer<QWidget> window_;
    bool testHooks_ = false;
    TestCommand testCommand_;
    int raises_ = 0;
};

// Brings a window to the front: restored if minimized, shown, raised and activated.
void RaiseWindow(QWidget& window);
// "visible normal active" and the like.
QString DescribeWindowState(const QWidget& window);
// What the box in front of the window says (its labels), on one line with line breaks written
// as \n; empty when no box is open. For tests that watch the real program.
QString ModalDialogText();

// Sends one request to the instance listening on `serverName` and returns its one-line answer,
// or nullopt when none came within timeoutMs (tries to connect until then, for an instance that
// is still starting). Needs a QCoreApplication.
std::optional<QString> AskRunningInstance(const QString& serverName, const QByteArray& request,
                                          int timeoutMs);

// What a start does about the single-instance lock, before the application object exists.
struct StartDecision {
    bool proceed = true;  // go on and show the window
    int exitCode = 0;     // when not proceeding
    QString refusal;      // when not proceeding: shown to the user before ending with exitCode
};

// Takes the lock. When another instance holds it, asks that one to raise its window and ends
// with exit code 0. A lock naming a live process that does not answer is not taken over: the
// start is refused with a message saying how to go on. A lock that cannot be made at all does
// not keep the program from starting.
StartDecision DecideStart(InstanceLock& lock, int argc, char** argv);

}  // namespace vekaton
