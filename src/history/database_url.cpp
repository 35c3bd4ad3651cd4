#include "history/database_url.h"

#include <libpq-fe.h>

#include <charconv>
#include <map>
#include <memory>
#include <vector>

#include "history/history_texts.h"

namespace zrm {

namespace {

namespace t = history_texts;

// The keywords of `url` that have a value; false with libpq's reason.
bool Parse(const std::string& url, std::map<std::string, std::string>& values, std::string& why) {
  char* error = nullptr;
  const std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
      PQconninfoParse(url.c_str(), &error), &PQconninfoFree);
  if (!options) {
    why = error ? error : "";
    while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
    // libpq quotes the URL, and with it the password: the reason is enough.
    if (const std::size_t quoted = why.find(": \"" + url); quoted != std::string::npos)
      why.erase(quoted);
    PQfreemem(error);
    return false;
  }
  for (const PQconninfoOption* o = options.get(); o->keyword; ++o)
    if (o->val) values[o->keyword] = o->val;
  return true;
}

// The items of a comma-separated list ("db1,db2"; "" is one empty item).
std::vector<std::string> Items(const std::string& list) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (std::size_t end; (end = list.find(',', start)) != std::string::npos; start = end + 1)
    items.push_back(list.substr(start, end - start));
  items.push_back(list.substr(start));
  return items;
}

// Each port of the list, where given, is 1..65535.
bool PortsValid(const std::string& ports) {
  for (const std::string& port : Items(ports)) {
    unsigned number = 0;
    const auto [stop, ec] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (!port.empty() &&
        (ec != std::errc() || stop != port.data() + port.size() || number == 0 || number > 65535))
      return false;
  }
  return true;
}

}  // namespace

bool CheckDatabaseUrl(const std::string& url, std::string& why) {
  if (!url.starts_with("postgresql://") && !url.starts_with("postgres://")) {
    why = t::kNotDatabaseUrl;
    return false;
  }
  std::map<std::string, std::string> values;
  if (!Parse(url, values, why)) return false;
  if (PortsValid(values["port"])) return true;
  why = std::string(t::kBadPort) + values["port"];
  return false;
}

std::string DatabaseLabel(const std::string& url) {
  std::map<std::string, std::string> values;
  std::string why;
  if (!Parse(url, values, why)) return url.substr(0, url.find("://")) + "://…";
  const std::string& user = values["user"];
  // Each host with its port, or with the one port all of them share.
  const std::vector<std::string> hosts = Items(values["host"]);
  const std::vector<std::string> ports = Items(values["port"]);
  std::string places;
  for (std::size_t i = 0; i < hosts.size(); ++i) {
    const std::string& port = ports.size() == hosts.size() ? ports[i] : ports.front();
    places += (i > 0 ? "," : "") + hosts[i] + (port.empty() ? "" : ":" + port);
  }
  return "postgresql://" + (user.empty() ? "" : user + "@") + places + "/" + values["dbname"];
}

}  // namespace zrm
