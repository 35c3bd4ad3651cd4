#include "cli/usage_text.h"

namespace zrm {

std::string UsageText() {
  return "usage: zrm48ctl [--dir DIR] [--device PATH] [--yes] [--quiet] COMMAND [ARGS]\n"
         "\n"
         "commands:\n"
         "  read FILE                          read the instrument, save its settings to FILE\n"
         "                                     (\".prf\" added unless FILE ends in it) and print\n"
         "                                     its identity\n"
         "  write FILE                         check the profile FILE and write it to the\n"
         "                                     instrument\n"
         "  report [--pdf FILE]                read the instrument and print the configuration\n"
         "                                     page\n"
         "  status [--count N] [--interval MS] poll the current values N times (default 1)\n"
         "                                     every MS milliseconds (default 500)\n"
         "  get SPACE ADDR byte|dword|status   read one parameter (the status block: 1 2 status)\n"
         "  set SPACE ADDR byte|dword VALUE [--checked]\n"
         "                                     write one parameter; --checked reads it back\n"
         "\n"
         "options:\n"
         "  --dir DIR      working folder with dev.dat and the logs (default: current folder)\n"
         "  --device PATH  serial device to use instead of dev.dat's port\n"
         "  --yes          answer Yes to the questions of the checks before writing\n"
         "                 (without it the first question is answered No)\n"
         "  --quiet        no progress lines on stderr\n"
         "  --help         this text\n"
         "  --version      the program version\n"
         "\n"
         "exit status: 0 success; 1..23 the instrument or check error shown on stderr;\n"
         "64 usage error.\n";
}

std::string VersionText() { return std::string("zrm48ctl ") + ZRM_VERSION; }

}  // namespace zrm
