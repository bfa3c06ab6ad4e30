#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

#include "io/RecoveryLocation.h"
#include "set/RecoveryStore.h"

namespace vekaton {

// Keeps recovery copies of unsaved changes while the program runs. Every two seconds it asks
// what a save would write now; when that differs from what the set's files hold (as last read
// or saved), the copies are written, so a crash or a power cut costs at most a few seconds.
// When the state matches the files again, or the program ends in order, the copies go.
class RecoveryKeeper : public QObject {
    Q_OBJECT

  public:
    using Snapshotter = std::function<RecoverySnapshot()>;

    RecoveryKeeper(const QString& folder, Snapshotter snapshot, QObject* parent = nullptr);

    // After a set was read or saved: what it holds now is what its files hold.
    void SetBaseline();
    // Compares with the files and keeps or removes the copies (the timer's work).
    void Check();
    // True when the window holds changes its set's files do not.
    bool Unsaved() const;
    // A normal exit or "Exit - No Auto Save": the copies go and none are made any more.
    void Finish();
    // The last problem writing a copy, for the user; empty while all is well.
    QString Problem() const { return problem_; }

  signals:
    void problemChanged(const QString& problem);

  private:
    // Window bounds alone are no work worth keeping: the comparison leaves them out.
    static RecoverySnapshot Comparable(RecoverySnapshot snapshot);

    RecoveryStore store_;
    Snapshotter snapshot_;
    RecoverySnapshot baseline_;
    std::optional<RecoverySnapshot> kept_;  // comparable form of what the copies hold
    QTimer timer_;
    QString problem_;
    bool finished_ = false;
};

// The window's recovery copies: none until KeepIn names their folder (only the holder of the
// single-instance lock keeps them; tests pass a folder of their own), then a RecoveryKeeper.
class RecoveryCopies : public QObject {
    Q_OBJECT

  public:
    using Snapshotter = RecoveryKeeper::Snapshotter;

    // `problem` hears of copies that could not be written.
    RecoveryCopies(Snapshotter snapshot, std::function<void(const QString&)> problem,
                   QObject* parent = nullptr);

    void KeepIn(const QString& folder);
    RecoveryKeeper* Keeper() const { return keeper_; }
    // What the set holds now is what its files hold (read or saved).
    void SetBaseline();
    // The program ends in order: the copies go.
    void Finish();
    // Before a save: the copies hold every change now, so that a save cut short loses nothing.
    void KeepNow();

  private:
    Snapshotter snapshot_;
    std::function<void(const QString&)> problem_;
    RecoveryKeeper* keeper_ = nullptr;
};

// What the start-up offer came to.
struct RecoveryOffer {
    QString note;            // for the user afterwards; empty when nothing happened
    bool keepCopies = true;  // false: copies that could not be restored still fill the folder
};

// At start-up, before the set is read, by the holder of the single-instance lock: removes what
// writes of copies killed half-way left behind; when a crash left copies, asks whether to
// restore them and does so into their set folder. `ask` gets the question and returns true for
// restore. Copies go only once every file is restored and reads back as kept; copies whose
// restore failed are set aside and offered again at the next start.
RecoveryOffer OfferRecovery(const QString& folder, const std::function<bool(const QString&)>& ask);

}  // namespace vekaton
