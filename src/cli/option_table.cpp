#include "cli/option_table.h"

namespace zrm {

namespace {

constexpr std::uint32_t kAnyCount = UINT32_MAX;

constexpr OptionRow kOptionRows[] = {
    {"--dir", "", "DIR", std::nullopt, false, &CliOptions::dir,
     "working folder with dev.dat and the logs (default: current folder)"},
    {"--device", "", "PATH", std::nullopt, false, &CliOptions::device,
     "serial device to use instead of dev.dat's port"},
    {"--history", "", "URL", std::nullopt, false, &CliOptions::history_url,
     "record the history of changes into the PostgreSQL database URL\n"
     "(postgresql://USER@HOST:PORT/DB) and read it from there; events wait\n"
     "in the working folder's history.sqlite while it cannot be reached"},
    {"--rs485", "", "", std::nullopt, false, &CliOptions::rs485,
     "open the serial port in the kernel's RS-485 mode (RTS on send);\n"
     "refused for a network line"},
    {"--yes", "", "", std::nullopt, false, &CliOptions::yes,
     "answer Yes to the questions of the checks before writing\n"
     "(without it the first question is answered No)"},
    {"--quiet", "", "", std::nullopt, false, &CliOptions::quiet, "no progress lines on stderr"},
    {"--help", "-h", "", std::nullopt, true, &CliOptions::help, "this text"},
    {"--version", "", "", std::nullopt, true, &CliOptions::version, "the program version"},
    {"--count", "", "N", CliCommand::kStatus, false, CountField{&CliOptions::count, 1, kAnyCount},
     ""},
    {"--interval", "", "MS", CliCommand::kStatus, false,
     CountField{&CliOptions::interval_ms, 0, kAnyCount}, ""},
    {"--checked", "", "", CliCommand::kSet, false, &CliOptions::checked, ""},
    {"--pdf", "", "FILE", CliCommand::kReport, false, &CliOptions::pdf, ""},
    {"--changes-only", "", "", CliCommand::kWrite, false, &CliOptions::changes_only, ""},
    {"--backup", "", "", CliCommand::kWrite, false, &CliOptions::backup, ""},
    {"--results", "", "FILE", CliCommand::kBatch, false, &CliOptions::results, ""},
    {"--jobs", "", "N", CliCommand::kBatch, false, CountField{&CliOptions::jobs, 1, 64}, ""},
    {"--resume", "", "", CliCommand::kBatch, false, &CliOptions::resume, ""},
    {"--speeds", "", "LIST", CliCommand::kScan, false, &CliOptions::speeds_text, ""},
    {"--addresses", "", "A-B", CliCommand::kScan, false, &CliOptions::addresses_text, ""},
    {"--probe-ms", "", "N", CliCommand::kScan, false, CountField{&CliOptions::probe_ms, 1, 10000},
     ""},
    {"--addresses", "", "LIST", CliCommand::kWatch, false, &CliOptions::addresses_text, ""},
    {"--interval", "", "MS", CliCommand::kWatch, false,
     CountField{&CliOptions::interval_ms, 0, kAnyCount}, ""},
    {"--count", "", "N", CliCommand::kWatch, false, CountField{&CliOptions::sweeps, 1, kAnyCount},
     ""},
    {"--since", "", "DATE", CliCommand::kHistory, false, &CliOptions::since_text, ""},
    {"--until", "", "DATE", CliCommand::kHistory, false, &CliOptions::until_text, ""},
    {"--action", "", "A", CliCommand::kHistory, false, &CliOptions::action, ""},
    {"--csv", "", "", CliCommand::kHistory, false, &CliOptions::csv, ""},
    {"--verify", "", "", CliCommand::kHistory, false, &CliOptions::verify, ""},
};

constexpr CommandRow kCommandRows[] = {
    {"read", CliCommand::kRead, "FILE", 1,
     "read the instrument, save its settings to FILE\n"
     "(\".prf\" added unless FILE ends in it) and print\n"
     "its identity"},
    {"write", CliCommand::kWrite, "FILE", 1,
     "check the profile FILE and write it to the\n"
     "instrument; --backup saves a backup first,\n"
     "--changes-only writes only what differs (after\n"
     "a backup)"},
    {"report", CliCommand::kReport, "", 0,
     "read the instrument and print the configuration\n"
     "page"},
    {"status", CliCommand::kStatus, "", 0,
     "poll the current values N times (default 1)\n"
     "every MS milliseconds (default 500)"},
    {"get", CliCommand::kGet, "SPACE ADDR byte|dword|status", 3,
     "read one parameter (the status block: 1 2 status)"},
    {"set", CliCommand::kSet, "SPACE ADDR byte|dword VALUE", 4,
     "write one parameter; --checked reads it back"},
    {"diff", CliCommand::kDiff, "FILE", 1,
     "read the instrument and print how it differs from\n"
     "the profile FILE as a write would send it\n"
     "(exit 0 equal, 65 different)"},
    {"backup", CliCommand::kBackup, "", 0,
     "read the instrument, save a backup under backup/\n"
     "and print its path"},
    {"batch", CliCommand::kBatch, "PLAN", 1,
     "run the rows of PLAN (CSV: device,address,action,\n"
     "profile; actions read, write, changes, verify,\n"
     "report), lines in parallel, at most N (1..64,\n"
     "default 32) at once; results appended to FILE\n"
     "(default results.csv); --resume skips the rows\n"
     "of this plan and profile that succeeded before"},
    {"scan", CliCommand::kScan, "", 0,
     "search the port for instruments: each speed of\n"
     "LIST (default all: 4800,9600,19200,38400,57600),\n"
     "each address A-B (default 1-32, at most 1-255),\n"
     "N ms beyond the wire time per probe (default 50);\n"
     "exit 2 when none was found"},
    {"ports", CliCommand::kPorts, "", 0,
     "list the serial devices: path, by-id name,\n"
     "description, access"},
    {"resume", CliCommand::kResume, "", 0,
     "complete the unfinished write of the instrument:\n"
     "write the changes still needed (exit 66 when\n"
     "nothing is unfinished)"},
    {"rollback", CliCommand::kRollback, "", 0,
     "roll the unfinished write back: write the changes\n"
     "needed towards the backup taken before it (exit\n"
     "66 nothing unfinished, 67 no backup)"},
    {"watch", CliCommand::kWatch, "", 0,
     "poll every instrument of LIST (like 1-3,7; default\n"
     "the last search's on this port, else dev.dat's\n"
     "address) in turn, a sweep every MS milliseconds\n"
     "(default 500, 0 back to back), N sweeps or until\n"
     "Ctrl-C; a table on a terminal, else one CSV line\n"
     "per answered poll"},
    {"history", CliCommand::kHistory, "[ID]", 1,
     "list the history of changes of the working folder\n"
     "(history.sqlite): event ID, or those from --since\n"
     "to --until DATE (YYYY-MM-DD, UTC) of action A; a\n"
     "table on a terminal, else (or with --csv) CSV;\n"
     "exit 66 when none matches; --verify checks every\n"
     "chain and names the first event that does not\n"
     "match (exit 65)"},
};

}  // namespace

std::span<const OptionRow> OptionRows() { return kOptionRows; }
std::span<const CommandRow> CommandRows() { return kCommandRows; }

}  // namespace zrm
