#pragma once

#include <string>
#include <vector>

#include "files/ScratchFolder.h"
#include "session/Session.h"
#include "support/FakePort.h"
#include "support/ManualClock.h"

namespace vekaton::testing {

// A host that writes down every call, in order, with what it was given.
class RecordingHost : public SessionHost {
  public:
    void OpeningSet() override { events.push_back("opening"); }
    void ShowCaption(std::string_view caption) override {
        events.push_back("caption " + std::string(caption));
    }
    void Tell(std::string_view message) override {
        events.push_back("tell " + std::string(message));
        told.emplace_back(message);
    }
    void EngineDefaultsApplied() override { events.push_back("defaults"); }
    void ClosePort() override { events.push_back("close port"); }
    void OpenPort(const LinkSettings& settings) override {
        events.push_back("open port " + settings.portName);
    }
    void LinkSettingsApplied(const LinkSettings& settings, bool receivePathChanged) override {
        events.push_back("settings " + std::to_string(settings.sampleRate) +
                         (receivePathChanged ? " path" : ""));
    }
    void DefinitionsRead() override { events.push_back("definitions"); }
    WindowLayout CaptureWindowLayout() const override {
        captures++;
        return window;
    }
    void ApplyWindowLayout(const WindowLayout& layout) override {
        events.push_back("window layout");
        applied = layout;
    }
    void SetRead() override { events.push_back("set read"); }

    std::vector<std::string> events;
    std::vector<std::string> told;
    WindowLayout window;  // what the window would hand over
    WindowLayout applied;
    mutable int captures = 0;
};

// Settings file text for a set in talk/listen mode on the simulated module.
inline std::string SettingsText(int sampleRate = 100, const std::string& autoRun = "FALSE") {
    return "ComPort=0\r\nBaudRate=8192\r\nSampleRate=" + std::to_string(sampleRate) +
           "\r\nRequestString=$f4 $57\r\nResponseBytes=0\r\n# Bytes of Data=4\r\n"
           "Use CheckSum=FALSE\r\nRequestEchoed=FALSE\r\nAutoRun=" +
           autoRun +
           "\r\nSyncMode=2\r\nSyncTime=500\r\nStartCommand=\r\nStopCommand=\r\n"
           "PortName=Simulated ECM\r\n";
}

inline constexpr const char* kParameters = "\r\n1,1,0,Coolant,A*0.75-40\r\nEND\r\n";

// A session on a scratch folder with a fake port, a manual clock and a view that shows nothing.
struct SessionRig {
    SessionRig() : session(folder.Path()) {
        session.SetHost(&host);
        session.AttachEngine(port, clock, view);
    }

    ScratchFolder folder;
    FakePort port;
    ManualClock clock;
    EngineView view;
    RecordingHost host;
    Session session;
};

}  // namespace vekaton::testing
