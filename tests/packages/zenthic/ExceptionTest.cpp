#include <gtest/gtest.h>

#include <string>

#include "packages/zenthic/ZTException.h"

namespace qx::test {
namespace {

TEST(EZTException, ReportedErrorsCarryTheCodeInDecimalAndHexadecimalAndRaiseUnlessHandled) {
  EXPECT_STREQ(EZTException("plain").what(), "plain");
  int calls = 0;
  const TZTErrorEvent leaveUnhandled = [&](TPersistent*, const std::string& message,
                                           std::uint32_t code, bool& handled) {
    EXPECT_FALSE(handled);
    EXPECT_EQ(message, "Can't start capture.");
    EXPECT_EQ(code, 0x80004005u);
    ++calls;
  };
  try {
    ZTReportError(leaveUnhandled, nullptr, "Can't start capture.", 0x80004005u);
    ADD_FAILURE() << "an unhandled error must raise";
  } catch (const EZTException& error) {
    EXPECT_STREQ(error.what(), "Can't start capture. - 2147500037 - 80004005");
    EXPECT_EQ(error.GetCode(), 0x80004005u);
  }
  EXPECT_EQ(calls, 1);
  const TZTErrorEvent handle = [](TPersistent*, const std::string&, std::uint32_t, bool& handled) {
    handled = true;
  };
  EXPECT_NO_THROW(ZTReportError(handle, nullptr, "failed", 1));
}

}  // namespace
}  // namespace qx::test
