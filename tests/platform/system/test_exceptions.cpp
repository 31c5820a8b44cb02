#include <gtest/gtest.h>

#include "platform/system/Exceptions.h"

TEST(Exceptions, CarryMessageAndClassThroughTheTree) {
  try {
    throw EFOpenError("Cannot open file \"x\"");
  } catch (const EStreamError& E) {
    EXPECT_EQ(E.GetMessage(), "Cannot open file \"x\"");
    EXPECT_STREQ(E.ClassName(), "EFOpenError");
  }
  EXPECT_THROW(Abort(), EAbort);
}
