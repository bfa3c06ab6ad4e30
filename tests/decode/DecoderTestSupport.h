#pragma once

#include <string>
#include <vector>

#include "decode/ChartSink.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"

namespace vekaton::testing {

// A strip chart that records what the decoder hands it.
class RecordingChart : public ChartSink {
  public:
    struct Point {
        int channel;
        std::int64_t sample;
        double value;
        bool operator==(const Point&) const = default;
    };

    std::vector<PlotChannel> channels;
    std::vector<Point> points;
    int begins = 0;
    int ends = 0;
    bool insideBatch = false;
    bool pointOutsideBatch = false;

    void BeginUpdate() override {
        ++begins;
        insideBatch = true;
    }
    void EndUpdate() override {
        ++ends;
        insideBatch = false;
    }
    int ChannelCount() const override { return static_cast<int>(channels.size()); }
    PlotChannel Channel(int index) const override {
        return channels.at(static_cast<std::size_t>(index));
    }
    bool AddPoint(int channel, std::int64_t sampleIndex, double value) override {
        pointOutsideBatch = pointOutsideBatch || !insideBatch;
        points.push_back({channel, sampleIndex, value});
        return true;
    }
};

// A table, the formula front end and a decoder wired together, with messages collected.
struct DecoderRig {
    ParameterTable table;
    FormulaFrontEnd formulas;
    Decoder decoder{table, formulas};
    std::vector<std::string> messages;
    std::vector<DecoderMessage> fullMessages;

    DecoderRig() {
        decoder.SetMessageHandler([this](const DecoderMessage& m) {
            messages.push_back(m.text);
            fullMessages.push_back(m);
        });
    }

    ParameterRecord& Define(int position, std::string formula, int byteCount = 1) {
        ParameterRecord& record = table.At(position);
        record.SetFormula(std::move(formula));
        record.ByteCount = byteCount;
        record.IsDigital = false;
        return record;
    }
    // Feeds one frame of data bytes to positions 1, 2, ... after StartFrame.
    void Frame(const std::vector<int>& bytes) {
        decoder.StartFrame();
        int position = 0;
        for (const int b : bytes) {
            decoder.DecodeByte(++position, static_cast<std::uint8_t>(b));
        }
    }
    double ValueAt(int position) const { return table.At(position).Value; }
};

}  // namespace vekaton::testing
