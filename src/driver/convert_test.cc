#include "driver/convert.h"

#include <gtest/gtest.h>

namespace {

TEST(Convert, EmptyArgumentVectorShowsTheProgramsOwnName) {
  const char* argv[] = {nullptr};
  testing::internal::CaptureStderr();
  const std::int32_t status = convert(0, argv);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, status_usage);
  EXPECT_NE(err.find("\nSyntax: ldif2kestrune exported_Netscape_address_book "
                     "first_nickname\n"),
            std::string::npos);
}

}  // namespace
