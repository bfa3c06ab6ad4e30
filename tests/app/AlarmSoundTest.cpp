// The alarm tone as the driver hears it: it starts with an alarm, an acknowledgement silences it
// until the alarm has ended, and the next alarm sounds again. A recording sink stands in for
// the sound device.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "QtApp.h"
#include "app/car/AlarmSound.h"
#include "app/car/LoopingPcm.h"
#include "warnings/AlarmTone.h"
#include "warnings/WarningMonitor.h"

namespace vekaton {
namespace {

struct SinkLog {
    std::vector<std::string> calls;
    std::size_t samples = 0;
    int rate = 0;
};

class RecordingSink : public ToneSink {
  public:
    explicit RecordingSink(SinkLog& log) : log_(log) {}
    void Start(const std::vector<std::int16_t>& period, int sampleRate) override {
        log_.calls.push_back("start");
        log_.samples = period.size();
        log_.rate = sampleRate;
    }
    void Stop() override { log_.calls.push_back("stop"); }
    const char* Kind() const override { return "recording"; }

  private:
    SinkLog& log_;
};

using Calls = std::vector<std::string>;

TEST(AlarmSound, SoundsUntilAcknowledgedAndAgainForTheNextAlarm) {
    SinkLog log;
    AlarmSound sound(std::make_unique<RecordingSink>(log));
    sound.Start();
    sound.Start();  // already sounding: one tone, not two
    EXPECT_TRUE(sound.Sounding());
    EXPECT_EQ(log.calls, (Calls{"start"}));
    EXPECT_EQ(log.samples, AlarmTonePcm().size());
    EXPECT_EQ(log.rate, AlarmToneShape{}.sampleRate);

    sound.Acknowledge();
    EXPECT_FALSE(sound.Sounding());
    sound.Follow(true);  // the alarm still holds: quiet
    EXPECT_EQ(log.calls, (Calls{"start", "stop"}));
    sound.Follow(false);  // the alarm ended
    EXPECT_FALSE(sound.Acknowledged());
    sound.Follow(true);  // a new alarm sounds
    EXPECT_EQ(log.calls, (Calls{"start", "stop", "start"}));
    sound.Stop();
    sound.Stop();
    EXPECT_EQ(log.calls, (Calls{"start", "stop", "start", "stop"}));
}

TEST(AlarmSound, FollowsTheWarningsAlarmThroughAnAcknowledgement) {
    SinkLog log;
    AlarmSound sound(std::make_unique<RecordingSink>(log));
    WarningWatch coolant;
    coolant.ref = {1, -1};
    coolant.high = 100;
    coolant.margin = 4;
    coolant.alarm = true;
    WarningMonitor monitor(WarningSettings{0.0, 0.02});
    monitor.SetWatches({coolant});

    monitor.Observe(0, 110, 0.0);
    sound.Follow(monitor.AlarmSounding());
    EXPECT_TRUE(sound.Sounding());
    // Space or a click on the status strip: the warnings acknowledge, the tone follows.
    monitor.Acknowledge();
    sound.Follow(monitor.AlarmSounding());
    EXPECT_FALSE(sound.Sounding());
    monitor.Observe(0, 111, 1.0);
    sound.Follow(monitor.AlarmSounding());
    EXPECT_FALSE(sound.Sounding());
    monitor.Observe(0, 90, 2.0);
    monitor.Observe(0, 112, 3.0);
    sound.Follow(monitor.AlarmSounding());
    EXPECT_TRUE(sound.Sounding());
    EXPECT_EQ(log.calls, (Calls{"start", "stop", "start"}));
}

TEST(AlarmSound, TheLoopingSourceRepeatsThePeriodWithoutEnd) {
    LoopingPcm pcm(QByteArray("abcde"));
    ASSERT_TRUE(pcm.open(QIODevice::ReadOnly));
    EXPECT_GE(pcm.bytesAvailable(), 5);
    EXPECT_EQ(pcm.read(3), QByteArray("abc"));
    EXPECT_EQ(pcm.read(9), QByteArray("deabcdeab"));
    EXPECT_EQ(pcm.write("x", 1), -1);

    LoopingPcm empty{QByteArray()};
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    EXPECT_TRUE(empty.read(4).isEmpty());
}

TEST(AlarmSound, TheSystemSinkIsTheSoundDeviceOrElseTheBell) {
    testing::TestApp();
    const auto sink = MakeToneSink();
    ASSERT_NE(sink, nullptr);
    const std::string kind = sink->Kind();
    EXPECT_TRUE(kind == "sound device" || kind == "system bell") << kind;
    // Starting and stopping must be safe whatever the machine has.
    sink->Start(AlarmTonePcm(), AlarmToneShape{}.sampleRate);
    sink->Stop();
}

}  // namespace
}  // namespace vekaton
