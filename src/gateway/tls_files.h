#pragma once
// The broker's TLS files checked before the gateway starts: each named file
// must be a regular file of at most 1 MB that holds what its key says (a
// PEM certificate, a PEM private key), so that `--check` passing means the
// start will not fail on them, and a folder or garbage is never retried for
// ever against the broker.

#include <string>

#include "gateway/gateway_config.h"

namespace zrm {

// True when every TLS file of `mqtt` is usable; otherwise false with
// "Невозможно прочитать файл TLS PATH: why" in `error`.
bool CheckTlsFiles(const MqttConfig& mqtt, std::string& error);

}  // namespace zrm
