#pragma once

#include <string_view>

// The help texts of vekaton-cli, each subcommand's in one place. Lines stay within 80 columns.
namespace vekaton::cli::help {

inline constexpr std::string_view kProgram =
    "vekaton-cli - the Vekaton engine without a window: try a formula, acquire from a\n"
    "port, turn a data log into CSV or into a cell table, histogram or scatter,\n"
    "print a layout file, make a set from a bundled definition or an ADX file. The\n"
    "configuration set (settings file NAME.ini, parameter file NAME.cfg, details\n"
    "file NAME.details) is read as the window reads it and never written; only\n"
    "new-set and import-adx write one, always a new one.\n";

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
    "  Examples:\n"
    "    vekaton-cli live --dir demo --frames 10     (the demo's simulated module)\n"
    "    vekaton-cli live --dir car --record drive.Dat -o /dev/null   (log headless)\n"
    "    vekaton-sim --dir demo --link /tmp/ecm &\n"
    "    vekaton-cli live --dir demo --port /tmp/ecm --seconds 5 -o frames.csv\n"
    "  Exit codes: 0 the run ended at its limit or by Ctrl-C; 1 the set, the port or\n"
    "  the output failed; 4 no frame was received; 64 wrong usage.\n";

inline constexpr std::string_view kDecodeUsage =
    "vekaton-cli decode [--dir DIR] [--set NAME] LOG [-o FILE] [--exact] [--force]\n";
inline constexpr std::string_view kDecodeHelp =
    "  Plays a data log (.Dat) through the decoder with the set's settings and writes\n"
    "  one CSV row per record, as live does, timed by the log's own interval.\n"
    "  LOG            the data log\n"
    "  --dir DIR      folder of the configuration set (default: the current folder)\n"
    "  --set NAME     the set (default: the one Vekaton.Ini names, else Default)\n"
    "  -o FILE        write the CSV to FILE, never the log or a file of the set\n"
    "                 (default: standard output)\n"
    "  --exact        numbers in full, the shortest text that reads back exactly\n"
    "                 (default: at most 10 significant digits)\n"
    "  --force        go on when the settings file stopped at an error, could not be\n"
    "                 read or holds values out of range, with the values read\n"
    "  Example (a log that Record to File wrote with the set in my-car/):\n"
    "    vekaton-cli decode --dir my-car my-car/03142400.Dat -o drive.csv\n"
    "  Exit codes: 0 every record became a row; 1 the set, the log or the output\n"
    "  failed; 64 wrong usage.\n";

inline constexpr std::string_view kTableUsage =
    "vekaton-cli table --dir DIR [--set NAME] LOG --x POS --y POS --z POS\n"
    "                  [--x-edges E0,E1,...,En] [--y-edges E0,...,Em]\n"
    "                  [--stat mean|count|min|max|sd] [--where COND]...\n"
    "                  [--settle SECONDS] [--min-count N] [-o FILE]\n";
inline constexpr std::string_view kTableHelp =
    "  Plays a data log through the decoder as decode does and writes, as CSV, a\n"
    "  statistic of Z in every cell of X bins by Y bins: the line Y\\X and the\n"
    "  lower edge of each X bin, then a line per Y bin, lowest first, with its\n"
    "  lower edge and the cells. A cell with fewer frames than --min-count, or\n"
    "  without a value, is empty.\n"
    "  LOG            the data log\n"
    "  --dir DIR      folder of the configuration set\n"
    "  --set NAME     the set (default: the one Vekaton.Ini names, else Default)\n"
    "  --x, --y, --z POS\n"
    "                 a position as in the parameter file (a multi-byte value by\n"
    "                 its first position), or a flag bit as POS.BIT (18.0)\n"
    "  --x-edges E0,E1,...,En, --y-edges E0,...,Em\n"
    "                 E0 < E1 < ... < En make n bins [E(i), E(i+1)), the last\n"
    "                 one closed [E(n-1), En]; values outside are not counted\n"
    "                 (default: 10 equal bins over the definition's display\n"
    "                 range, else over the values' minimum to maximum in the\n"
    "                 frames used)\n"
    "  --stat S       mean, count, min, max, or sd: the sample standard\n"
    "                 deviation, empty below 2 values (default: mean)\n"
    "  --where COND   POS or POS.BIT, one of < <= > >= = !=, then a number; quote\n"
    "                 it for the shell. Repeat it: every condition must hold\n"
    "  --settle S     use a frame only once every condition has held for S\n"
    "                 seconds without a break, on the times decode prints\n"
    "                 (default: 0)\n"
    "  --min-count N  fewest frames for a cell to show a value (default: 1)\n"
    "  -o FILE        write to FILE, whole or not at all, never the log or a file\n"
    "                 of the set (default: standard output)\n"
    "  Frames with a bad checksum are left out and do not break a settling run.\n"
    "  Values count at full precision; numbers are written as decode writes them.\n"
    "  Standard error ends with the frames read, used, and left out by checksum,\n"
    "  by filter, by settling and out of range.\n"
    "  Example (block learn by engine speed and load, closed loop, warm engine):\n"
    "    vekaton-cli table --dir my-car my-car/drive.Dat --x 4 --y 6 --z 16 \\\n"
    "      --x-edges 500,1000,1500,2000,3000,4000 --where 18.0=1 --where '1>=70'\n"
    "  Exit codes: 0 done; 1 the set, the log or the output failed; 64 wrong\n"
    "  usage, an unknown position, or a malformed condition or edge list.\n";

inline constexpr std::string_view kHistogramUsage =
    "vekaton-cli histogram --dir DIR [--set NAME] LOG --x POS [--x-edges E0,...,En]\n"
    "                      [--share] [--where COND]... [--settle SECONDS]\n"
    "                      [--min-count N] [-o FILE]\n";
inline constexpr std::string_view kHistogramHelp =
    "  How the frames spread over bins of X, chosen as for table: the line\n"
    "  X,Count, then a line per bin, lowest first, with its lower edge and the\n"
    "  frames in it. A bin with fewer frames than --min-count is empty.\n"
    "  --share        each bin's share of the frames counted, 0 to 1, under the\n"
    "                 heading X,Share (default: the count)\n"
    "  The other options are those of table.\n"
    "  Example (the engine speed the idle really holds, warm and settled):\n"
    "    vekaton-cli histogram --dir my-car drive.Dat --x 4 \\\n"
    "      --x-edges 500,550,600,650,700,750,800,850,900 --where '1>=70' --settle 5\n"
    "  Exit codes: 0 done; 1 the set, the log or the output failed; 64 wrong\n"
    "  usage, an unknown position, or a malformed condition or edge list.\n";

inline constexpr std::string_view kScatterUsage =
    "vekaton-cli scatter --dir DIR [--set NAME] LOG --x POS --y POS [--z POS]\n"
    "                    [--x-edges E0,...,En] [--y-edges E0,...,Em]\n"
    "                    [--stat mean|count|min|max|sd] [--where COND]...\n"
    "                    [--settle SECONDS] [--min-count N] [-o FILE]\n";
inline constexpr std::string_view kScatterHelp =
    "  X against Y, coloured by Z, binned as for table so that a log of any\n"
    "  length gives a bounded answer: the line X,Y,Count (X,Y,Count,Z with --z),\n"
    "  then a line per cell with at least --min-count frames, by Y bin and then\n"
    "  X bin, lowest first: the cell's lower X and Y edges, its frames, and the\n"
    "  --stat of Z (default: mean).\n"
    "  The other options are those of table.\n"
    "  Example (spark advance against engine speed, coloured by knock count):\n"
    "    vekaton-cli scatter --dir my-car drive.Dat --x 4 --y 9 --z 20 --stat max\n"
    "  Exit codes: 0 done; 1 the set, the log or the output failed; 64 wrong\n"
    "  usage, an unknown position, or a malformed condition or edge list.\n";

inline constexpr std::string_view kLayoutUsage = "vekaton-cli layout [--json] FILE\n";
inline constexpr std::string_view kLayoutHelp =
    "  Prints a layout file (.dsf) or a single component stream: every control with\n"
    "  its properties, then the window's size, place, colour and page.\n"
    "  FILE     the layout file or stream; put -- before a FILE that begins with '-'\n"
    "  --json   every value with its type code, as JSON (default: readable text)\n"
    "  Example:\n"
    "    vekaton-cli layout --json Demo.dsf\n"
    "  Exit codes: 0 the whole file was read; 1 a damaged or unreadable file (what\n"
    "  could be read is printed first, the error with its byte offset on stderr);\n"
    "  64 wrong usage.\n";

inline constexpr std::string_view kNewSetUsage =
    "vekaton-cli new-set --list\n"
    "vekaton-cli new-set --definition ID --dir DIR [--set NAME] [--port PORT]\n"
    "                    [--start-string HEX] [--page WxH]\n";
inline constexpr std::string_view kNewSetHelp =
    "  Makes a configuration set from a bundled definition of a GM data stream: the\n"
    "  settings, parameter, details, gauge list and layout files (NAME.ini, NAME.cfg,\n"
    "  NAME.details, NAME.gau, NAME.dsf) with units, scales and a dashboard, and the\n"
    "  set pointer Vekaton.ini naming it. A set of that name is never overwritten.\n"
    "  --list              one line per definition: its ID, a tab, its description\n"
    "  --definition ID     the definition (the stream ID, such as A140)\n"
    "  --dir DIR           folder of the new set, made when missing\n"
    "  --set NAME          the set's name (default: the ID)\n"
    "  --port PORT         the adapter's port, such as /dev/ttyUSB0 (default: chosen\n"
    "                      at the first Run)\n"
    "  --start-string HEX  for a 160-baud stream: the start string of the ALDL 160\n"
    "                      interface's packets, as hex bytes ('$FF $00')\n"
    "  --page WxH          make the dashboard for pages of this size in pixels\n"
    "                      (default: 1000x600, what a 1024 x 700 window gives)\n"
    "  Examples:\n"
    "    vekaton-cli new-set --list\n"
    "    vekaton-cli new-set --definition A140 --dir ~/car --port /dev/ttyUSB0\n"
    "  Exit codes: 0 the set was written; 1 a set of that name is there already or a\n"
    "  file could not be written; 64 wrong usage (an unknown ID among them).\n";
inline constexpr std::string_view kImportAdxUsage =
    "vekaton-cli import-adx FILE --dir DIR [--set NAME]\n";
inline constexpr std::string_view kImportAdxHelp =
    "  Makes a configuration set from an ADX definition file: the link settings from\n"
    "  its monitor command, a parameter line per value and a digital line per bit,\n"
    "  the details file (units, ranges, alarms as warning limits, decimals), a\n"
    "  generated dashboard, and Vekaton.Ini pointing at the new set. Prints one line\n"
    "  per object of the file: the position it was mapped to, or \"skipped\" and why.\n"
    "  The same report is kept as NAME-import.txt beside the set.\n"
    "  FILE        the ADX file; put -- before a FILE that begins with '-'\n"
    "  --dir DIR   the folder to write the set into; made when missing\n"
    "  --set NAME  the set's name (default: FILE's base name without its extension);\n"
    "              a set of that name that exists already is never overwritten\n"
    "  Example:\n"
    "    vekaton-cli import-adx A140.adx --dir ~/car     writes A140.ini, A140.cfg,\n"
    "              A140.details, A140.gau, A140.dsf, A140-import.txt and Vekaton.ini\n"
    "  Exit codes: 0 the set was written; 1 the file cannot be read as ADX (the line\n"
    "  and column of the fault on stderr), a set of that name exists, or a file could\n"
    "  not be written: nothing is left behind; 64 wrong usage.\n";

inline constexpr std::string_view kExitCodes =
    "Exit codes:\n"
    "  0   done\n"
    "  1   the set, a file, the port or the output failed, a layout file is\n"
    "      damaged, new-set found a set of that name, or an ADX file cannot be\n"
    "      imported (the reason is on stderr)\n"
    "  2   eval: the formula cannot be built\n"
    "  3   eval: an arithmetic fault\n"
    "  4   live: no frame was received\n"
    "  64  wrong usage\n";

}  // namespace vekaton::cli::help
