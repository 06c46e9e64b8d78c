// What a start asks for, from argv alone.
#include "app/CStartRequest.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Kind = StartRequest::Kind;

TEST(StartRequest, ClassifiesTheArguments) {
  struct Row {
    std::vector<std::string> args;  // after the program
    Kind kind;
    std::string path;
  };
  const Row rows[] = {
      {{}, Kind::Start, ""},
      {{"1028"}, Kind::Start, ""},
      {{"1033 0 1 192.168.1.5 00060000FF000003"}, Kind::Start, ""},  // a link preset
      {{"--version"}, Kind::Print, ""},
      {{"--help"}, Kind::Print, ""},
      {{"--version", "1028"}, Kind::Start, ""},  // only as the sole argument
      {{"1028", "--help"}, Kind::Start, ""},
      {{"--versions"}, Kind::Start, ""},
      {{"-h"}, Kind::Start, ""},
      {{"/home/ann/Plant A/line 1.cvn"}, Kind::OpenProject, "/home/ann/Plant A/line 1.cvn"},
      {{"plant.CVN"}, Kind::OpenProject, "plant.CVN"},
      {{"./plant"}, Kind::OpenProject, "./plant"},
      {{".cvn"}, Kind::Start, ""},  // no name in front of the extension
      {{"plant.cvnx"}, Kind::Start, ""},
      {{"/a.cvn", "/b.cvn"}, Kind::Start, ""},  // two arguments: the calling programs' form
  };
  for (const Row& row : rows) {
    std::vector<std::string> argv{"/usr/lib/corvane/corvane"};
    argv.insert(argv.end(), row.args.begin(), row.args.end());
    const StartRequest request = CStartRequest::Classify(argv);
    SCOPED_TRACE(row.args.empty() ? std::string("(none)") : row.args.front());
    EXPECT_EQ(request.kind, row.kind);
    EXPECT_EQ(request.path, row.path);
  }
  EXPECT_EQ(CStartRequest::Classify({"corvane", "--version"}).text, "Corvane 1.23\n");
  EXPECT_EQ(CStartRequest::Classify({"corvane", "--help"}).text.rfind("Usage: corvane", 0), 0u);
  EXPECT_EQ(CStartRequest::Classify({}).kind, Kind::Start);
}

}  // namespace
}  // namespace corvane
