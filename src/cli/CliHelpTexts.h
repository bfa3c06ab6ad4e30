#pragma once

#include <string_view>

// The help texts of vekaton-cli, each subcommand's in one place. Lines stay within 80 columns.
namespace vekaton::cli::help {

inline constexpr std::string_view kProgram =
    "vekaton-cli - the Vekaton engine without a window: try a formula, acquire from a\n"
    "port, turn a data log into CSV, print a layout file. The configuration set\n"
    "(settings file NAME.ini and parameter file NAME.cfg) is read as the window reads\n"
    "it and never written.\n";

inline constexpr std::string_view kEvalUsage =
    "vekaton-cli eval [--width N] FORMULA [A=v] [B=v] [C=v] [D=v] [E=v]\n";
inline constexpr std::string_view kEvalHelp =
    "  Evaluates FORMULA exactly as a frame position would and prints the value.\n"
    "  FORMULA      the formula as in the parameter editor, without blanks; quote it\n"
    "               for the shell. Put -- before a FORMULA that begins with '-'.\n"
    "  A=v ... E=v  the collected bytes A to E, 0 to 255 (default 0)\n"
    "  --width N    bytes of the last multi-byte value, read by the [INTEGER] and\n"
    "               [UINTEGER] prefixes: 0 to 500 (default 0)\n"
    "  Examples:\n"
    "    vekaton-cli eval \"(A*256+B)/4\" A=18 B=52              prints 1165\n"
    "    vekaton-cli eval --width 2 \"[INTEGER]A\" A=255 B=254     prints -2\n"
    "  Exit codes: 0 the value was printed; 2 the formula cannot be built (Bad\n"
    "  Parser, with the builder's message); 3 an arithmetic fault (the Parsing Error\n"
    "  line, then its cause); 64 wrong usage.\n";

inline constexpr std::string_view kLiveUsage =
    "vekaton-cli live [--dir DIR] [--set NAME] [--port DEVICE] [--frames N]\n"
    "                 [--seconds S] [-o FILE] [--record LOG] [--exact] [--force]\n";
inline constexpr std::string_view kLiveHelp =
    "  Acquires from the port with the set's link settings, as the window's Run does,\n"
    "  and writes one CSV row per completed frame: Frame, Time (seconds since the\n"
    "  start), a column per described position or bit, and Checksum (OK or BAD) when\n"
    "  the set uses one. Warnings go to standard error: no frame for 2 seconds, 5 bad\n"
    "  checksums in a row, frames lost again and again; at the end a summary line.\n"
    "  Ctrl-C ends the run like a limit, with the output complete.\n"
    "  --dir DIR      folder of the configuration set (default: the current folder)\n"
    "  --set NAME     the set (default: the one Vekaton.Ini names, else Default)\n"
    "  --port DEVICE  serial device such as /dev/ttyUSB0, or \"Simulated ECM\" for the\n"
    "                 built-in simulated module (default: the set's port)\n"
    "  --frames N     stop after N frames (default: no limit)\n"
    "  --seconds S    stop after S seconds, at most 2000000 (default: no limit)\n"
    "  -o FILE        write the CSV to FILE, opened once the port is open\n"
    "                 (default: standard output)\n"
    "  --record LOG   also record the frames to the data log LOG, exactly as the\n"
    "                 window's Record to File does; it is closed when the run ends\n"
    "                 or the port is lost, keeping every whole frame\n"
    "  --exact        numbers in full, the shortest text that reads back exactly\n"
    "                 (default: at most 10 significant digits)\n"
    "  --force        go on when the settings file stopped at an error, could not be\n"
    "                 read or holds values out of range, with the values read\n"
    "  FILE and LOG are never a file of the set, its _bak, .bad or recovery copies,\n"
    "  Vekaton.Ini, the port, or one another (whatever path or link names them).\n"
    "  Examples:\n"
    "    vekaton-cli live --dir demo --frames 10     (the demo's simulated module)\n"
    "    vekaton-cli live --dir car --record drive.Dat -o /dev/null   (log headless)\n"
    "    vekaton-sim --dir demo --link /tmp/ecm &\n"
    "    vekaton-cli live --dir demo --port /tmp/ecm --seconds 5 -o frames.csv\n"
    "  Exit codes: 0 the run ended at its limit or by Ctrl-C; 1 the set, the port or\n"
    "  the output failed; 4 no frame was received; 64 wrong usage, or an output that\n"
    "  would overwrite a file named above.\n";

inline constexpr std::string_view kDecodeUsage =
    "vekaton-cli decode [--dir DIR] [--set NAME] LOG [-o FILE] [--exact] [--force]\n";
inline constexpr std::string_view kDecodeHelp =
    "  Plays a data log (.Dat) through the decoder with the set's settings and writes\n"
    "  one CSV row per record, as live does, timed by the log's own interval.\n"
    "  LOG            the data log\n"
    "  --dir DIR      folder of the configuration set (default: the current folder)\n"
    "  --set NAME     the set (default: the one Vekaton.Ini names, else Default)\n"
    "  -o FILE        write the CSV to FILE, never the log, a file of the set, its\n"
    "                 _bak, .bad or recovery copies or Vekaton.Ini (default: standard\n"
    "                 output)\n"
    "  --exact        numbers in full, the shortest text that reads back exactly\n"
    "                 (default: at most 10 significant digits)\n"
    "  --force        go on when the settings file stopped at an error, could not be\n"
    "                 read or holds values out of range, with the values read\n"
    "  Example (a log that Record to File wrote with the set in my-car/):\n"
    "    vekaton-cli decode --dir my-car my-car/03142400.Dat -o drive.csv\n"
    "  Exit codes: 0 every record became a row; 1 the set, the log or the output\n"
    "  failed; 64 wrong usage, or an output that would overwrite a file named above.\n";

inline constexpr std::string_view kLayoutUsage = "vekaton-cli layout [--json] FILE\n";
inline constexpr std::string_view kLayoutHelp =
    "  Prints a layout file (.dsf) or a single component stream: every control with\n"
    "  its properties, then the window's size, place, colour and page.\n"
    "  FILE     the layout file or stream; put -- before a FILE that begins with '-'\n"
    "  --json   every value with its type code, as JSON (default: readable text)\n"
    "  Example:\n"
    "    vekaton-cli layout --json Demo.dsf\n"
    "  Values longer than 64 KB are printed cut to their first 64 KB, as the window\n"
    "  reads them, and named on stderr.\n"
    "  Exit codes: 0 the whole file was read; 1 a damaged or unreadable file, or\n"
    "  values were cut (what could be read is printed first, the error with its byte\n"
    "  offset on stderr); 64 wrong usage.\n";

inline constexpr std::string_view kExitCodes =
    "Exit codes:\n"
    "  0   done\n"
    "  1   the set, a file, the port or the output failed, or a layout file is\n"
    "      damaged (the reason is on stderr)\n"
    "  2   eval: the formula cannot be built\n"
    "  3   eval: an arithmetic fault\n"
    "  4   live: no frame was received\n"
    "  64  wrong usage, or an output that would overwrite a file of the set, its\n"
    "      copies or an input\n";

}  // namespace vekaton::cli::help
