#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace vekaton {

// The desktop's screen saver, asked not to blank the screen. Tests put a recording one in its
// place; the real one speaks the freedesktop interface over D-Bus.
class ScreenSaverInterface {
  public:
    virtual ~ScreenSaverInterface() = default;
    virtual void Inhibit(const QString& application, const QString& reason) = 0;
    virtual void UnInhibit() = 0;
};

// org.freedesktop.ScreenSaver on the session bus. Calls are made without waiting, so a slow or
// missing desktop service never stalls the window; a release asked for before the desktop has
// answered the inhibit is sent once the answer (the cookie) arrives.
class DBusScreenSaver : public QObject, public ScreenSaverInterface {
    Q_OBJECT
  public:
    static constexpr const char* kService = "org.freedesktop.ScreenSaver";
    static constexpr const char* kPath = "/org/freedesktop/ScreenSaver";

    explicit DBusScreenSaver(QDBusConnection bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);
    ~DBusScreenSaver() override;

    void Inhibit(const QString& application, const QString& reason) override;
    void UnInhibit() override;

    // Whether the desktop holds an inhibit of ours now.
    bool Held() const { return cookie_.has_value(); }

  signals:
    // The desktop answered (held true) or refused/was absent (false), for tests and the log.
    void InhibitAnswered(bool held);

  private:
    void SendUnInhibit(std::uint32_t cookie);

    QDBusConnection bus_;
    std::optional<std::uint32_t> cookie_;
    bool pending_ = false;        // an Inhibit call awaits its answer
    bool releaseWanted_ = false;  // released while it was pending
};

// Keeps the screen awake while acquiring: SetAcquiring(true) inhibits the screen saver once,
// SetAcquiring(false) releases it; repeated calls change nothing.
class AcquisitionScreenGuard {
  public:
    // A null interface takes the desktop's over D-Bus.
    explicit AcquisitionScreenGuard(std::unique_ptr<ScreenSaverInterface> screenSaver = nullptr);
    ~AcquisitionScreenGuard();

    void SetAcquiring(bool acquiring);
    bool Inhibiting() const { return inhibiting_; }

  private:
    std::unique_ptr<ScreenSaverInterface> screenSaver_;
    bool inhibiting_ = false;
};

}  // namespace vekaton
