#!/usr/bin/env python3
"""Plants one realistic fault at a time in the code, rebuilds the test
program that should catch it, runs it, and restores the code. Each row must
end "caught"; "MISSED" means no test guards that line; "stale" means the
code moved and the row needs its snippet updated.

Usage: scripts/planted-faults.py BUILD_DIR   (a configured Debug build)
"""
import pathlib
import subprocess
import sys

# (what, file, code as it is, code with the fault, test program, gtest filter)
FAULTS = [
    ("plan accepts address 256", "src/cli/batch_plan.cpp",
     "kMaxNetAddress = 255;", "kMaxNetAddress = 256;", "test_cli", "CliBatchPieces.*"),
    ("results file does not double quotes", "src/cli/batch_plan.cpp",
     "if (c == '\"') out += '\"';", "", "test_cli", "CliBatchPieces.*"),
    ("an earlier success skips every equal row", "src/cli/batch_resume.cpp",
     "  --done->second;", "", "test_cli", "CliBatchPieces.*"),
    ("probe window in milliseconds", "src/app/instrument_probe.cpp",
     "(bits * 1'000'000 + rate - 1)", "(bits * 1'000 + rate - 1)", "test_app",
     "InstrumentProbe*"),
    ("probes that disagree are taken", "src/app/instrument_search.cpp",
     "|| second.firmware_version != first.firmware_version", "", "test_app",
     "InstrumentProbe*"),
    ("a reply from another address is taken", "src/link/reply_match.cpp",
     "if (DecimalValue(address) != net_address)", "if (DecimalValue(address) > ~0ull)",
     "test_link", "LinkExchange.*"),
    ("a reply of another width is taken", "src/link/reply_match.cpp",
     "return data.size() == DataDigits(kind) ? ReplyVerdict::kAnswer : ReplyVerdict::kOtherRequest;",
     "return ReplyVerdict::kAnswer;", "test_link", "LinkExchange.*"),
    ("answers after a time-out are not confirmed", "src/link/link.cpp",
     "const bool confirm = Unsettled() || std::exchange(confirm_next_, false);",
     "const bool confirm = false;", "test_link", "LinkExchange.*"),
    ("a line just opened is not waited out", "src/link/link.cpp",
     "  if (!settled_) Settle();", "", "test_robustness", "*Killed*"),
    ("the flood limit is gone", "src/platform/telnet_stream.h",
     "kNegotiationLimit = 4096;", "kNegotiationLimit = 1u << 30;", "test_link",
     "PortLineOpening.*Flood*"),
    ("-0.0 equals 0.0 in the comparison", "src/settings/written_parameters.cpp",
     "return std::bit_cast<std::uint32_t>(a.*row.float_field) !=",
     "return (a.*row.float_field) != (b.*row.float_field) && std::bit_cast<std::uint32_t>(a.*row.float_field) !=",
     "test_editor", "SettingsComparison*"),
    ("the prepared set point type is not named", "src/settings/changes_transfer.cpp",
     "    unfinished_.push_back({k, b.type, nullptr});", "", "test_app", "ChangesWrite*"),
    ("the exclusive flag stays set", "src/platform/serial_port.cpp",
     "  ::ioctl(fd, TIOCNXCL);\n  ::close(fd);", "  ::close(fd);", "test_platform",
     "*OrdinaryUser*"),
    ("a vanished pseudo-terminal is opened again by its number", "src/platform/serial_port.cpp",
     "(vanished && path_.rfind(\"/dev/pts/\", 0) == 0)", "(vanished && path_.empty())",
     "test_platform",
     "*Hangup*"),
    ("a failed --device goes on", "src/cli/command_session.cpp",
     "return opened || options.device.empty();", "return opened || true;", "test_cli",
     "*CannotBeOpened*"),
    ("a session without a window falls back to dev.dat's port", "src/app/session.cpp",
     "  if (!window_) return false;", "", "test_cli", "*CannotBeOpened*"),
]


def run(cmd, cwd=None):
    return subprocess.run(cmd, cwd=cwd, capture_output=True, text=True).returncode


def main():
    build = pathlib.Path(sys.argv[1]).resolve()
    root = pathlib.Path(__file__).resolve().parent.parent
    caught = 0
    for what, file, old, new, program, gtest_filter in FAULTS:
        path = root / file
        original = path.read_text()
        if original.count(old) != 1:
            print(f"stale   {what} ({file})")
            continue
        try:
            path.write_text(original.replace(old, new))
            if run(["cmake", "--build", str(build), "-j2", "--target", program]) != 0:
                outcome = "caught (does not build)"
            else:
                binary = build / "tests" / program
                failed = run([str(binary), f"--gtest_filter={gtest_filter}"], cwd=build) != 0
                outcome = "caught" if failed else "MISSED"
        finally:
            path.write_text(original)
        caught += outcome.startswith("caught")
        print(f"{outcome:8} {what} ({file}; {program} {gtest_filter})", flush=True)
    for program in sorted({row[4] for row in FAULTS}):
        run(["cmake", "--build", str(build), "-j2", "--target", program])
    print(f"{caught} of {len(FAULTS)} planted faults caught")
    return 0 if caught == len(FAULTS) else 1


if __name__ == "__main__":
    sys.exit(main())
