// The application starts with the program's icon.
#include <gtest/gtest.h>

#include "platform/classes/Application.h"
#include "platform/classes/Icon.h"
#include "platform/gdi/Dib.h"
#include "platform/system/Resources.h"
#include "platform/user/Cursors.h"

namespace {

TEST(TApplicationIcon, IsACopyOfTheProgramIcon) {
  TIcon* Icon = Application->GetIcon();
  ASSERT_TRUE(Icon->HandleAllocated());
  HICON Program = LoadIcon(HInstance, "MAINICON");
  ASSERT_NE(Program, nullptr);
  EXPECT_NE(Icon->GetHandle(), Program) << "the application owns its copy";
  EXPECT_EQ(Icon->GetWidth(), 32);
  for (Integer Y = 0; Y < 32; Y += 5)
    for (Integer X = 0; X < 32; X += 5)
      EXPECT_EQ(GetRawPixel(Icon->GetHandle()->Color->Surface, X, Y),
                GetRawPixel(Program->Color->Surface, X, Y));
}

}  // namespace
