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

void RecoveryCopies::KeepNow() {
    if (keeper_ != nullptr) {
        keeper_->Check();
    }
}

void RecoveryCopies::Finish() {
    if (keeper_ != nullptr) {
        keeper_->Finish();
    }
}

namespace {

// Copies whose restore failed wait here for the next start, out of the way of the copies this
// run keeps (and discards) of its own changes.
constexpr const char* kHeldFolder = "held";

QString SetLabel(const RecoverySnapshot& snapshot) {
    return snapshot.setName.empty() ? QObject::tr("(unnamed)")
                                    : QString::fromStdString(snapshot.setName);
}

// One store's copies: asked about, restored, and discarded only once every file is back and
// reads back as kept. `held` is true for the copies of an earlier restore that failed.
QString OfferStore(RecoveryStore& store, RecoveryStore& heldStore, bool held,
                   const std::function<bool(const QString&)>& ask) {
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
    const QString set = SetLabel(*snapshot);
    const QString where = QDir::toNativeSeparators(QString::fromStdString(snapshot->setFolder));
    const QString question =
        held ? QObject::tr(
                   "Changes to the configuration set \"%1\" in %2 could not be restored "
                   "at an earlier start; their copies were kept.\n\nRestore them now? "
                   "(No discards them; the set stays as it is.)")
                   .arg(set, where)
             : QObject::tr(
                   "Vekaton did not close normally last time. Changes to the "
                   "configuration set \"%1\" in %2 had not been saved, but copies were "
                   "kept.\n\nRestore them? (No discards them; the set stays as it was "
                   "last saved.)")
                   .arg(set, where);
    if (!ask(question)) {
        store.Discard();
        return {};
    }
    const std::vector<std::string> errors = RestoreSnapshot(*snapshot);
    if (errors.empty()) {
        store.Discard();
        return QObject::tr("The unsaved changes to \"%1\" were restored into %2.").arg(set, where);
    }
    QString text;
    if (held) {
        text = QObject::tr(
                   "The kept changes to \"%1\" could still not all be restored; the "
                   "copies are kept for the next start:")
                   .arg(set);
    } else if (auto error = heldStore.Save(*snapshot)) {
        // The copies stay where they are; this run keeps no copies of its own, so as not to
        // replace them.
        text = QObject::tr(
                   "The unsaved changes to \"%1\" could not all be restored, and their "
                   "copies could not be set aside (%2); they are left as they are and "
                   "this run keeps no recovery copies:")
                   .arg(set, QString::fromStdString(*error));
    } else {
        store.Discard();
        text = QObject::tr(
                   "The unsaved changes to \"%1\" could not all be restored; the copies "
                   "are kept for the next start:")
                   .arg(set);
    }
    for (const std::string& error : errors) {
        text += "\n" + QString::fromStdString(error);
    }
    return text;
}

}  // namespace

RecoveryOffer OfferRecovery(const QString& folder, const std::function<bool(const QString&)>& ask) {
    RecoveryStore store(folder.toStdString());
    RecoveryStore held(QDir(folder).filePath(kHeldFolder).toStdString());
    RecoveryOffer offer;
    QStringList notes;
    // The older copies first, so that newer ones restored after them win.
    for (const QString& note :
         {OfferStore(held, held, true, ask), OfferStore(store, held, false, ask)}) {
        if (!note.isEmpty()) {
            notes.append(note);
        }
    }
    offer.note = notes.join("\n\n");
    // Copies that could not be set aside are still in the folder this run would keep its own in.
    offer.keepCopies = !store.HasSnapshot();
    return offer;
}

}  // namespace vekaton
