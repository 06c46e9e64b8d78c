// The IP list file, the text order of the sorted lists and the serial-port lister, without a display.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "comm/CIPList.h"
#include "comm/CSerialCommPorts.h"
#include "comm/CTextSortedList.h"
#include "platform/CRegStore.h"

namespace corvane::comm {
namespace {

namespace fs = std::filesystem;

class IPListFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "cvn-dialogs-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    m_root = tmpl;
    ::setenv("PROGRAMDATA", (m_root + "/programdata").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
    platform::CRegStore::SetSerialCommProvider({});
  }
  void TearDown() override {
    platform::CRegStore::SetSerialCommProvider({});
    ::unsetenv("PROGRAMDATA");
    ::unsetenv("XDG_CONFIG_HOME");
    std::error_code ec;
    fs::remove_all(m_root, ec);
  }
  void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string m_root;
};

TEST(TextSortedList, OrdersAsTextIgnoringCase) {
  CTextSortedList list;
  for (const char* t : {"COM2", "9.0.0.1", "com10", "10.0.0.2", "COM1", "b", "A"}) list.Insert(t);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"10.0.0.2", "9.0.0.1", "A", "b", "COM1", "com10", "COM2"}));
  EXPECT_EQ(list.Find("Com10"), 5);
  EXPECT_EQ(list.Find("COM"), -1);  // whole text only
  EXPECT_FALSE(list.RemoveAt(7));
  EXPECT_FALSE(list.RemoveAt(-1));
}

TEST_F(IPListFileTest, FolderCheckCreatesOnlyTheLastLevel) {
  struct Row {
    const char* name;
    const char* prepare;  // "dir": parent exists; "file": a file has the folder's name; "none": no parent
    bool made;
  };
  const Row rows[] = {{"parent exists", "dir", true}, {"file in the way", "file", false}, {"no parent", "none", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string parent = m_root + "/" + row.name;
    const std::string folder = parent + "/Config";
    if (std::string(row.prepare) != "none") fs::create_directories(parent);
    if (std::string(row.prepare) == "file") Write(folder, "x");
    EXPECT_EQ(CIPList::EnsureFolder(folder), row.made);
    EXPECT_EQ(fs::is_directory(folder), row.made);
  }
}

TEST_F(IPListFileTest, LoadBoundsTheCountAndFillsMissingKeys) {
  struct Row {
    const char* file;
    std::vector<std::string> entries;
  };
  const Row rows[] = {
      {"[IPList]\nIPCount=3\nIP1=9.0.0.1\nIP3=10.0.0.2\n", {"", "10.0.0.2", "9.0.0.1"}},
      {"[IPList]\nIPCount=-4\nIP1=9.0.0.1\n", {}},
      {"[IPList]\nIP1=9.0.0.1\n", {}},
      {"[IPList]\nIPCount=2\nIP1=1.1.1.1\nIP2=1.1.1.1\n", {"1.1.1.1", "1.1.1.1"}},  // the file is taken as it is
  };
  const std::string path = m_root + "/IPList.ini";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    Write(path, row.file);
    CIPList list;
    list.Load(path);
    EXPECT_EQ(list.Entries().Items(), row.entries);
  }
  Write(path, "[IPList]\nIPCount=2000000000\n");
  CIPList huge;
  huge.Load(path);
  EXPECT_EQ(huge.Count(), CIPList::kMaxEntries);
}

TEST_F(IPListFileTest, SaveReplacesTheSectionAndKeepsOthers) {
  const std::string path = m_root + "/IPList.ini";
  Write(path, "[Other]\nA=1\n[IPList]\nIPCount=5\nIP4=7.7.7.7\nIP5=8.8.8.8\n");
  CIPList list;
  EXPECT_EQ(list.Add("9.0.0.1"), 0);
  EXPECT_EQ(list.Add("10.0.0.2"), 0);
  EXPECT_EQ(list.Add("0.0.0.0"), -1);
  EXPECT_EQ(list.Add("9.0.0.1"), -1);
  ASSERT_TRUE(list.Save(path));
  CIPList back;
  back.Load(path);
  EXPECT_EQ(back.Entries().Items(), (std::vector<std::string>{"10.0.0.2", "9.0.0.1"}));
  const std::string text = Read(path);
  EXPECT_EQ(text.find("7.7.7.7"), std::string::npos);
  EXPECT_EQ(text.find("IP4"), std::string::npos);
  EXPECT_NE(text.find("A=1"), std::string::npos);
}

TEST_F(IPListFileTest, SerialPortsAreTheMapsData) {
  EXPECT_TRUE(CSerialCommPorts::List().empty());  // no provider and no key
  platform::CRegStore::SetSerialCommProvider([] {
    return platform::RegStringPairs{{"\\Device\\ttyS0", "COM2"},
                                    {"\\Device\\ttyUSB0", "COM10"},
                                    {"\\Device\\ttyACM0", std::string(300, 'C')},
                                    {"\\Device\\ttyS1", "COM1"}};
  });
  EXPECT_EQ(CSerialCommPorts::List(), (std::vector<std::string>{"COM2", "COM10", "COM1"}));
}

}  // namespace
}  // namespace corvane::comm
