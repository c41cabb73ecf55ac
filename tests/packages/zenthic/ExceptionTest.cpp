#include <gtest/gtest.h>

#include <string>

#include "packages/zenthic/ZTException.h"

namespace qx::test {
namespace {

TEST(EZTException, CodedMessagesCarryTheCodeInDecimalAndHexadecimal) {
  const EZTException coded("Can't start capture.", 0x80004005u);
  EXPECT_STREQ(coded.what(), "Can't start capture. - 2147500037 - 80004005");
  EXPECT_EQ(coded.GetCode(), 0x80004005u);
  EXPECT_STREQ(EZTException("Can't open file : a.avi .", 0).what(),
               "Can't open file : a.avi . - 0 - 0");
  EXPECT_STREQ(EZTException("plain").what(), "plain");
}

TEST(EZTException, ReportedErrorsRaiseUnlessHandled) {
  EXPECT_THROW(ZTReportError(nullptr, nullptr, "failed", 1), EZTException);

  int calls = 0;
  bool handledOnEntry = true;
  const TZTErrorEvent leaveUnhandled = [&](TPersistent*, const std::string& message,
                                           std::uint32_t code, bool& handled) {
    ++calls;
    handledOnEntry = handled;
    EXPECT_EQ(message, "failed");
    EXPECT_EQ(code, 255u);
  };
  try {
    ZTReportError(leaveUnhandled, nullptr, "failed", 255);
    ADD_FAILURE() << "an unhandled error must raise";
  } catch (const EZTException& error) {
    EXPECT_STREQ(error.what(), "failed - 255 - ff");
  }
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(handledOnEntry);

  const TZTErrorEvent handle = [](TPersistent*, const std::string&, std::uint32_t, bool& handled) {
    handled = true;
  };
  EXPECT_NO_THROW(ZTReportError(handle, nullptr, "failed", 1));
}

}  // namespace
}  // namespace qx::test
