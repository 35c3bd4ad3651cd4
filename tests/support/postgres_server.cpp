#include "support/postgres_server.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "support/child_program.h"
#include "support/ordinary_user.h"

namespace zrm::test {
namespace {

constexpr const char* kBin = "/usr/lib/postgresql/15/bin/";
constexpr auto kWait = std::chrono::seconds(60);

}  // namespace

bool PostgresServer::Installed() {
  return ::access((std::string(kBin) + "initdb").c_str(), X_OK) == 0 &&
         ::access((std::string(kBin) + "pg_ctl").c_str(), X_OK) == 0;
}

PostgresServer::PostgresServer() : port_(FreePort()) {
  WriteBytes(dir_.File("password"), std::string(kOwnerPassword) + "\n");
  if (::geteuid() == 0) {
    const OrdinaryUser user = Nobody();
    for (const std::string& path : {dir_.Path(), dir_.File("password")})
      if (::chown(path.c_str(), user.uid, user.gid) != 0) error_ = "chown " + path;
  }
  if (error_.empty())
    RunAsServerUser({std::string(kBin) + "initdb", "-D", dir_.File("data"), "-U", kOwner,
                     "--pwfile=" + dir_.File("password"), "--auth-local=trust",
                     "--auth-host=scram-sha-256", "--no-locale", "-E", "UTF8", "--no-sync"});
}

PostgresServer::~PostgresServer() { Stop(); }

bool PostgresServer::RunAsServerUser(const std::vector<std::string>& argv) {
  std::vector<std::string> command;
  if (::geteuid() == 0) {
    const OrdinaryUser user = Nobody();
    command = {"setpriv", "--reuid=" + std::to_string(user.uid),
               "--regid=" + std::to_string(user.gid), "--clear-groups", "--"};
  }
  command.insert(command.end(), argv.begin(), argv.end());
  const ProgramOutput run = RunProgram(command, dir_.Path(), kWait);
  if (run.status == 0) return true;
  error_ = argv.front() + " ended with " + std::to_string(run.status) + ": " + run.out + run.err;
  return false;
}

bool PostgresServer::Start() {
  if (!error_.empty()) return false;
  const std::string options = "-c listen_addresses=127.0.0.1 -p " + std::to_string(port_) + " -k " +
                              dir_.Path() + " -c fsync=off";
  running_ = RunAsServerUser({std::string(kBin) + "pg_ctl", "-D", dir_.File("data"), "-l",
                              dir_.File("server.log"), "-o", options, "-w", "-t", "60", "start"});
  return running_;
}

void PostgresServer::Stop() {
  if (running_)
    RunAsServerUser(
        {std::string(kBin) + "pg_ctl", "-D", dir_.File("data"), "-m", "immediate", "-w", "stop"});
  running_ = false;
}

std::string PostgresServer::Url(const std::string& user, const std::string& password,
                                const std::string& database) const {
  return "postgresql://" + user + ":" + password + "@127.0.0.1:" + std::to_string(port_) + "/" +
         database;
}

bool PostgresServer::Sql(const std::string& database, const std::string& sql, std::string* out) {
  const std::string file = dir_.File("statements.sql");
  WriteBytes(file, sql);
  const ProgramOutput run = RunProgram({"psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1",
                                        "-d", Url(kOwner, kOwnerPassword, database), "-f", file},
                                       dir_.Path(), kWait);
  if (out) *out = run.out;
  if (run.status == 0) return true;
  error_ = "psql: " + run.err;
  return false;
}

}  // namespace zrm::test
