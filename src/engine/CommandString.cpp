#include "engine/CommandString.h"

#include <algorithm>
#include <utility>

#include "common/IntConversion.h"
#include "common/LinkSettings.h"

namespace vekaton {

struct CommandSender::Job {
    std::vector<CommandStep> steps;
    std::function<void()> done;
};

CommandSender::CommandSender(Port& port, Clock& clock) : port_(port), clock_(clock) {}

CommandSender::~CommandSender() {
    Cancel();
}

std::optional<std::string> CommandSender::Send(std::string_view text, std::function<void()> done) {
    CommandPlan plan = ParseCommand(text);
    // The answer to a command must not reach the frame logic: settle, then flush.
    plan.steps.push_back({CommandStep::Kind::WaitTicks, 0, kSettleTicks});
    queue_.push_back(Job{std::move(plan.steps), std::move(done)});
    if (queue_.size() == 1 && !running_) {
        nextStep_ = 0;
        RunSteps();
    }
    return plan.error;
}

bool CommandSender::Busy() const {
    return !queue_.empty();
}

void CommandSender::Cancel() {
    if (timer_ != 0) {
        clock_.Cancel(timer_);
        timer_ = 0;
    }
    queue_.clear();
    nextStep_ = 0;
}

void CommandSender::RunSteps() {
    running_ = true;
    while (!queue_.empty() && timer_ == 0) {
        Job& job = queue_.front();
        if (nextStep_ < job.steps.size()) {
            const CommandStep step = job.steps[nextStep_++];
            if (step.kind == CommandStep::Kind::SendByte) {
                const std::uint8_t byte = step.byte;
                port_.Write(std::span<const std::uint8_t>(&byte, 1));
            } else {
                timer_ = clock_.CallLater(static_cast<std::int64_t>(step.ticks) * kTickMs, [this] {
                    timer_ = 0;
                    RunSteps();
                });
            }
            continue;
        }
        port_.FlushInput();
        std::function<void()> done = std::move(job.done);
        queue_.erase(queue_.begin());
        nextStep_ = 0;
        if (done) {
            done();  // may queue another command or cancel; the loop re-checks the queue
        }
    }
    running_ = false;
}

}  // namespace vekaton
