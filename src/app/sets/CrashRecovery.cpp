#include "app/sets/CrashRecovery.h"

#include <QDir>
#include <QFileInfo>

namespace vekaton {

namespace {

constexpr int kCheckIntervalMs = 2000;
constexpr std::size_t kTrailerBytes = 24;

bool IsLayoutFile(const std::string& name) {
    return QString::fromStdString(name).endsWith(".dsf", Qt::CaseInsensitive);
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(const QString& folder, Snapshotter snapshot, QObject* parent)
    : QObject(parent), store_(folder.toStdString()), snapshot_(std::move(snapshot)) {
    timer_.setInterval(kCheckIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::Check);
}

RecoverySnapshot RecoveryKeeper::Comparable(RecoverySnapshot snapshot) {
    for (auto& [name, contents] : snapshot.files) {
        if (IsLayoutFile(name) && contents.size() >= kTrailerBytes) {
            contents.resize(contents.size() - kTrailerBytes);
        }
    }
    return snapshot;
}

void RecoveryKeeper::SetBaseline() {
    baseline_ = Comparable(snapshot_());
    if (!finished_) {
        timer_.start();
        Check();
    }
}

bool RecoveryKeeper::Unsaved() const {
    return !(Comparable(snapshot_()) == baseline_);
}

void RecoveryKeeper::Check() {
    if (finished_) {
        return;
    }
    RecoverySnapshot now = snapshot_();
    RecoverySnapshot comparable = Comparable(now);
    QString problem;
    if (comparable == baseline_) {
        if (kept_ || store_.HasSnapshot()) {
            store_.Discard();
        }
        kept_.reset();
    } else if (!kept_ || !(*kept_ == comparable)) {
        if (auto error = store_.Save(now)) {
            problem = tr("Unsaved changes could not be kept for recovery after a crash: %1")
                          .arg(QString::fromStdString(*error));
        } else {
            kept_ = std::move(comparable);
        }
    }
    if (problem != problem_) {
        problem_ = problem;
        emit problemChanged(problem_);
    }
}

void RecoveryKeeper::Finish() {
    finished_ = true;
    timer_.stop();
    store_.Discard();
    kept_.reset();
}

RecoveryCopies::RecoveryCopies(Snapshotter snapshot, std::function<void(const QString&)> problem,
                               QObject* parent)
    : QObject(parent), snapshot_(std::move(snapshot)), problem_(std::move(problem)) {}

void RecoveryCopies::KeepIn(const QString& folder) {
    delete keeper_;
    keeper_ = new RecoveryKeeper(folder, snapshot_, this);
    connect(keeper_, &RecoveryKeeper::problemChanged, this, [this](const QString& problem) {
        if (!problem.isEmpty()) {
            problem_(problem);
        }
    });
    keeper_->SetBaseline();
}

void RecoveryCopies::SetBaseline() {
    if (keeper_ != nullptr) {
        keeper_->SetBaseline();
    }
}

void RecoveryCopies::Finish() {
    if (keeper_ != nullptr) {
        keeper_->Finish();
    }
}

QString OfferRecovery(const QString& folder, const std::function<bool(const QString&)>& ask) {
    RecoveryStore store(folder.toStdString());
    store.RemoveLeftovers();  // only the lock holder gets here, so no other copy is writing
    std::string problem;
    const std::optional<RecoverySnapshot> snapshot = store.Load(&problem);
    if (!snapshot) {
        if (problem.empty()) {
            return {};
        }
        store.Discard();
        return QObject::tr(
                   "Vekaton did not close normally last time, but the copies of its "
                   "unsaved changes cannot be used: %1. They were removed; the set stays as it "
                   "was last saved.")
            .arg(QString::fromStdString(problem));
    }
    const QString set = QString::fromStdString(snapshot->setName);
    const QString where = QDir::toNativeSeparators(QString::fromStdString(snapshot->setFolder));
    const QString question =
        QObject::tr(
            "Vekaton did not close normally last time. Changes to the configuration set "
            "\"%1\" in %2 had not been saved, but copies were kept.\n\nRestore them? "
            "(No discards them; the set stays as it was last saved.)")
            .arg(set.isEmpty() ? QObject::tr("(unnamed)") : set, where);
    if (!ask(question)) {
        store.Discard();
        return {};
    }
    const std::vector<std::string> errors = RestoreSnapshot(*snapshot);
    if (!errors.empty()) {
        QString text = QObject::tr(
            "The unsaved changes could not all be restored; the copies "
            "are kept for the next start:");
        for (const std::string& error : errors) {
            text += "\n" + QString::fromStdString(error);
        }
        return text;
    }
    store.Discard();
    return QObject::tr("The unsaved changes to \"%1\" were restored into %2.")
        .arg(set.isEmpty() ? QObject::tr("(unnamed)") : set, where);
}

}  // namespace vekaton
