#include "gateway/tls_files.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "gateway/gateway_texts.h"
#include "platform/file_kind.h"
#include "platform/system_reason.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

constexpr std::uintmax_t kMostTlsFileBytes = 1 << 20;

enum class TlsContent { kCertificate, kPrivateKey };

// A key protected by a pass phrase would make OpenSSL ask for it on the
// terminal; the daemon has nobody to ask, so none is given.
int NoPassPhrase(char*, int, int, void*) { return 0; }

bool HoldsPem(std::FILE* file, TlsContent content) {
  if (content == TlsContent::kCertificate) {
    std::unique_ptr<X509, decltype(&X509_free)> cert(
        PEM_read_X509(file, nullptr, NoPassPhrase, nullptr), X509_free);
    return cert != nullptr;
  }
  std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
      PEM_read_PrivateKey(file, nullptr, NoPassPhrase, nullptr), EVP_PKEY_free);
  return key != nullptr;
}

// Empty when the file at `path` is usable, else why not.
std::string Problem(const std::string& path, TlsContent content) {
  if (std::string kind = NotRegularFileAt(path); !kind.empty()) return kind;
  if (LargerThan(path, kMostTlsFileBytes)) return t::kTlsFileTooBig;
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"),
                                                          std::fclose);
  if (file == nullptr) return SystemReason(errno);
  if (HoldsPem(file.get(), content)) return {};
  return content == TlsContent::kCertificate ? t::kNotPemCertificate : t::kNotPemKey;
}

}  // namespace

bool CheckTlsFiles(const MqttConfig& mqtt, std::string& error) {
  const std::pair<const std::string*, TlsContent> files[] = {
      {&mqtt.ca_file, TlsContent::kCertificate},
      {&mqtt.cert_file, TlsContent::kCertificate},
      {&mqtt.key_file, TlsContent::kPrivateKey}};
  for (const auto& [path, content] : files) {
    if (path->empty()) continue;
    if (const std::string why = Problem(*path, content); !why.empty()) {
      error = t::kCannotReadTlsFile + *path + ": " + why;
      return false;
    }
  }
  return true;
}

}  // namespace zrm
