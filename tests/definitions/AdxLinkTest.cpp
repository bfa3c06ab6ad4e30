// The link settings an ADX file gives: the monitor command's first request and its reply.
#include <gtest/gtest.h>

#include "AdxTestFiles.h"
#include "definitions/AdxImport.h"
#include "definitions/AdxLink.h"

namespace vekaton {
namespace {

using testing::AdxFile;
using testing::ReportOf;

std::unique_ptr<AdxImport> Imported(const std::string& text) {
    AdxImportResult result = ImportAdx(text);
    EXPECT_TRUE(result.import) << result.error;
    return std::move(result.import);
}

TEST(AdxLinkTest, TheGmChecksumMakesTheBytesSumToZero) {
    EXPECT_EQ(GmChecksum({0x80, 0x56, 0x01}), 0x29);
    EXPECT_EQ(GmChecksum({0xF4, 0x57, 0x01, 0x00}), 0xB4);
    EXPECT_EQ(GmChecksum({}), 0x00);
}

TEST(AdxLinkTest, AnEightKiloBaudGmLinkIsPolledWithChecksumAndEcho) {
    const auto import = Imported(AdxFile(""));
    const LinkSettings& s = import->settings;
    EXPECT_EQ(s.baudRate, 8192);
    EXPECT_EQ(s.requestString, "$80 $56 $01 $29");
    EXPECT_EQ(s.responseBytes, 3);
    EXPECT_EQ(s.dataBytes, 20);
    EXPECT_TRUE(s.useCheckSum);
    EXPECT_TRUE(s.requestEchoed);
    EXPECT_EQ(s.syncMode, SyncMode::TalkListen);
    EXPECT_EQ(s.sampleRate, 200);
    EXPECT_EQ(ReportOf(*import, "Mode 1 request"),
              "the request, $80 $56 $01 $29 (checksum $29 added), heard back as its echo");
    EXPECT_EQ(ReportOf(*import, "Mode 1 reply"),
              "the reply, 3 header bytes and 20 data bytes, checksum tested (flags 0x00000005)");
    EXPECT_EQ(ReportOf(*import, "Poll"),
              "the monitor command: sends \"Mode 1 request\", reads \"Mode 1 reply\"");
    EXPECT_EQ(ReportOf(*import, "Header"),
              "link at 8192 baud, polled every 200 ms, checksum tested");
}

TEST(AdxLinkTest, ALongFramePollsLessOften) {
    std::string link(testing::kAdxLink);
    link.replace(link.find("<packetsize>20"), 14, "<packetsize>63");
    link.replace(link.find("8192"), 4, "4800");
    EXPECT_EQ(Imported(AdxFile("", link))->settings.sampleRate, 300);
}

TEST(AdxLinkTest, ASlowRelayGetsNeitherChecksumNorEcho) {
    std::string link(testing::kAdxLink);
    link.replace(link.find("8192"), 4, "4800");
    link.replace(link.find("<SNDCMDCHECKSUM type=\"2\" />"), 27, "");
    const auto import = Imported(AdxFile("", link));
    EXPECT_EQ(import->settings.baudRate, 4800);
    EXPECT_EQ(import->settings.requestString, "$80 $56 $01");
    EXPECT_FALSE(import->settings.useCheckSum);
    EXPECT_FALSE(import->settings.requestEchoed);
}

TEST(AdxLinkTest, AMonitorWithoutRequestOnlyListens) {
    const std::string link = R"(
<ADXHEADER id="H" idhash="0x1" title="Header"><baud>8192</baud><monitorcmd>L</monitorcmd></ADXHEADER>
<ADXMACRO id="L" idhash="0x2" title="Listen"><NODE commandID="R" /></ADXMACRO>
<ADXCLISTENPACKET id="R" idhash="0x3" title="Reply"><packetoffsetinbody>0</packetoffsetinbody><packetsize>10</packetsize></ADXCLISTENPACKET>)";
    const auto import = Imported(AdxFile("", link));
    EXPECT_EQ(import->settings.syncMode, SyncMode::ListenOnly);
    EXPECT_EQ(import->settings.requestString, "");
    EXPECT_FALSE(import->settings.requestEchoed);
    EXPECT_NE(ReportOf(*import, "Header").find("only listens"), std::string::npos);
}

TEST(AdxLinkTest, OnlyTheFirstExchangeOfTheMonitorIsPolled) {
    const std::string second = R"(
<ADXMACRO id="POLL" idhash="0x00000004" title="Poll twice" repeatcount="1">
  <NODE commandID="SUB" repeatcount="1" />
  <NODE commandID="CMD2" repeatcount="1" />
  <NODE commandID="CMD2RE" repeatcount="1" />
</ADXMACRO>
<ADXMACRO id="SUB" idhash="0x00000005" title="First exchange">
  <NODE commandID="QUIET" /><NODE commandID="CMD1" /><NODE commandID="CMD1RE" />
</ADXMACRO>
<ADXCLISTENSILENCE id="QUIET" idhash="0x00000006" title="Quiet"><silencelen>25</silencelen></ADXCLISTENSILENCE>
<ADXCSENDCOMMAND id="CMD2" idhash="0x33333333" title="Mode 2 request"><bytestring size="0x2">8057</bytestring></ADXCSENDCOMMAND>
<ADXCLISTENPACKET id="CMD2RE" idhash="0x33333334" title="Mode 2 reply"><packetoffsetinbody>3</packetoffsetinbody><packetsize>64</packetsize></ADXCLISTENPACKET>
<ADXCSENDCOMMAND id="SPARE" idhash="0x33333335" title="Spare request"><bytestring size="0x1">80</bytestring></ADXCSENDCOMMAND>)";
    std::string link(testing::kAdxLink);
    link.erase(link.find("<ADXMACRO"), link.find("</ADXMACRO>") + 11 - link.find("<ADXMACRO"));
    const auto import = Imported(AdxFile(second, link));
    EXPECT_EQ(import->settings.requestString, "$80 $56 $01 $29");
    EXPECT_EQ(import->settings.dataBytes, 20);
    EXPECT_NE(ReportOf(*import, "Poll twice").find("1 further request is not sent"),
              std::string::npos);
    EXPECT_EQ(ReportOf(*import, "First exchange"), "a step of the monitor command");
    EXPECT_EQ(ReportOf(*import, "Quiet").rfind("skipped: pauses", 0), 0U);
    EXPECT_EQ(ReportOf(*import, "Mode 2 request").rfind("skipped: only one frame", 0), 0U);
    EXPECT_EQ(ReportOf(*import, "Mode 2 reply").rfind("skipped: only one frame", 0), 0U);
    EXPECT_EQ(ReportOf(*import, "Spare request"), "skipped: the monitor command does not send it");
}

TEST(AdxLinkTest, TheConnectCommandIsReportedWithItsBytes) {
    const std::string connect = R"(
<ADXMACRO id="CONNECT" idhash="0x00000009" title="Connect"><NODE commandID="M8" /></ADXMACRO>
<ADXCSENDCOMMAND id="M8" idhash="0x0000000A" title="Mode 8"><SNDCMDCHECKSUM type="2" /><bytestring size="0x3">F45608</bytestring></ADXCSENDCOMMAND>)";
    std::string link(testing::kAdxLink);
    link.insert(link.find("<monitorcmd>"), "<connectcmd>CONNECT</connectcmd>");
    const auto import = Imported(AdxFile(connect, link));
    EXPECT_EQ(import->settings.startCommand, "");
    EXPECT_EQ(ReportOf(*import, "Connect"),
              "skipped: the connect command is not imported; if the module needs it, give $F4 "
              "$56 $08 $AE as the start command");
}

TEST(AdxLinkTest, AFileWithoutAReplyCannotBeImported) {
    const std::string link = R"(
<ADXHEADER id="H" idhash="0x1" title="Header"><baud>8192</baud><monitorcmd>CMD</monitorcmd></ADXHEADER>
<ADXCSENDCOMMAND id="CMD" idhash="0x2" title="Request"><bytestring>805601</bytestring></ADXCSENDCOMMAND>)";
    const AdxImportResult result = ImportAdx(AdxFile("", link));
    EXPECT_FALSE(result.import);
    EXPECT_NE(result.error.find("reads no reply"), std::string::npos) << result.error;
    EXPECT_FALSE(ImportAdx("<ADXFORMAT/>").import);
    const AdxImportResult html = ImportAdx("<html><body/></html>");
    EXPECT_NE(html.error.find("not an ADX definition file"), std::string::npos);
}

TEST(AdxLinkTest, WithoutAMonitorCommandTheFirstRequestAndReplyAreUsed) {
    std::string link(testing::kAdxLink);
    link.erase(link.find("<monitorcmd>POLL</monitorcmd>"), 29);
    const auto import = Imported(AdxFile("", link));
    EXPECT_EQ(import->settings.requestString, "$80 $56 $01 $29");
    EXPECT_NE(ReportOf(*import, "Header").find("names no monitor command"), std::string::npos);
}

}  // namespace
}  // namespace vekaton
