#include "app/car/ScreenSaverInhibit.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace vekaton {

DBusScreenSaver::DBusScreenSaver(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {}

DBusScreenSaver::~DBusScreenSaver() {
    // Leaving with the screen held awake would keep it so until the desktop notices we are gone.
    if (cookie_) {
        SendUnInhibit(*cookie_);
    }
}

void DBusScreenSaver::Inhibit(const QString& application, const QString& reason) {
    releaseWanted_ = false;
    if (cookie_ || pending_ || !bus_.isConnected()) {
        if (!bus_.isConnected()) {
            emit InhibitAnswered(false);
        }
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Inhibit"));
    call << application << reason;
    pending_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                pending_ = false;
                const QDBusPendingReply<std::uint32_t> reply = *finished;
                if (reply.isError()) {
                    emit InhibitAnswered(false);
                    return;
                }
                if (releaseWanted_) {
                    releaseWanted_ = false;
                    SendUnInhibit(reply.value());
                    emit InhibitAnswered(false);
                    return;
                }
                cookie_ = reply.value();
                emit InhibitAnswered(true);
            });
}

void DBusScreenSaver::UnInhibit() {
    if (pending_) {
        releaseWanted_ = true;
        return;
    }
    if (cookie_) {
        SendUnInhibit(*cookie_);
        cookie_.reset();
    }
}

void DBusScreenSaver::SendUnInhibit(std::uint32_t cookie) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("UnInhibit"));
    call << cookie;
    bus_.asyncCall(call);
}

AcquisitionScreenGuard::AcquisitionScreenGuard(std::unique_ptr<ScreenSaverInterface> screenSaver)
    : screenSaver_(screenSaver ? std::move(screenSaver) : std::make_unique<DBusScreenSaver>()) {}

AcquisitionScreenGuard::~AcquisitionScreenGuard() {
    SetAcquiring(false);
}

void AcquisitionScreenGuard::SetAcquiring(bool acquiring) {
    if (acquiring == inhibiting_) {
        return;
    }
    inhibiting_ = acquiring;
    if (acquiring) {
        const QString name = QCoreApplication::applicationName();
        screenSaver_->Inhibit(name.isEmpty() ? QStringLiteral("Vekaton") : name,
                              QStringLiteral("Showing live engine data"));
    } else {
        screenSaver_->UnInhibit();
    }
}

}  // namespace vekaton
