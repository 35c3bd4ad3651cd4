#include "history/event_hash.h"

#include <openssl/evp.h>

#include <array>
#include <memory>

namespace zrm {

namespace {

// "5:abcde": a field that cannot run into the next.
void Field(std::string& text, const std::string& value) {
  text += std::to_string(value.size()) + ":" + value;
}

std::string Canonical(const HistoryEvent& e) {
  std::string text;
  for (const std::string* f :
       {&e.id, &e.workstation, &e.user, &e.program, &e.version, &e.instrument_type,
        &e.instrument_number, &e.firmware, &e.line, &e.action, &e.message, &e.backup, &e.journal,
        &e.opening_id, &e.previous_hash})
    Field(text, *f);
  Field(text, std::to_string(e.time_ms));
  Field(text, std::to_string(e.address));
  Field(text, std::to_string(e.result));
  Field(text, std::to_string(e.changes.size()));
  for (const ParameterChange& c : e.changes) {
    Field(text, c.name);
    Field(text, c.before);
    Field(text, c.after);
  }
  return text;
}

}  // namespace

std::string EventHash(const HistoryEvent& event) {
  const std::string text = Canonical(event);
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int size = 0;
  EVP_Digest(text.data(), text.size(), digest.data(), &size, EVP_sha256(), nullptr);
  constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0xF];
  }
  return hex;
}

}  // namespace zrm
