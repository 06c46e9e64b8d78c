#include "platform/CDynamicLibrary.h"

#include <gtest/gtest.h>

namespace corvane::platform {
namespace {

TEST(DynamicLibrary, LoadsResolvesAndMoves) {
  CDynamicLibrary lib;
  ASSERT_TRUE(lib.Load(TEST_PLUGIN)) << lib.Error();
  auto fn = reinterpret_cast<int (*)()>(lib.Symbol("TestPluginAnswer"));
  ASSERT_NE(fn, nullptr);
  EXPECT_EQ(fn(), 42);
  EXPECT_EQ(lib.Symbol("NoSuchExport"), nullptr);
  CDynamicLibrary moved(std::move(lib));
  EXPECT_FALSE(lib.IsLoaded());
  EXPECT_TRUE(moved.IsLoaded());
}

TEST(DynamicLibrary, MissingFileFailsWithText) {
  CDynamicLibrary lib;
  EXPECT_FALSE(lib.Load("/nonexistent/libnothing.so"));
  EXPECT_FALSE(lib.Error().empty());
  EXPECT_EQ(lib.Symbol("x"), nullptr);
}

}  // namespace
}  // namespace corvane::platform
