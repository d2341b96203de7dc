// Names resolved once to the numeric address a connection goes to.
#include "net/name_resolver.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(NameResolverTest, IPv4FirstAndNothingCutShort) {
  const Outcome<std::optional<ResolvedName>> local = ResolveName("localhost");
  ASSERT_TRUE(local.value) << local.failure.detail;
  EXPECT_EQ(local.value->text, "127.0.0.1");
  EXPECT_EQ(local.value->ipv4, 0x7F000001U);

  const Outcome<std::optional<ResolvedName>> v6 = ResolveName("::1");
  ASSERT_TRUE(v6.value) << v6.failure.detail;
  EXPECT_EQ(v6.value->text, "::1");
  EXPECT_FALSE(v6.value->ipv4);

  // The resolver would read only up to the NUL, and find "localhost".
  const Outcome<std::optional<ResolvedName>> cut = ResolveName(std::string("localhost\0x", 11));
  EXPECT_FALSE(cut.value);
  EXPECT_EQ(cut.failure.code, kResultPortOpenError);
  EXPECT_TRUE(cut.failure.detail.starts_with("cannot resolve \"localhost")) << cut.failure.detail;
}

}  // namespace
}  // namespace vantrel
