#pragma once

#include <cstdint>
#include <span>

namespace vekaton {

// A warm-up-and-drive cycle of a running spark-ignition engine, as engineering values.
struct EngineSample {
    double coolantC = 0;
    double airC = 0;
    double throttlePct = 0;
    double rpm = 0;
    double mapKpa = 0;
    double o2mV = 0;
    double batteryV = 0;
    double sparkDeg = 0;
    double speedKmh = 0;
    double iacSteps = 0;
    double injectorMs = 0;
    double runSeconds = 0;
    double blockLearn = 0;
    double integrator = 0;
    double knockCount = 0;
    double baroKpa = 0;
    double fuelPct = 0;
    bool closedLoop = false;
    bool fanOn = false;
    bool acRequest = false;
    bool running = false;
    bool rich = false;
    bool idle = false;
    bool powerEnrichment = false;
    bool checkEngine = false;
    bool parkNeutral = false;
    bool knock = false;
    bool decelCutoff = false;
    bool converterLocked = false;
};

// The simulated module's data bytes. Every value is a smooth function of time, so successive
// frames look like a real engine, and the same seed and time always give the same bytes.
//
// Frame layout (data positions, 1-based; header and checksum are added by the simulator). The
// formula after each name turns the bytes back into the engineering value:
//
//   pos  bytes  description                  formula            unit
//    1     1    Coolant temperature          A*0.75-40          deg C
//    2     1    Intake air temperature       A*0.75-40          deg C
//    3     1    Throttle position            A/2.55             %
//    4     2    Engine speed                 A*256+B            rpm   (value shown at position 5)
//    6     1    Manifold pressure            A*0.4+10           kPa
//    7     1    Oxygen sensor                A*4.44             mV
//    8     1    Battery voltage              A/10               V
//    9     1    Spark advance                A/2-10             deg
//   10     1    Vehicle speed                A*1                km/h
//   11     1    Idle air control             A*1                steps
//   12     2    Injector pulse width         (A*256+B)/1000     ms    (value shown at position 13)
//   14     2    Engine run time              A*256+B            s     (value shown at position 15)
//   16     1    Block learn                  A*1                (128 = no correction)
//   17     1    Integrator                   A*1                (128 = no correction)
//   18   flags  bit 0 Closed loop, 1 Fan on, 2 A/C request, 3 Engine running, 4 Rich,
//               5 Idle, 6 Power enrichment, 7 Check engine lamp
//   19   flags  bit 0 Park/neutral, 1 Knock, 2 Decel fuel cut-off, 3 Converter clutch locked
//   20     1    Knock count                  A*1                counts (wraps at 256)
//   21     1    Barometric pressure          A*0.4+10           kPa
//   22     1    Fuel level                   A/2.55             %
//   23     1    Frame counter                A*1                frames sent, wraps at 256
//   24 and beyond: 0
//
// Two-byte values are sent high byte first. Each byte is the value rounded to the nearest step
// and held within 0 to 255 (0 to 65535 for two bytes).
class EngineModel {
  public:
    static constexpr int kLayoutBytes = 23;  // data positions that carry a value

    explicit EngineModel(std::uint32_t seed);

    // The engine `ms` milliseconds after the simulation began (negative times count as 0).
    EngineSample At(std::int64_t ms) const;

    // Fills data positions 1..data.size() for one frame; positions past the layout are 0 and a
    // shorter frame simply ends early.
    static void Encode(const EngineSample& sample, std::uint32_t frameNumber,
                       std::span<std::uint8_t> data);

  private:
    double ambientC_;
    double phase_[5];
};

}  // namespace vekaton
