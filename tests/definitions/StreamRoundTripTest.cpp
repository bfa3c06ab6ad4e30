// Each bundled definition decodes a frame made from known engineering values back to those
// values, through the real decoder and the parameter file as committed. The frames are built
// from the GM documents' own scaling rules, written out here, not from the definitions.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "LibraryFiles.h"
#include "common/CommandText.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "set/DetailsFile.h"
#include "set/ParameterFile.h"
#include "set/SettingsFile.h"

namespace vekaton {
namespace {

enum class Rule {
    Linear,      // value = raw * scale + offset
    Signed,      // as Linear, raw in two's complement
    Reciprocal,  // value = scale / raw
    Raw,         // the raw number given as `raw`, its value known (a table point)
    NoValue,     // the raw number given makes the formula fault: no value
};

struct Known {
    int position;
    int bytes;
    double value;
    Rule rule;
    double scale = 1.0;
    double offset = 0.0;
    long raw = 0;
};

struct Flag {
    int position;
    int bit;
    const char* description;  // how its description starts
    bool activeWhenClear = false;
};

struct Stream {
    const char* id;
    int dataBytes;
    int headerBytes;
    const char* request;  // hex bytes, empty for a broadcast
    std::vector<Known> values;
    std::vector<Flag> flags;
};

// Test names and failures name the stream.
void PrintTo(const Stream& stream, std::ostream* out) {
    *out << stream.id;
}

Known Lin(int position, double value, double scale, double offset = 0.0, int bytes = 1) {
    return {position, bytes, value, Rule::Linear, scale, offset};
}
Known Signed(int position, double value, double scale, int bytes = 2) {
    return {position, bytes, value, Rule::Signed, scale};
}
Known Recip(int position, double value, double k, int bytes = 2) {
    return {position, bytes, value, Rule::Reciprocal, k};
}
Known Point(int position, long raw, double value) {
    return {position, 1, value, Rule::Raw, 1.0, 0.0, raw};
}
Known Missing(int position, int bytes = 2) {
    return {position, bytes, 0.0, Rule::NoValue, 1.0, 0.0, 0};
}

constexpr double kMap = 1 / 2.71;  // kPa = (N + 28.06) / 2.71
constexpr double kMapOffset = 28.06 / 2.71;
constexpr double kSpark = 90.0 / 256;
constexpr double kPeriod = 1 / 65.536;

const std::vector<Stream>& Streams() {
    static const std::vector<Stream> streams = {
        {"A140",
         63,
         3,
         "F4 57 01 00 B4",
         {Lin(7, 90.5, 0.75, -40), Lin(10, 25, 1 / 2.56), Lin(11, 2750, 25), Lin(17, 55, 1),
          Lin(19, 450.84, 4.42), Lin(22, 131, 1), Lin(24, 126, 1), Lin(26, -3, 1, 0, 1),
          Lin(29, 50.2, kMap, kMapOffset), Point(30, 126, 50), Lin(34, 13.8, 0.1),
          Signed(38, -5.625, kSpark), Signed(38, 19.6875, kSpark), Lin(42, 3.5, kPeriod, 0, 2),
          Recip(12, 240, 983040), Missing(12)},
         {{63, 7, "closed loop"}, {54, 7, "engine running"}, {59, 0, "park/neutral", true}}},
        {"A148",
         63,
         3,
         "F0 56 01 B9",
         {Lin(7, 85.25, 0.75, -40), Lin(11, 800, 25), Lin(17, 30, 1), Lin(19, 800.02, 4.42),
          Lin(29, 95, kMap, kMapOffset), Point(30, 177, 30), Lin(34, 14.1, 0.1),
          Signed(38, 12.65625, kSpark), Lin(42, 2.25, kPeriod, 0, 2), Missing(12)},
         {{63, 7, "closed loop"}, {3, 7, "code 12"}}},
        {"A160",
         63,
         3,
         "F0 56 01 B9",
         {Lin(6, 80, 0.75, -40), Lin(9, 50, 1 / 2.56), Lin(10, 3000, 25), Lin(13, 65, 1),
          Lin(15, 799.2, 4.44), Point(23, 152, 40), Lin(24, 12.6, 0.1), Signed(25, -2.8125, kSpark),
          Lin(32, 4, kPeriod, 0, 2), Lin(44, 120, 4), Lin(45, 150, 1 / 1.28)},
         {{63, 7, "closed loop"}, {61, 7, "A/C requested"}}},
        {"A100",
         63,
         3,
         "F4 57 01 00 B4",
         {Lin(8, 95, 0.75, -40), Lin(11, 1500, 25), Lin(14, 70, 1), Lin(17, 101.66, 4.42),
          Lin(26, 30.1, kMap, kMapOffset), Point(30, 129, 50), Lin(34, 14.4, 0.1),
          Signed(39, -10.546875, kSpark), Lin(45, 6.5, kPeriod, 0, 2), Recip(47, 14.7, 6553.6),
          Missing(47)},
         {{63, 7, "closed loop"}, {27, 5, "A/C requested", true}}},
        {"A172",
         63,
         3,
         "F4 57 01 00 B4",
         {Lin(22, 92, 0.75, -40), Lin(23, 40.1, kMap, kMapOffset), Lin(25, 13.5, 0.1),
          Point(26, 128, 77.8), Point(28, 128, 50), Lin(29, 884, 4.42), Lin(30, 88.4, 4.42),
          Point(45, 96, 59.5), Lin(46, 5000, 25), Lin(49, 3.5, 0.5), Lin(52, 88, 1),
          Lin(53, 37.5, 1 / 2.56), Lin(56, 5.2, 1 / 131.0, 0, 2), Lin(58, 5.3, 1 / 131.0, 0, 2)},
         {{19, 7, "closed loop"}, {11, 6, "A/C requested", true}}},
        {"A178",
         64,
         3,
         "F4 57 01 00 B4",
         {Lin(8, 88.25, 0.75, -40), Lin(11, 4200, 25), Lin(14, 45, 1), Lin(17, 444, 4.44),
          Lin(29, 35, 0.75, -40), Point(30, 128, 50), Lin(34, 12.9, 0.1),
          Lin(36, 33.5, 1 / 256.0, 0, 2), Signed(39, -1.40625, kSpark),
          Lin(47, 14.7, 1 / 2560.0, 0, 2), Lin(62, 60, kMap, kMapOffset), Lin(64, 75, 1 / 2.56)},
         {{63, 7, "closed loop"}, {57, 7, "engine running"}}},
        {"A201",
         63,
         3,
         "F4 57 01 00 B4",
         {Lin(15, 97.25, 0.75, -40), Lin(16, 14.2, 0.1), Lin(18, 75, kMap, kMapOffset),
          Lin(19, 600, 4.42), Lin(31, 62, 1), Lin(34, 2200, 25), Lin(42, 12.5, 1 / 2.56),
          Signed(45, -7.03125, kSpark), Lin(55, 140, 1), Lin(57, 1.75, kPeriod, 0, 2),
          Lin(63, 30.5, 0.75, -40)},
         {{29, 7, "closed loop"}, {25, 0, "A/C request"}}},
        {"A217",
         63,
         3,
         "F4 57 01 00 B4",
         {Lin(15, 104, 0.75, -40), Lin(16, 13.6, 0.1), Lin(18, 98, kMap, kMapOffset),
          Lin(19, 150, 4.42), Lin(31, 44, 1), Lin(34, 650, 25), Lin(35, 23.0, kPeriod, 0, 2),
          Lin(42, 87.5, 1 / 2.56), Signed(45, 30.9375, kSpark), Lin(56, 4.5, 45.0 / 256),
          Lin(57, 8.2, kPeriod, 0, 2), Lin(63, 20.75, 0.75, -40)},
         {{29, 7, "closed loop"}, {12, 2, "IAC reset requested", true}}},
        {"A221",
         67,
         3,
         "F4 57 01 00 B4",
         {Lin(3, 89, 0.75, -40), Lin(4, 41, 0.75, -40), Lin(6, 20, 1 / 2.56),
          Recip(7, 2000, 1310720), Missing(7), Lin(11, 150.5, 1 / 128.0, 0, 2),
          Signed(14, -4.9411764, 90.0 / 255), Lin(18, 799.2, 4.44), Lin(26, 14.0, 0.1),
          Lin(39, 70, 1), Lin(57, 80, 0.75, -40), Lin(66, 2.5, kPeriod, 0, 2)},
         {{33, 7, "closed loop"}, {36, 3, "in 4th gear", true}}},
        {"A274",
         60,
         3,
         "F4 57 01 00 B4",
         {Recip(18, 750, 2949120), Missing(18), Lin(22, 2500, 25), Lin(23, 99.5, 0.75, -40),
          Lin(25, 25.25, 0.75, -40), Lin(28, 35, kMap, kMapOffset), Lin(30, 40, 1 / 2.55),
          Lin(31, 14.3, 0.1), Lin(33, 799.2, 4.44), Lin(42, 3.0, kPeriod, 0, 2),
          Lin(46, 12.5, 1 / 128.0, 0, 2), Lin(51, 28, 1), Lin(58, 61, 1), Lin(59, 1234, 1, 0, 2)},
         {{13, 0, "engine in closed loop"}, {57, 2, "code 97"}}},
        {"A033",
         20,
         0,
         "",
         {Lin(2, 4660, 1, 0, 2), Point(5, 126, 50), Lin(6, 35, 1), Lin(7, 90, kMap, kMapOffset),
          Lin(8, 1775, 25), Lin(9, 0.98, 0.0196), Lin(11, 434, 4.34), Lin(16, 14.1, 0.1),
          Lin(19, 128, 1)},
         {{15, 7, "closed loop"}, {17, 7, "A/C requested", true}}},
        {"A058",
         20,
         0,
         "",
         {Lin(2, 4660, 1, 0, 2), Point(5, 64, 80), Lin(6, 42, 1), Lin(7, 45, kMap, kMapOffset),
          Lin(8, 600, 25), Lin(9, 3.92, 0.0196), Lin(11, 868, 4.34), Lin(16, 13.2, 0.1),
          Lin(19, 122, 1)},
         {{15, 7, "closed loop"}, {13, 6, "code 31"}}},
    };
    return streams;
}

long RawFor(const Known& known) {
    switch (known.rule) {
        case Rule::Linear:
        case Rule::Signed: {
            long raw = std::lround((known.value - known.offset) / known.scale);
            if (raw < 0) {
                raw += 1L << (8 * known.bytes);
            }
            return raw;
        }
        case Rule::Reciprocal:
            return std::lround(known.scale / known.value);
        case Rule::Raw:
        case Rule::NoValue:
            return known.raw;
    }
    return 0;
}

// How far the value decoded may lie from the one known: half a step of the raw number.
double Tolerance(const Known& known, long raw) {
    switch (known.rule) {
        case Rule::Linear:
        case Rule::Signed:
            return std::abs(known.scale) / 2 + 1e-9;
        case Rule::Reciprocal:
            return known.scale / (static_cast<double>(raw) - 0.5) -
                   known.scale / (static_cast<double>(raw) + 0.5);
        default:
            return 0.01;
    }
}

class StreamRoundTrip : public ::testing::TestWithParam<Stream> {
  protected:
    void SetUp() override {
        const Stream& stream = GetParam();
        const std::filesystem::path folder = testing::LibraryFolder() / stream.id;
        table_.Reset();
        const ParameterFileReadResult read = ReadParameterText(
            testing::ReadText(folder / (std::string(stream.id) + ".cfg")), table_);
        ASSERT_FALSE(read.error);
        ASSERT_TRUE(read.warnings.empty()) << read.warnings.front();
        settings_ = ParseSettings(testing::ReadText(folder / (std::string(stream.id) + ".ini")),
                                  LinkSettings{})
                        .settings;
        details_ =
            ParseDetails(testing::ReadText(folder / (std::string(stream.id) + ".details"))).table;
    }

    // Decodes one frame holding `raw` at the value's bytes (most significant first).
    void Decode(const Known& known, long raw, std::vector<std::uint8_t> frame) {
        for (int i = known.bytes - 1; i >= 0; --i) {
            frame[static_cast<std::size_t>(known.position - 1 + i)] =
                static_cast<std::uint8_t>(raw & 0xFF);
            raw >>= 8;
        }
        decoder_.StartFrame();
        for (std::size_t i = 0; i < frame.size(); ++i) {
            decoder_.DecodeByte(static_cast<int>(i) + 1, frame[i]);
        }
    }

    ParameterTable table_;
    FormulaFrontEnd formulas_;
    Decoder decoder_{table_, formulas_};
    LinkSettings settings_;
    DetailsTable details_;
};

TEST_P(StreamRoundTrip, TheLinkIsTheStreams) {
    const Stream& stream = GetParam();
    EXPECT_EQ(settings_.dataBytes, stream.dataBytes);
    EXPECT_EQ(settings_.responseBytes, stream.headerBytes);
    std::string request;
    for (const std::uint8_t byte : RequestTextToBytes(settings_.requestString)) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        request += std::string(request.empty() ? "" : " ") + kHex[byte >> 4] + kHex[byte & 15];
    }
    EXPECT_EQ(request, stream.request);
    EXPECT_EQ(settings_.syncMode, *stream.request ? SyncMode::TalkListen : SyncMode::Aldl160);
    EXPECT_EQ(settings_.useCheckSum, *stream.request != 0);
    EXPECT_EQ(settings_.requestEchoed, *stream.request != 0);
}

TEST_P(StreamRoundTrip, KnownValuesComeBack) {
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(settings_.dataBytes), 0);
    for (const Known& known : GetParam().values) {
        const long raw = RawFor(known);
        Decode(known, raw, zeros);
        const int last = known.position + known.bytes - 1;
        ASSERT_EQ(table_.At(known.position).ByteCount, known.bytes)
            << "position " << known.position;
        if (known.rule == Rule::NoValue) {
            EXPECT_FALSE(table_.At(last).HasValue) << "position " << known.position;
            continue;
        }
        ASSERT_TRUE(decoder_.HasPlotValue(known.position)) << "position " << known.position;
        EXPECT_NEAR(decoder_.PlotValue(known.position, 0), known.value, Tolerance(known, raw))
            << GetParam().id << " position " << known.position << " ("
            << table_.At(known.position).Descriptions[0] << "), raw " << raw;
    }
}

TEST_P(StreamRoundTrip, FlagBitsAreWhereTheDocumentPutsThem) {
    for (const Flag& flag : GetParam().flags) {
        const ParameterRecord& record = table_.At(flag.position);
        ASSERT_TRUE(record.IsDigital) << "position " << flag.position;
        EXPECT_EQ(
            record.Descriptions[static_cast<std::size_t>(flag.bit)].rfind(flag.description, 0), 0u)
            << record.Descriptions[static_cast<std::size_t>(flag.bit)];
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(settings_.dataBytes), 0);
        frame[static_cast<std::size_t>(flag.position - 1)] =
            static_cast<std::uint8_t>(1 << flag.bit);
        decoder_.StartFrame();
        for (std::size_t i = 0; i < frame.size(); ++i) {
            decoder_.DecodeByte(static_cast<int>(i) + 1, frame[i]);
        }
        for (int bit = 0; bit < 8; ++bit) {
            EXPECT_EQ(record.Bits[static_cast<std::size_t>(bit)], bit == flag.bit);
        }
        const BitDetails* details = details_.FindBit(flag.position, flag.bit);
        EXPECT_EQ(details != nullptr && details->activeWhenClear, flag.activeWhenClear)
            << flag.position << "." << flag.bit;
    }
}

INSTANTIATE_TEST_SUITE_P(Library, StreamRoundTrip, ::testing::ValuesIn(Streams()),
                         [](const ::testing::TestParamInfo<Stream>& param) {
                             return std::string(param.param.id);
                         });

}  // namespace
}  // namespace vekaton
