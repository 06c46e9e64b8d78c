#include "platform/CShell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace corvane::platform {
namespace {

namespace fs = std::filesystem;

class RecordingStarter : public IProcessStarter {
public:
  int Start(const std::string& program, const std::vector<std::string>& args,
            const std::string& workingFolder) override {
    this->program = program;
    this->args = args;
    this->folder = workingFolder;
    ++calls;
    return 0;
  }
  std::string program, folder;
  std::vector<std::string> args;
  int calls = 0;
};

int LineCount(const fs::path& path) {
  std::ifstream in(path);
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

class ShellTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("cvn-shell-" + std::to_string(::getpid()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir / "tools" / "bin");
  }
  void TearDown() override {
    SetProcessStarter(nullptr);
    fs::remove_all(m_dir);
  }
  fs::path WriteProgram(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }
  fs::path m_dir;
};

TEST(SplitParameters, QuotesGroupAndAreDropped) {
  EXPECT_EQ(SplitParameters("-show"), (std::vector<std::string>{"-show"}));
  EXPECT_EQ(SplitParameters("\"1033\""), (std::vector<std::string>{"1033"}));
  EXPECT_EQ(SplitParameters("a  \"b c\" d"), (std::vector<std::string>{"a", "b c", "d"}));
  EXPECT_EQ(SplitParameters("\"\""), (std::vector<std::string>{""}));
  EXPECT_TRUE(SplitParameters("   ").empty());
}

TEST_F(ShellTest, RelativeProgramIsFoundFromTheWorkingFolder) {
  WriteProgram(m_dir / "tools" / "Tool.exe", "exit 0\n");
  RecordingStarter rec;
  SetProcessStarter(&rec);
  const std::string folder = (m_dir / "tools" / "bin").string();
  EXPECT_GT(ShellOpen("../Tool.exe", "-show", folder), 32);
  ASSERT_EQ(rec.calls, 1);
  EXPECT_EQ(rec.folder, folder);
  ASSERT_EQ(rec.args.size(), 2u);
  EXPECT_EQ(rec.args[1], "-show");
  EXPECT_EQ(fs::weakly_canonical(rec.program), fs::weakly_canonical(m_dir / "tools" / "Tool.exe"));
}

TEST_F(ShellTest, MissingFileOrFolderIsReportedWithoutStarting) {
  RecordingStarter rec;
  SetProcessStarter(&rec);
  EXPECT_EQ(ShellOpen("../Corvane_ENG.chm", "", (m_dir / "tools" / "bin").string()), 2);
  EXPECT_EQ(ShellOpen("../Help/Corvane_ENG.chm", "", (m_dir / "tools" / "bin").string()), 3);
  EXPECT_EQ(ShellOpen("x.pdf", "", (m_dir / "missing").string()), 3);
  EXPECT_EQ(ShellOpen("", "", ""), 2);
  EXPECT_EQ(rec.calls, 0);
}

TEST_F(ShellTest, DocumentsAndAddressesGoThroughXdgOpen) {
  std::ofstream(m_dir / "manual.pdf") << "%PDF";
  RecordingStarter rec;
  SetProcessStarter(&rec);
  EXPECT_GT(ShellOpen("manual.pdf", "", m_dir.string()), 32);
  EXPECT_EQ(rec.program, "xdg-open");
  EXPECT_GT(ShellOpen("https://example.invalid/", "", ""), 32);
  EXPECT_EQ(rec.args.back(), "https://example.invalid/");
}

// xdg-open's own verdict is read: installed but unable to open the target is a failure. One that
// keeps running (a browser it runs in the foreground) counts as opened once the wait is over.
TEST_F(ShellTest, XdgOpensExitStatusIsTheResult) {
  const fs::path bin = m_dir / "bin";
  fs::create_directories(bin);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
  std::ofstream(m_dir / "manual.pdf") << "%PDF";
  const struct {
    const char* body;
    int result;  // 33: opened
  } rows[] = {
      {"exit 0\n", 33}, {"exit 2\n", 2}, {"exit 3\n", 31}, {"exit 4\n", 31}, {"exit 1\n", 1},
      {"kill -9 $$\n", 1}, {"sleep 6\n", 33},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.body);
    WriteProgram(bin / "xdg-open", r.body);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ShellOpen("https://example.invalid/", "", ""), r.result);
    EXPECT_EQ(ShellOpen("manual.pdf", "", m_dir.string()), r.result);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2 * kOpenerWaitMs + 2000));
  }
  fs::remove(bin / "xdg-open");
  ::setenv("PATH", bin.string().c_str(), 1);  // no xdg-open anywhere
  EXPECT_EQ(ShellOpen("https://example.invalid/", "", ""), 31);
  ::setenv("PATH", path.c_str(), 1);
}

TEST_F(ShellTest, RealStartRunsInTheWorkingFolderWithTheArguments) {
  const fs::path out = m_dir / "out.txt";
  WriteProgram(m_dir / "tools" / "Probe.exe", "pwd > '" + out.string() + "'\necho \"$1|$2\" >> '" +
                                                  out.string() + "'\n");
  const std::string folder = (m_dir / "tools" / "bin").string();
  EXPECT_GT(ShellOpen("../Probe.exe", "\"1033\" second", folder), 32);
  // Nothing is waited for: poll for the two lines the program writes.
  for (int i = 0; i < 200 && LineCount(out) < 2; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::ifstream in(out);
  std::string cwd, args;
  std::getline(in, cwd);
  std::getline(in, args);
  EXPECT_EQ(fs::weakly_canonical(cwd), fs::weakly_canonical(folder));
  EXPECT_EQ(args, "1033|second");
}

}  // namespace
}  // namespace corvane::platform
