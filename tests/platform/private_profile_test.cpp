#include "platform/private_profile.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

bool SaveOk(PrivateProfile& profile) {
  std::string error;
  const bool ok = profile.Save(error);
  EXPECT_TRUE(ok) << error;
  return ok;
}

TEST(PrivateProfile, ReadsAFileWrittenOnWindows) {
  ScratchDir dir;
  // cp1251, CR LF, odd spacing, blank lines, a comment and mixed case.
  WriteBytes(dir.File("a.prf"),
             "; profile\r\n\r\n[ ch1 ]\r\n  Dat = 17 \r\n\tTEXT=\xCA\xE0\xED\xE0\xEB 1\t\r\n"
             "\r\n[Definition]\r\ntxt1=\r\nnot a key\r\n");
  const PrivateProfile p = PrivateProfile::Load(dir.File("a.prf"));
  EXPECT_TRUE(p.ExistedOnDisk());
  EXPECT_EQ(p.GetString("CH1", "dat", "x"), "17");
  EXPECT_EQ(p.GetString("Ch1", "text", "x"), "Канал 1");
  EXPECT_TRUE(p.HasKey("definition", "TXT1"));
  EXPECT_EQ(p.GetString("Definition", "txt1", "x"), "");
  EXPECT_FALSE(p.HasKey("Definition", "not a key"));
  EXPECT_EQ(p.GetString("Definition", "txt2", "fallback"), "fallback");
  EXPECT_EQ(p.GetString("CH2", "dat", "17"), "17");
  // Lines as an editor numbers them, the comment and blank lines included.
  EXPECT_EQ(p.LineOf("ch1", "TEXT"), 5);
  EXPECT_EQ(p.LineOf("Definition", "txt1"), 8);
  EXPECT_EQ(p.LineOf("Definition", "txt2"), 0);
}

TEST(PrivateProfile, MissingFileGivesDefaultsAndWriteCreatesIt) {
  ScratchDir dir;
  PrivateProfile p = PrivateProfile::Load(dir.File("new.prf"));
  EXPECT_FALSE(p.ExistedOnDisk());
  EXPECT_EQ(p.GetString("CH1", "dat", "17"), "17");
  p.SetString("CH1", "dat", "17");
  p.SetString("CH1", "text", "Канал 1");
  p.SetString("RELE", "use", "1");
  p.SetString("CH1", "unit", "<....>");
  ASSERT_TRUE(SaveOk(p));
  EXPECT_EQ(ReadBytes(dir.File("new.prf")),
            "[CH1]\r\ndat=17\r\ntext=\xCA\xE0\xED\xE0\xEB 1\r\nunit=<....>\r\n[RELE]\r\nuse=1\r\n");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"new.prf"});  // no temporary left
}

TEST(PrivateProfile, WritesReplaceInPlaceAndAppendAfterTheLastKey) {
  ScratchDir dir;
  const std::string path = dir.File("a.prf");
  WriteBytes(path, "top=1\n[A]\n  x = 1 \n; note\ny=2\n\n\n[B]\nz=3");
  PrivateProfile p = PrivateProfile::Load(path);
  p.SetString("a", "X", "10");     // in place, the file's spelling kept
  p.SetString("A", "new", "n");    // after y, before the blank lines
  p.SetString("C", "k", " v ");    // new section at the end
  p.SetString("b", "z", "3");      // unchanged value
  EXPECT_TRUE(p.Modified());
  ASSERT_TRUE(SaveOk(p));
  EXPECT_EQ(ReadBytes(path),
            "top=1\r\n[A]\r\nx=10\r\n; note\r\ny=2\r\nnew=n\r\n\r\n\r\n[B]\r\nz=3\r\n[C]\r\nk= v \r\n");
  EXPECT_EQ(PrivateProfile::Load(path).GetString("C", "k", ""), "v");
}

TEST(PrivateProfile, ANewKeyOfASectionWithoutKeysFollowsItsHeader) {
  ScratchDir dir;
  const std::string path = dir.File("a.prf");
  WriteBytes(path, "[A]\r\n\r\n[B]\r\n");
  PrivateProfile p = PrivateProfile::Load(path);
  p.SetString("A", "k", "1");
  ASSERT_TRUE(SaveOk(p));
  EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n\r\n[B]\r\n");
}

TEST(PrivateProfile, TheFirstOfDuplicatedSectionsAndKeysCounts) {
  ScratchDir dir;
  const std::string path = dir.File("a.prf");
  WriteBytes(path, "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\nm=4\r\n");
  PrivateProfile p = PrivateProfile::Load(path);
  EXPECT_EQ(p.GetString("A", "k", ""), "1");
  EXPECT_FALSE(p.HasKey("A", "m"));
  EXPECT_EQ(p.LineOf("a", "K"), 2);
  EXPECT_EQ(p.LineOf("A", "m"), 0);
  p.SetString("A", "K", "9");
  p.SetString("A", "m", "5");
  ASSERT_TRUE(SaveOk(p));
  EXPECT_EQ(ReadBytes(path), "[A]\r\nk=9\r\nk=2\r\nm=5\r\n[a]\r\nk=3\r\nm=4\r\n");
}

TEST(PrivateProfile, Utf8CopiesAreReadAndWrittenBackAsCp1251) {
  ScratchDir dir;
  const std::string with_bom = dir.File("bom.prf");
  const std::string without_bom = dir.File("plain.prf");
  WriteBytes(with_bom, "\xEF\xBB\xBF[CH1]\ntext=Канал 1\n");
  WriteBytes(without_bom, "[CH1]\ntext=Канал 2\n");
  PrivateProfile a = PrivateProfile::Load(with_bom);
  EXPECT_EQ(a.GetString("CH1", "text", ""), "Канал 1");
  EXPECT_EQ(PrivateProfile::Load(without_bom).GetString("CH1", "text", ""), "Канал 2");
  ASSERT_TRUE(SaveOk(a));
  EXPECT_EQ(ReadBytes(with_bom), "[CH1]\r\ntext=\xCA\xE0\xED\xE0\xEB 1\r\n");

  // A BOM before malformed UTF-8 still reads, the bad bytes as "?".
  WriteBytes(with_bom, "\xEF\xBB\xBF[CH1]\ntext=\xFF\xC3\n");
  EXPECT_EQ(PrivateProfile::Load(with_bom).GetString("CH1", "text", ""), "??");
}

TEST(PrivateProfile, ValuesArriveWithAtMost1023Characters) {
  ScratchDir dir;
  const std::string path = dir.File("a.prf");
  // 1100 Cyrillic letters: one byte each on disk, two in UTF-8.
  WriteBytes(path, "[A]\r\nk=" + std::string(1100, '\xC0') + "\r\n");
  const PrivateProfile p = PrivateProfile::Load(path);
  std::string expected;
  for (int i = 0; i < 1023; ++i) expected += "А";
  EXPECT_EQ(p.GetString("A", "k", ""), expected);
  EXPECT_EQ(p.GetString("A", "missing", std::string(2000, 'x')), std::string(1023, 'x'));
}

TEST(PrivateProfile, ValuesWithLineBreaksCannotAddKeys) {
  ScratchDir dir;
  PrivateProfile p(dir.File("a.prf"));
  p.SetString("A", "txt0", "one\r\n[B]\nevil=1");
  ASSERT_TRUE(SaveOk(p));
  const PrivateProfile q = PrivateProfile::Load(dir.File("a.prf"));
  EXPECT_FALSE(q.HasKey("B", "evil"));
  EXPECT_EQ(q.GetString("A", "txt0", ""), "one  [B] evil=1");
}

TEST(PrivateProfile, GarbageAndEnormousLinesNeverBreakIt) {
  ScratchDir dir;
  const std::string path = dir.File("junk.prf");
  std::string junk;
  unsigned seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245u + 12345u;
    junk += static_cast<char>(seed >> 16);
  }
  junk += "\n[" + std::string(300'000, 'x') + "=]\n" + std::string(1'000'000, '=') + "\n[";
  WriteBytes(path, junk);
  PrivateProfile p = PrivateProfile::Load(path);
  EXPECT_TRUE(p.ExistedOnDisk());
  EXPECT_EQ(p.GetString("CH1", "dat", "17"), "17");
  p.SetString("CH1", "dat", "5");
  ASSERT_TRUE(SaveOk(p));
  EXPECT_EQ(PrivateProfile::Load(path).GetString("CH1", "dat", ""), "5");
}

TEST(PrivateProfile, AFailedSaveLeavesTheOldFileWhole) {
  ScratchDir dir;
  std::string error;

  PrivateProfile nowhere(dir.File("missing/a.prf"));
  nowhere.SetString("A", "k", "1");
  EXPECT_FALSE(nowhere.Save(error));
  EXPECT_EQ(error, "нет такого файла или устройства");

  const std::string path = dir.File("ro.prf");
  WriteBytes(path, "[A]\r\nk=1\r\n");
  chmod(path.c_str(), 0444);
  PrivateProfile p = PrivateProfile::Load(path);
  p.SetString("A", "k", "2");
  EXPECT_FALSE(p.Save(error));
  EXPECT_EQ(error, "нет доступа");
  EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n");

  ClearFileAttributes(path);
  ASSERT_TRUE(SaveOk(p));
  EXPECT_EQ(ReadBytes(path), "[A]\r\nk=2\r\n");

  mkdir(dir.File("folder.prf").c_str(), 0755);
  EXPECT_FALSE(FileExists(dir.File("folder.prf")));
  PrivateProfile folder(dir.File("folder.prf"));
  folder.SetString("A", "k", "1");
  EXPECT_FALSE(folder.Save(error));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder.prf", "ro.prf"}));
}

TEST(PrivateProfile, SaveKeepsPermissionsAndSymbolicLinks) {
  ScratchDir dir;
  const std::string target = dir.File("real.prf");
  WriteBytes(target, "[A]\r\nk=1\r\n");
  chmod(target.c_str(), 0640);
  ASSERT_EQ(symlink(target.c_str(), dir.File("link.prf").c_str()), 0);

  PrivateProfile p = PrivateProfile::Load(dir.File("link.prf"));
  p.SetString("A", "k", "2");
  ASSERT_TRUE(SaveOk(p));
  struct stat info {};
  ASSERT_EQ(lstat(dir.File("link.prf").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadBytes(target), "[A]\r\nk=2\r\n");
}

// What is at `path` itself (not followed): kind, inode, device number and,
// for a link, where it points.
std::string NodeAt(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return path + " missing\n";
  std::string text = path + " " + std::to_string(info.st_mode) + " " + std::to_string(info.st_ino) +
                     " " + std::to_string(info.st_rdev);
  if (S_ISLNK(info.st_mode)) text += " -> " + std::filesystem::read_symlink(path).string();
  return text + "\n";
}

// Every node under `folder`, in a stable order.
std::string NodesUnder(const std::string& folder) {
  std::vector<std::string> nodes;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    nodes.push_back(NodeAt(entry.path().string()));
  std::sort(nodes.begin(), nodes.end());
  std::string text;
  for (const std::string& node : nodes) text += node;
  return text;
}

void MakeSocket(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  close(fd);
}

// One place a save may be pointed at: links are followed and their final
// target replaced (the links stay), anything but a regular file is refused
// and left exactly as it was.
struct SaveTarget {
  const char* what;
  std::function<void(const ScratchDir&)> make;  // builds the scene in the folder
  std::string path;                             // saved to (in the folder unless absolute)
  std::string refusal;                          // empty: the save succeeds
  std::string written;                          // the file that then holds the content
  std::vector<std::string> links;               // links that must still be links
};

TEST(PrivateProfile, SavesFollowLinksAndNeverReplaceAnythingButARegularFile) {
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  const auto in = [](const ScratchDir& dir, const char* name) { return dir.File(name); };
  const std::vector<SaveTarget> targets = {
      {"link to a file",
       [&](const ScratchDir& d) {
         WriteBytes(d.File("real.prf"), "old");
         symlink(in(d, "real.prf").c_str(), d.File("link.prf").c_str());
       },
       "link.prf",
       "",
       "real.prf",
       {"link.prf"}},
      {"chain of relative links into a subfolder",
       [](const ScratchDir& d) {
         mkdir(d.File("sub").c_str(), 0755);
         WriteBytes(d.File("sub/real.prf"), "old");
         symlink("real.prf", d.File("sub/middle.prf").c_str());
         symlink("sub/middle.prf", d.File("chain.prf").c_str());
       },
       "chain.prf",
       "",
       "sub/real.prf",
       {"chain.prf", "sub/middle.prf"}},
      {"dangling link: its target is created",
       [](const ScratchDir& d) { symlink("created.prf", d.File("dangling.prf").c_str()); },
       "dangling.prf",
       "",
       "created.prf",
       {"dangling.prf"}},
      {"dangling link into a missing folder",
       [](const ScratchDir& d) { symlink("gone/x.prf", d.File("dangling.prf").c_str()); },
       "dangling.prf",
       "нет такого файла или устройства",
       "",
       {}},
      {"links in a loop",
       [](const ScratchDir& d) {
         symlink("b.prf", d.File("a.prf").c_str());
         symlink("a.prf", d.File("b.prf").c_str());
       },
       "a.prf",
       "слишком много символьных ссылок",
       "",
       {}},
      {"FIFO",
       [](const ScratchDir& d) { mkfifo(d.File("pipe.prf").c_str(), 0444); },
       "pipe.prf",
       "это канал (FIFO), а не файл",
       "",
       {}},
      {"link to a FIFO",
       [](const ScratchDir& d) {
         mkfifo(d.File("pipe").c_str(), 0444);
         symlink("pipe", d.File("pipe.prf").c_str());
       },
       "pipe.prf",
       "это канал (FIFO), а не файл",
       "",
       {}},
      {"folder",
       [](const ScratchDir& d) { mkdir(d.File("folder.prf").c_str(), 0555); },
       "folder.prf",
       "это папка, а не файл",
       "",
       {}},
      {"socket",
       [](const ScratchDir& d) { MakeSocket(d.File("socket.prf")); },
       "socket.prf",
       "это сокет, а не файл",
       "",
       {}},
      {"/dev/null", [](const ScratchDir&) {}, "/dev/null", "это устройство, а не файл", "", {}},
      {"link to /dev/null",
       [](const ScratchDir& d) { symlink("/dev/null", d.File("null.prf").c_str()); },
       "null.prf",
       "это устройство, а не файл",
       "",
       {}},
      {"the system's link to an open pipe",
       [](const ScratchDir&) {},
       "/proc/self/fd/" + std::to_string(pipe_ends[1]),
       "это канал (FIFO), а не файл",
       "",
       {}},
  };
  for (const SaveTarget& target : targets) {
    SCOPED_TRACE(target.what);
    ScratchDir dir;
    target.make(dir);
    const std::string path = target.path[0] == '/' ? target.path : dir.File(target.path);
    const std::string nodes_before = NodesUnder(dir.Path()) + NodeAt(path);

    ClearFileAttributes(path);  // as a profile save does first
    std::string error;
    const bool saved = ReplaceFileAtomically(path, "new", error);

    if (!target.refusal.empty()) {
      EXPECT_FALSE(saved);
      EXPECT_EQ(error, target.refusal);
      EXPECT_EQ(NodesUnder(dir.Path()) + NodeAt(path), nodes_before);
      continue;
    }
    EXPECT_TRUE(saved) << error;
    EXPECT_EQ(ReadBytes(dir.File(target.written)), "new");
    for (const std::string& link : target.links)
      EXPECT_NE(NodeAt(dir.File(link)).find(" -> "), std::string::npos) << link;
    EXPECT_EQ(NodesUnder(dir.Path()).find(".tmp"), std::string::npos);
  }
  close(pipe_ends[0]);
  close(pipe_ends[1]);
}

}  // namespace
}  // namespace zrm
