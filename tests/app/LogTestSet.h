#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "QtApp.h"

namespace vekaton::testing {

// A configuration set for the log tests, in the current folder: talk/listen, 3 header bytes,
// 23 data bytes and a checksum (27-byte records), 100 ms, on the simulated port (not started),
// with formulas that carry a value from one frame into the next.
void WriteLogTestSet(const CurrentFolder& folder);

// A data log of `frames` records for that set: record f holds the header F4 95 01, data bytes
// that follow f, and a good checksum (a bad one where badEvery divides f + 1). `extra` bytes
// of a cut-off record follow.
QString WriteLogTestLog(const CurrentFolder& folder, const QString& name, int frames,
                        int badEvery = 0, int extra = 0);

// The data bytes of record f.
std::vector<std::uint8_t> LogTestData(int frame);

}  // namespace vekaton::testing
