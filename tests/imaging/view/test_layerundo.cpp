#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "imaging/view/zezudidviewlayer.h"
#include "tests/imaging/view/LayerTestSupport.h"

namespace {

Integer LE32At(const std::vector<Byte>& B, size_t Offset) {
  return static_cast<Integer>(B[Offset] | B[Offset + 1] << 8 | B[Offset + 2] << 16 |
                              static_cast<Cardinal>(B[Offset + 3]) << 24);
}

double DoubleAt(const std::vector<Byte>& B, size_t Offset) {
  UInt64 Bits = 0;
  for (int I = 7; I >= 0; --I) Bits = Bits << 8 | B[Offset + I];
  double Value;
  std::memcpy(&Value, &Bits, 8);
  return Value;
}

// A layer with every stored field away from its default.
void Decorate(TIELayer& L) {
  L.Width = 40;
  L.Height = 30;
  L.Visible = false;
  L.VisibleBox = false;
  L.Selectable = false;
  L.Transparency = 77;
  L.PosX = -5;
  L.PosY = 6;
  L.ScreenRect = TRect{1, 2, 3, 4};
  L.ClipToBackground = true;
  L.Locked = true;
  L.Magnifier = TIEMagnifier{true, 3.5, 1, 0};
  L.BlendOperation = 4;
  L.ResampleFilter = rfBicubic;
  L.UseResampleFilter = true;
  L.Name = "ab";
  L.IsMask = true;
  L.ShadeOutside = true;
  L.SetRotate(12.5);
  L.RotateCenterX = 0.25;
  L.RotateCenterY = 0.75;
}

TEST(LayerUndoRecord, LayoutWithoutBitmapIs123BytesPlusTheName) {
  TIELayer Layer(nullptr, false, nullptr);
  Decorate(Layer);
  TMemoryStream Stream;
  Layer.SaveToStream(&Stream, false);
  const std::vector<Byte> B = StreamBytes(Stream);
  ASSERT_EQ(125u, B.size());
  EXPECT_EQ(125, LE32At(B, 0));
  EXPECT_EQ(0, std::memcmp(&Layer.GUID, B.data() + 4, 16));
  EXPECT_EQ(40, LE32At(B, 20));
  EXPECT_EQ(30, LE32At(B, 24));
  EXPECT_EQ((std::vector<Byte>{0, 0, 0}), std::vector<Byte>(B.begin() + 28, B.begin() + 31));
  EXPECT_EQ(77, LE32At(B, 31));
  EXPECT_EQ(-5, LE32At(B, 35));
  EXPECT_EQ(6, LE32At(B, 39));
  EXPECT_EQ(3, LE32At(B, 51));  // ScreenRect right
  EXPECT_EQ(1, B[59]);
  EXPECT_EQ(1, B[60]);
  EXPECT_EQ(1, B[61]);  // magnifier on, then 7 unused bytes
  EXPECT_EQ(3.5, DoubleAt(B, 69));
  EXPECT_EQ(1, B[77]);
  EXPECT_EQ(0, B[78]);
  EXPECT_EQ(4, B[85]);
  EXPECT_EQ(0, LE32At(B, 86));  // no user data
  EXPECT_EQ(rfBicubic, B[90]);
  EXPECT_EQ(1, B[91]);
  EXPECT_EQ(2, LE32At(B, 92));
  EXPECT_EQ('a', B[96]);
  EXPECT_EQ('b', B[97]);
  EXPECT_EQ(1, B[98]);
  EXPECT_EQ(1, B[99]);
  EXPECT_EQ(12.5, DoubleAt(B, 100));
  EXPECT_EQ(0.25, DoubleAt(B, 108));
  EXPECT_EQ(0.75, DoubleAt(B, 116));
  EXPECT_EQ(0, B[124]);
}

TEST(LayerUndoRecord, ReadingRestoresEveryFieldAndLeavesTheBitmap) {
  TIELayer Source(nullptr, false, nullptr);
  Decorate(Source);
  TMemoryStream Stream;
  Source.SaveToStream(&Stream, false);

  auto Picture = SolidBitmap(2, 2, {5, 5, 5});
  TIELayer Target(nullptr, true, Picture.release());
  Stream.SetPosition(0);
  Target.LoadFromStream(&Stream);
  EXPECT_EQ(Stream.GetSize(), Stream.GetPosition());
  EXPECT_TRUE(IECompareGUID(Source.GUID, Target.GUID));
  EXPECT_EQ(40, Target.Width);
  EXPECT_EQ(30, Target.Height);
  EXPECT_FALSE(Target.Visible);
  EXPECT_FALSE(Target.VisibleBox);
  EXPECT_FALSE(Target.Selectable);
  EXPECT_EQ(77, Target.Transparency);
  EXPECT_EQ(-5, Target.PosX);
  EXPECT_EQ(6, Target.PosY);
  EXPECT_EQ((TRect{1, 2, 3, 4}), Target.ScreenRect);
  EXPECT_TRUE(Target.ClipToBackground);
  EXPECT_TRUE(Target.Locked);
  EXPECT_TRUE(Target.Magnifier.Enabled);
  EXPECT_EQ(3.5, Target.Magnifier.Rate);
  EXPECT_EQ(1, Target.Magnifier.Style);
  EXPECT_EQ(0, Target.Magnifier.Source);
  EXPECT_EQ(4, Target.BlendOperation);
  EXPECT_EQ(rfBicubic, Target.ResampleFilter);
  EXPECT_TRUE(Target.UseResampleFilter);
  EXPECT_EQ("ab", Target.Name);
  EXPECT_TRUE(Target.IsMask);
  EXPECT_TRUE(Target.ShadeOutside);
  EXPECT_EQ(12.5, Target.Rotate);
  EXPECT_EQ(0.25, Target.RotateCenterX);
  EXPECT_EQ(0.75, Target.RotateCenterY);
  EXPECT_EQ(2, Target.Bitmap->GetWidth());
  EXPECT_TRUE(Target.Bitmap->GetPixel24(1, 1) == (TIERGBTriple{5, 5, 5}));
}

TEST(LayerUndoRecord, LengthSkipsToTheNextRecordAndBitmapsComeBack) {
  auto First = PatternBitmap(7, 5);
  auto Second = SolidBitmap(3, 3, {1, 2, 3}, 128);
  TIELayer A(nullptr, true, First.release());
  TIELayer B(nullptr, true, Second.release());
  B.Name = "second";
  TMemoryStream Stream;
  A.SaveToStream(&Stream, true);
  B.SaveToStream(&Stream, true);

  const std::vector<Byte> Bytes = StreamBytes(Stream);
  const Integer FirstLength = LE32At(Bytes, 0);
  ASSERT_GT(FirstLength, 123);
  ASSERT_LT(FirstLength, static_cast<Integer>(Bytes.size()));
  Stream.SetPosition(FirstLength);
  TIELayer Skipped(nullptr, false, nullptr);
  Skipped.LoadFromStream(&Stream);
  EXPECT_EQ("second", Skipped.Name);
  EXPECT_TRUE(IECompareGUID(B.GUID, Skipped.GUID));
  ASSERT_EQ(3, Skipped.Bitmap->GetWidth());
  EXPECT_TRUE(Skipped.Bitmap->GetPixel24(2, 2) == (TIERGBTriple{1, 2, 3}));
  ASSERT_TRUE(Skipped.Bitmap->HasAlphaChannel());
  EXPECT_EQ(128, Skipped.Bitmap->GetAlpha(0, 0));

  Stream.SetPosition(0);
  TIELayer Restored(nullptr, false, nullptr);
  Restored.LoadFromStream(&Stream);
  EXPECT_EQ(FirstLength, Stream.GetPosition());
  EXPECT_TRUE(SamePixels(*A.Bitmap, *Restored.Bitmap));
}

TEST(LayerUndoRecord, ShortRecordLeavesTheUnreadFields) {
  TIELayer Source(nullptr, false, nullptr);
  Decorate(Source);
  TMemoryStream Full;
  Source.SaveToStream(&Full, false);
  // Up to and including VisibleBox (offset 29).
  TMemoryStream Short;
  Short.WriteBuffer(Full.GetMemory(), 30);
  Short.SetPosition(0);
  TIELayer Target(nullptr, false, nullptr);
  Target.LoadFromStream(&Short);
  EXPECT_TRUE(IECompareGUID(Source.GUID, Target.GUID));
  EXPECT_EQ(40, Target.Width);
  EXPECT_FALSE(Target.VisibleBox);
  EXPECT_TRUE(Target.Selectable);
  EXPECT_EQ(255, Target.Transparency);
  EXPECT_EQ("", Target.Name);
}

TEST(LayerUndoRecord, UserDataReferenceComesBackUnlessTheTargetOwnsABlock) {
  static int Block = 0;
  TIELayer Source(nullptr, false, nullptr);
  Source.UserData = &Block;
  TMemoryStream Stream;
  Source.SaveToStream(&Stream, false);

  TIELayer Borrowing(nullptr, false, nullptr);
  Stream.SetPosition(0);
  Borrowing.LoadFromStream(&Stream);
  EXPECT_EQ(&Block, Borrowing.UserData);
  EXPECT_EQ(0, Borrowing.UserDataLen);

  // Taking the reference would make this layer free a block it never owned.
  TIELayer Owning(nullptr, false, nullptr);
  void* Own = std::malloc(4);
  Owning.UserData = Own;
  Owning.UserDataLen = 4;
  Stream.SetPosition(0);
  Owning.LoadFromStream(&Stream);
  EXPECT_EQ(Own, Owning.UserData);
  EXPECT_EQ(4, Owning.UserDataLen);
}

}  // namespace
