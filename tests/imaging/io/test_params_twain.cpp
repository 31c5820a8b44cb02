#include <gtest/gtest.h>

#include <memory>

#include "imaging/io/ieprintpreviewparams.h"
#include "imaging/io/ietwainparams.h"

namespace {

void ExpectTWainDefaults(const TIETWainParams& P) {
  EXPECT_TRUE(P.VisibleDialog);
  EXPECT_FALSE(P.ShowSettingsOnly);
  EXPECT_EQ(P.SelectedSource, 0);
  EXPECT_EQ(P.Gamma, 2.2);
  EXPECT_EQ(P.AcquireFrame, (std::array<Single, 4>{}));
  EXPECT_TRUE(P.AutoFeed);
  EXPECT_TRUE(P.ProgressIndicator);
  EXPECT_TRUE(P.AutoBrightness);
  EXPECT_FALSE(P.AutoDeskew);
  EXPECT_EQ(P.TransferCount, -2);
  EXPECT_EQ(P.PhysicalWidth, -1);
  EXPECT_EQ(P.PhysicalHeight, -1);
  EXPECT_TRUE(P.ProductName.empty());
  EXPECT_EQ(P.Language, 0xFFFF);
  EXPECT_EQ(P.Country, 1);
  EXPECT_EQ(P.LastError, 0);
  EXPECT_TRUE(P.CapabilityBlocks.empty());
  EXPECT_EQ(P.XResolution.GetCount(), 0);
  EXPECT_EQ(P.PixelType.GetCount(), 0);
  EXPECT_EQ(P.StandardSize.GetCount(), 0);
  EXPECT_EQ(P.Rotation.GetCount(), 0);
}

}  // namespace

TEST(TWainParams, StartAndResetWithTheDefaults) {
  TIETWainParams P(nullptr);
  ExpectTWainDefaults(P);

  P.VisibleDialog = false;
  P.Gamma = 1.0;
  P.AcquireFrame = {1, 2, 3, 4};
  P.TransferCount = 3;
  P.Language = 2;
  P.ProductName = "flatbed";
  P.CapabilityBlocks.push_back(std::make_unique<Byte[]>(16));
  const Double Resolution = 300, Angle = 90;
  const Integer Type = 2;
  P.XResolution.AddItem(&Resolution);
  P.PixelType.AddItem(&Type);
  P.StandardSize.AddItem(&Type);
  P.Rotation.AddItem(&Angle);
  P.Data.WriteBuffer("abc", 3);
  P.SetDefaultParams();
  ExpectTWainDefaults(P);
  EXPECT_EQ(P.Data.GetSize(), 0);
}

TEST(PrintPreviewParams, StartValues) {
  TIOPrintPreviewParams P;
  EXPECT_EQ(P.MarginLeft, 1.0);
  EXPECT_EQ(P.MarginBottom, 1.0);
  EXPECT_EQ(P.Position, 4);
  EXPECT_EQ(P.Size, 1);
  EXPECT_EQ(P.Width, -1.0);
  EXPECT_EQ(P.Height, -1.0);
  EXPECT_EQ(P.Gamma, 1.0);
}
