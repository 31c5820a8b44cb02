// The text tables: English defaults, padding and the parameter labels.
#include <gtest/gtest.h>

#include "app/Languages.h"

TEST(Languages, DefaultsPaddedOnceAndParameterLabels) {
  SetDefaultInterfaceTexts();
  SetDefaultTexts();
  PadCaptions();
  BuildParamLabels();
  EXPECT_EQ(VariableTexts[1], "Creating grid...");
  EXPECT_EQ(VariableTexts[11], "Creating pinch...");
  EXPECT_EQ(VariableTexts[20], "Resizing...");
  EXPECT_EQ(VariableTexts[10], "Ready");
  EXPECT_EQ(VariableTexts[5], "Cancel");
  EXPECT_EQ(VariableTexts[29], "");
  EXPECT_EQ(InterfaceTexts[4], "Update mosaic");
  EXPECT_EQ(InterfaceTexts[32], " Source picture ");
  EXPECT_EQ(InterfaceTexts[23], " Wire frame only");
  EXPECT_EQ(InterfaceTexts[75], " Kaleidoscope colors");
  EXPECT_EQ(InterfaceTexts[74], "Pinch and blow");
  const struct {
    Integer Type, Slider;
    const char* Label;
  } Labels[] = {
      {0, 0, "Deformation"}, {0, 1, ""},         {1, 4, "Symmetry"}, {3, 2, "Size ratio"}, {4, 1, "Boost"},
      {5, 2, "Shade"},       {6, 3, "Accuracy"}, {7, 5, "Size"},     {8, 0, ""},           {9, 5, ""}};
  for (const auto& L : Labels) EXPECT_EQ(ParamLabels[L.Type][L.Slider], L.Label) << L.Type << " " << L.Slider;
  // Defaults again start from the English texts: the dots are not doubled.
  SetDefaultInterfaceTexts();
  SetDefaultTexts();
  PadCaptions();
  EXPECT_EQ(VariableTexts[1], "Creating grid...");
  EXPECT_EQ(InterfaceTexts[32], " Source picture ");
}
