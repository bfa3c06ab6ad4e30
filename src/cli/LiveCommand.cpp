// `vekaton-cli live`: acquisition through a serial port as the window's Run does, one CSV row
// per completed frame.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <fstream>
#include <iostream>
#include <memory>

#if defined(__linux__)
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>
#endif

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "cli/CliSet.h"
#include "cli/LiveMonitor.h"
#include "engine/CommandString.h"
#include "engine/Engine.h"
#include "engine/EngineTexts.h"
#include "io/PortController.h"
#include "io/QtClock.h"
#include "log/CsvWriter.h"

namespace vekaton::cli {

namespace {

constexpr double kMaxSeconds = 2000000.0;
// How often the link's health is looked at for warnings.
constexpr int kMonitorIntervalMs = 250;

// Time for the stop command to leave the port: its own waits, then the settle of two ticks
// that follows every command, and a little for the line.
int StopCommandMs(const std::string& stopCommand) {
    if (stopCommand.empty()) {
        return 0;
    }
    int ticks = CommandSender::kSettleTicks;
    for (const CommandStep& step : ParseCommand(stopCommand).steps) {
        if (step.kind == CommandStep::Kind::WaitTicks) {
            ticks += step.ticks;
        }
    }
    return ticks * kTickMs + 50;
}

// What the engine shows, for a program without a window: frames become CSV rows, messages go to
// standard error, the rest is not shown.
class LiveView : public EngineView {
  public:
    LiveView(std::ostream& out, std::ostream& err, const Decoder& decoder, const Clock& clock,
             CsvWriter& csv)
        : out_(out), err_(err), decoder_(decoder), clock_(clock), csv_(csv) {}

    void SetFrameLimit(std::optional<int> limit) { limit_ = limit; }
    void SetRunStart(std::int64_t ms) { runStartMs_ = ms; }
    // Called once, when the frame limit is reached or the output fails.
    void SetOnDone(std::function<void()> done) { onDone_ = std::move(done); }
    bool OutputFailed() const { return outputFailed_; }

    void ShowMessage(std::string_view text) override { err_ << "vekaton-cli: " << text << '\n'; }

    void FrameCompleted(const FrameSummary& frame) override {
        if (frame.fromPlayback || done_) {
            return;
        }
        ++frames_;
        const double seconds = static_cast<double>(clock_.NowMs() - runStartMs_) / 1000.0;
        csv_.WriteFrame(frames_, seconds, decoder_,
                        frame.hasChecksum ? std::optional<bool>(frame.checksumGood) : std::nullopt);
        // Each row as it comes, for whoever reads the output live.
        out_.flush();
        if (!out_) {
            outputFailed_ = true;
            Done();
        } else if (limit_ && frames_ >= *limit_) {
            Done();
        }
    }

  private:
    void Done() {
        done_ = true;
        if (onDone_) {
            onDone_();
        }
    }

    std::ostream& out_;
    std::ostream& err_;
    const Decoder& decoder_;
    const Clock& clock_;
    CsvWriter& csv_;
    std::optional<int> limit_;
    std::int64_t runStartMs_ = 0;
    long long frames_ = 0;
    bool done_ = false;
    bool outputFailed_ = false;
    std::function<void()> onDone_;
};

// Ctrl-C and SIGTERM end the run like the frame or time limit, so the output is complete. They
// are masked before Qt starts (every thread then leaves them alone) and read from a descriptor in
// the event loop; the old mask is put back afterwards.
class StopSignals {
  public:
    StopSignals() {
#if defined(__linux__)
        sigset_t stops;
        sigemptyset(&stops);
        sigaddset(&stops, SIGINT);
        sigaddset(&stops, SIGTERM);
        if (pthread_sigmask(SIG_BLOCK, &stops, &previous_) != 0) {
            return;
        }
        masked_ = true;
        fd_ = signalfd(-1, &stops, SFD_CLOEXEC | SFD_NONBLOCK);
#endif
    }
    ~StopSignals() {
#if defined(__linux__)
        notifier_.reset();
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (masked_) {
            pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
        }
#endif
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Once the application object exists: calls onStop from the event loop on every stop signal.
    void Watch(std::function<void()> onStop) {
#if defined(__linux__)
        if (fd_ < 0) {
            return;
        }
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                         [this, onStop = std::move(onStop)] {
                             signalfd_siginfo info{};
                             while (::read(fd_, &info, sizeof info) > 0) {
                             }
                             onStop();
                         });
#else
        (void)onStop;
#endif
    }

  private:
#if defined(__linux__)
    sigset_t previous_{};
    bool masked_ = false;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
#endif
};

// The set's link settings with the port named on the command line, if any.
LinkSettings SettingsFor(const LiveOptions& options, const LinkSettings& settings) {
    LinkSettings chosen = settings;
    if (!options.port.empty()) {
        chosen.portName = options.port;
    }
    return chosen;
}

}  // namespace

std::string ParseLiveOptions(const std::vector<std::string>& args, LiveOptions& options) {
    ArgumentReader reader(args);
    while (reader.Next()) {
        const std::string& name = reader.Name();
        if (name == "--dir") {
            options.dir = reader.Value().value_or("");
        } else if (name == "--set") {
            options.setName = reader.Value().value_or("");
        } else if (name == "--port") {
            options.port = reader.Value().value_or("");
        } else if (name == "--frames") {
            if (const auto frames = reader.IntValue(1, 2147483647)) {
                options.frames = frames;
            }
        } else if (name == "--seconds") {
            if (const auto seconds = reader.SecondsValue()) {
                // A Qt timer holds at most 24 days; without a limit the run goes on anyway.
                options.seconds = *seconds;
                if (*seconds > kMaxSeconds) {
                    reader.Fail("--seconds: at most 2000000");
                }
            }
        } else if (name == "-o" || name == "--output") {
            options.outputPath = reader.Value().value_or("");
        } else if (name == "--record") {
            options.recordPath = reader.Value().value_or("");
            if (reader.Ok() && options.recordPath.empty()) {
                reader.Fail("--record needs the name of the data log to write");
            }
        } else if (name == "--exact") {
            reader.NoValue();
            options.exact = true;
        } else if (name == "--force") {
            reader.NoValue();
            options.force = true;
        } else {
            reader.FailUnknown();
        }
    }
    return reader.Error();
}

int RunLive(int argc, char** argv, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
    LiveOptions options;
    if (const std::string error = ParseLiveOptions(args, options); !error.empty()) {
        return UsageError(err, *FindSubcommand("live"), error);
    }
    const auto set = OpenCliSet(options.dir, options.setName, err, options.force);
    if (!set) {
        return kExitFailed;
    }
    const LinkSettings linkSettings = SettingsFor(options, set->Settings());
    const QString device = PortController::DeviceFor(linkSettings);
    std::vector<std::filesystem::path> inputs = set->files;
    if (!PortController::IsSimulatedDevice(device)) {
        inputs.emplace_back(device.toStdString());
    }
    if (const auto clash = OutputClash(options.outputPath, inputs)) {
        err << "vekaton-cli: " << *clash << '\n';
        return kExitFailed;
    }
    // Opened only once the port is open: a run that cannot start leaves the file as it was.
    std::ofstream file;
    std::ostream* sink = &out;
    if (!options.outputPath.empty() && options.outputPath != "-") {
        sink = &file;
    }

    int status = 0;
    StopSignals stopSignals;
    std::unique_ptr<QCoreApplication> ownApp;
    if (QCoreApplication::instance() == nullptr) {
        ownApp = std::make_unique<QCoreApplication>(argc, argv);
    }

    QtClock clock;
    // The same port as the window's: a serial device, or the built-in simulated module.
    PortController link;
    Session& session = *set->session;
    Decoder& decoder = session.GetDecoder();
    decoder.SetMessageHandler(
        [&err](const DecoderMessage& message) { PrintDecoderMessage(err, message); });
    // The checksum test runs in the listen-only and talk/listen modes only: a packet of the
    // ALDL 160 interface mode ends by its size and is never tested.
    const bool checksumColumn =
        set->Settings().useCheckSum && set->Settings().syncMode != SyncMode::Aldl160;
    CsvWriter csv(*sink, set->Table(), checksumColumn,
                  options.exact ? NumberPrecision::Exact : NumberPrecision::Significant,
                  &set->Details());
    LiveView view(*sink, err, decoder, clock, csv);
    Engine& engine = session.AttachEngine(link, clock, view);
    // The engine refers to the link, the clock and the view: it goes before them.
    struct Detach {
        Session& owner;
        ~Detach() { owner.DetachEngine(); }
    } detach{session};
    std::unique_ptr<LiveMonitor> monitor;
    link.SetReceiveHandler([&engine, &monitor](std::span<const std::uint8_t> bytes) {
        if (monitor) {
            monitor->BytesReceived(bytes.size());
        }
        engine.OnBytesReceived(bytes);
    });
    QObject::connect(&link, &PortController::PortLost, [&](const QString& message) {
        err << "vekaton-cli: " << message.toStdString() << '\n';
        // As in the window: the log keeps every completed frame and is closed at once.
        engine.CloseRecordingNow(kPortLostReason);
        if (monitor) {
            monitor->SetPortLost(true, clock.NowMs());
        }
    });
    QObject::connect(&link, &PortController::PortRestored, [&](const QString& message) {
        err << "vekaton-cli: " << message.toStdString() << '\n';
        if (monitor) {
            monitor->SetPortLost(false, clock.NowMs());
        }
    });

    if (const auto error = link.Open(linkSettings)) {
        err << "vekaton-cli: " << error->toStdString() << '\n';
        return kExitFailed;
    }
    if (sink == &file) {
        file.open(options.outputPath, std::ios::binary | std::ios::trunc);
        if (!file) {
            err << "vekaton-cli: cannot write " << options.outputPath << '\n';
            return kExitFailed;
        }
    }
    engine.ApplySettings(set->Settings());

    bool finishing = false;
    const std::function<void()> finish = [&] {
        if (finishing) {
            return;
        }
        finishing = true;
        int settleMs = 0;
        if (engine.Running()) {
            engine.PauseClick();  // stops the timers and sends the stop command
            if (set->Settings().syncMode == SyncMode::TalkListen) {
                settleMs = StopCommandMs(set->Settings().stopCommand);
            }
        }
        QTimer::singleShot(settleMs, QCoreApplication::instance(),
                           [] { QCoreApplication::exit(0); });
    };
    view.SetFrameLimit(options.frames);
    view.SetOnDone(finish);
    stopSignals.Watch(finish);

    // Recording goes through the engine, exactly as the window's "Record to File" does.
    if (!options.recordPath.empty()) {
        if (const auto error = engine.StartRecording(options.recordPath)) {
            err << "vekaton-cli: " << *error << '\n';
            return kExitFailed;
        }
    }
    csv.WriteHeader();
    sink->flush();
    view.SetRunStart(clock.NowMs());
    engine.PauseClick();
    if (!engine.Running()) {
        engine.CloseRecordingNow(kProgramEndsReason);
        return kExitFailed;  // the engine said why
    }
    monitor = std::make_unique<LiveMonitor>(device.toStdString(), engine.Settings(),
                                            engine.RequestLength(), clock.NowMs());
    QTimer health;
    QObject::connect(&health, &QTimer::timeout, [&] {
        for (const std::string& warning : monitor->Check(engine.Counters(), clock.NowMs())) {
            err << "vekaton-cli: " << warning << '\n';
        }
    });
    health.start(kMonitorIntervalMs);
    if (options.seconds) {
        // Precise: a coarse timer may fire 5 % late, letting frames past the limit through.
        QTimer::singleShot(static_cast<int>(*options.seconds * 1000.0), Qt::PreciseTimer,
                           QCoreApplication::instance(), finish);
    }
    QCoreApplication::exec();
    health.stop();

    engine.CloseRecordingNow(kRunEndedReason);
    link.Close();
    sink->flush();
    err << "vekaton-cli: " << LiveMonitor::Summary(engine.Counters()) << '\n';
    if (view.OutputFailed() || !*sink) {
        err << "vekaton-cli: writing the CSV failed\n";
        status = kExitFailed;
    } else if (engine.Counters().frames == 0) {
        err << "vekaton-cli: no frame was received from " << device.toStdString() << '\n';
        status = kExitNoFrame;
    }
    return status;
}

}  // namespace vekaton::cli
