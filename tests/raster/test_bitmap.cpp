// TBitmap32: size, events, fills, clipping, measuring, pixel reads, the "Data" block and
// the unit-level rectangle and colour functions.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/SysColors.h"
#include "platform/system/Streams.h"
#include "raster/RS32.h"
#include "raster/RS32_Blend.h"
#include "raster/RS32_Resamplers.h"
#include "tests/raster/RasterTestSupport.h"

namespace {
// Records the events of a bitmap as short texts.
class TEventLog : public TObject {
 public:
  explicit TEventLog(TBitmap32* B) : FBitmap(B) {
    B->OnChange = TNotifyEvent(this, &TEventLog::Change);
    B->OnResize = TNotifyEvent(this, &TEventLog::Resize);
    B->OnHandleChanged = TNotifyEvent(this, &TEventLog::Handle);
    B->OnAreaChanged = TAreaChangedEvent(this, &TEventLog::Area);
  }
  // The bitmap outlives the log: it fires events while it is destroyed.
  ~TEventLog() override {
    FBitmap->OnChange.Clear();
    FBitmap->OnResize.Clear();
    FBitmap->OnHandleChanged.Clear();
    FBitmap->OnAreaChanged.Clear();
  }
  void Change(TObject*) { Log.push_back("change"); }
  void Resize(TObject*) { Log.push_back("resize"); }
  void Handle(TObject*) { Log.push_back("handle"); }
  void Area(TObject*, const TRect& R, Cardinal Info) {
    Log.push_back("area " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
                  std::to_string(R.Right) + "," + std::to_string(R.Bottom) +
                  (Info == AreaInfoRect ? "" : " ?"));
  }
  std::vector<std::string> Log;

 private:
  TBitmap32* FBitmap;
};

using TLog = std::vector<std::string>;

void Fill(TBitmap32& B, TColor32 (*Fn)(Integer X, Integer Y)) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y)
    for (Integer X = 0; X < B.GetWidth(); ++X) *B.PixelAddress(X, Y) = Fn(X, Y);
}
}  // namespace

TEST(RasterBitmap, StartsEmptyWithDefaults) {
  TBitmap32 B;
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.GetPixels(), nullptr);
  EXPECT_EQ(B.GetDrawMode(), dmOpaque);
  EXPECT_EQ(B.GetCombineMode(), cmBlend);
  EXPECT_EQ(B.GetWrapMode(), wmClamp);
  EXPECT_EQ(B.GetMasterAlpha(), 255u);
  EXPECT_EQ(B.GetOuterColor(), 0u);
  EXPECT_EQ(B.GetClipRect(), TRect());
  EXPECT_EQ(B.GetResamplerClassName(), "TNearestResampler");
  EXPECT_EQ(B.GetSurfaceInfo().bmiHeader.biBitCount, 32);
}

TEST(RasterBitmap, SetSizeEventsAndStorage) {
  TBitmap32 B;
  TEventLog Events(&B);
  EXPECT_TRUE(B.SetSize(3, 2));
  EXPECT_EQ(Events.Log, (TLog{"handle", "area 0,0,3,2", "change", "resize"}));
  EXPECT_EQ(B.GetSurfaceInfo().bmiHeader.biWidth, 3);
  EXPECT_EQ(B.GetSurfaceInfo().bmiHeader.biHeight, -2);
  ASSERT_NE(B.GetPixels(), nullptr);
  for (Integer I = 0; I < 6; ++I) EXPECT_EQ(B.GetPixels()[I], 0u);
  EXPECT_EQ(B.GetClipRect(), MakeRect(0, 0, 3, 2));
  EXPECT_FALSE(B.GetClipping());

  B.GetPixels()[4] = 0x12345678;
  Events.Log.clear();
  EXPECT_FALSE(B.SetSize(3, 2));
  EXPECT_TRUE(Events.Log.empty());
  EXPECT_EQ(*B.PixelAddress(1, 1), 0x12345678u);

  B.SetSize(10, 0);
  EXPECT_EQ(B.GetWidth(), 10);
  EXPECT_EQ(B.GetHeight(), 0);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.GetPixels(), nullptr);
  B.SetSize(-5, 3);
  EXPECT_EQ(B.GetWidth(), 0);
  EXPECT_EQ(B.GetHeight(), 3);
}

TEST(RasterBitmap, AssignNilAndBitmap32) {
  TBitmap32 A;
  A.SetSize(2, 2);
  *A.PixelAddress(1, 0) = 0xFF00FF00;
  A.SetDrawMode(dmBlend);
  A.SetMasterAlpha(99);
  A.SetOuterColor(0x11);
  A.SetResamplerClassName("TKernelResampler");
  static_cast<TKernelResampler*>(A.GetResampler())->SetTableSize(7);

  TBitmap32 B;
  TEventLog Events(&B);
  B.Assign(&A);
  EXPECT_EQ(B.GetWidth(), 2);
  EXPECT_EQ(*B.PixelAddress(1, 0), 0xFF00FF00u);
  EXPECT_EQ(B.GetDrawMode(), dmBlend);
  EXPECT_EQ(B.GetMasterAlpha(), 99u);
  EXPECT_EQ(B.GetOuterColor(), 0x11u);
  ASSERT_EQ(B.GetResamplerClassName(), "TKernelResampler");
  EXPECT_EQ(static_cast<TKernelResampler*>(B.GetResampler())->GetTableSize(), 7);
  EXPECT_EQ(Events.Log.back(), "change");

  Events.Log.clear();
  B.Assign(nullptr);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(Events.Log, (TLog{"handle", "resize", "area 0,0,0,0", "change"}));
}

TEST(RasterBitmap, ClearRespectsClipAndReportsTwice) {
  TBitmap32 B;
  B.Clear(0xFFFFFFFF);  // empty: nothing at all
  B.SetSize(4, 3);
  TEventLog Events(&B);
  B.SetClipRect(MakeRect(1, 1, 3, 9));
  EXPECT_TRUE(B.GetClipping());
  EXPECT_EQ(B.GetClipRect(), MakeRect(1, 1, 3, 3));
  EXPECT_EQ(B.GetClipRect256(), MakeRect(256, 256, 768, 768));
  EXPECT_EQ(B.GetClipRectFixed().Right, 3 << 16);
  B.Clear(0xFF0000FF);
  EXPECT_EQ(Events.Log, (TLog{"area 1,1,3,3", "change", "area 0,0,4,3", "change"}));
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X)
      EXPECT_EQ(B.Pixel(X, Y), (X >= 1 && X < 3 && Y >= 1) ? 0xFF0000FFu : 0u) << X << "," << Y;
}

TEST(RasterBitmap, FillRectClippedReportsEvenWhenInvisible) {
  TBitmap32 B;
  B.SetSize(4, 4);
  B.SetClipRect(MakeRect(0, 0, 2, 2));
  TEventLog Events(&B);
  B.FillRectClipped(3, 3, 9, 9, 0xFFFFFFFF);
  EXPECT_EQ(Events.Log, (TLog{"area 3,3,9,9", "change"}));
  EXPECT_EQ(B.Pixel(3, 3), 0u);
  Events.Log.clear();
  B.FillRectClipped(-1, 1, 5, 5, 0xFFFFFFFF);
  EXPECT_EQ(Events.Log, (TLog{"area 0,1,2,2", "change", "area 0,1,2,2", "change"}));
  EXPECT_EQ(B.Pixel(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(B.Pixel(2, 1), 0u);
}

TEST(RasterBitmap, UpdateNestingAndUnpairedEndUpdate) {
  TBitmap32 B;
  TEventLog Events(&B);
  B.BeginUpdate();
  B.SetSize(2, 2);
  B.SetDrawMode(dmBlend);
  EXPECT_EQ(Events.Log, (TLog{"handle", "resize"}));
  B.EndUpdate();
  try {
    B.EndUpdate();
    FAIL();
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(E.GetMessage(), "Unpaired TThreadPersistent.EndUpdate (RS32.pas, line 1526)");
  }
  EXPECT_EQ(B.GetUpdateDepth(), 0);
}

TEST(RasterBitmap, MeasuringChangesNoPixelButReportsAreas) {
  TBitmap32 B;
  B.SetSize(2, 2);
  TEventLog Outer(&B);
  TEventLog Measure(&B);  // rebinds every event; keep only the measuring callback
  B.OnChange = TNotifyEvent(&Outer, &TEventLog::Change);
  B.OnAreaChanged = TAreaChangedEvent(&Outer, &TEventLog::Area);
  B.BeginUpdate();
  B.EnterMeasuringMode(TAreaChangedEvent(&Measure, &TEventLog::Area));
  Measure.Log.clear();
  B.Clear(0xFFFFFFFF);
  B.SetAlphaChannel(7);
  B.FillRectClipped(0, 0, 1, 1, 0xFFFFFFFF);
  EXPECT_EQ(B.Pixel(0, 0), 0u);
  EXPECT_EQ(Measure.Log, (TLog{"area 0,0,2,2", "area 0,0,2,2", "area 0,0,1,1"}));
  B.LeaveMeasuringMode();
  B.EndUpdate();
  EXPECT_TRUE(Outer.Log.empty());  // OnChange never fires while measuring
  B.Clear(0xFF000000);
  EXPECT_EQ(Outer.Log, (TLog{"area 0,0,2,2", "change"}));
}

TEST(RasterBitmap, SetAlphaChannelKeepsColours) {
  TBitmap32 B;
  B.SetSize(5, 5);
  B.Clear(0x12345678);
  B.SetAlphaChannel();
  EXPECT_EQ(B.Pixel(4, 4), 0xFF345678u);
  B.SetAlphaChannel(0);
  EXPECT_EQ(B.Pixel(0, 0), 0x00345678u);
}

TEST(RasterBitmap, ResamplerByClassName) {
  TBitmap32 B;
  TEventLog Events(&B);
  TCustomResampler* First = B.GetResampler();
  B.SetResamplerClassName("TNearestResampler");
  B.SetResamplerClassName("TNoSuchResampler");
  B.SetResamplerClassName("");
  EXPECT_EQ(B.GetResampler(), First);
  EXPECT_TRUE(Events.Log.empty());
  B.SetResamplerClassName("TDraftResampler");
  EXPECT_EQ(B.GetResamplerClassName(), "TDraftResampler");
  EXPECT_EQ(Events.Log, (TLog{"area 0,0,0,0", "change"}));
  B.SetResampler(nullptr);
  EXPECT_EQ(B.GetResamplerClassName(), "TDraftResampler");
}

TEST(RasterBitmap, LockIsReentrantAndCounted) {
  TBitmap32 B;
  B.Lock();
  B.Lock();
  EXPECT_EQ(B.GetLockDepth(), 2);
  bool Entered = true;
  std::thread Other([&] {
    Entered = TryEnterCriticalSection(B.GetLockSection()) != 0;
    if (Entered) LeaveCriticalSection(B.GetLockSection());
  });
  Other.join();
  EXPECT_FALSE(Entered);
  B.Unlock();
  B.Unlock();
  EXPECT_EQ(B.GetLockDepth(), 0);
}

TEST(RasterBitmap, DataBlockRoundTrip) {
  TBitmap32 A;
  A.SetSize(3, 2);
  Fill(A, [](Integer X, Integer Y) -> TColor32 { return 0x80000000u | (X << 8) | Y; });
  TMemoryStream S;
  A.WriteData(&S);
  EXPECT_EQ(S.GetSize(), 8 + 3 * 2 * 4);
  const Byte* Bytes = static_cast<const Byte*>(S.GetMemory());
  EXPECT_EQ(Bytes[0], 3);
  EXPECT_EQ(Bytes[4], 2);
  EXPECT_EQ(Bytes[8 + 4 * 2 + 1], 2);  // pixel (2, 0): green byte second
  EXPECT_EQ(Bytes[8 + 3], 0x80);

  TBitmap32 B;
  S.SetPosition(0);
  B.ReadData(&S);
  EXPECT_TRUE(B.SameContent(&A));
  EXPECT_FALSE(B.DataIsStored(&A));
  EXPECT_TRUE(B.DataIsStored(nullptr));
  TBitmap32 Empty;
  EXPECT_FALSE(Empty.DataIsStored(nullptr));
  EXPECT_TRUE(Empty.SameContent(&Empty));
}

// A block whose size promises more pixels than follow is refused before anything is
// allocated, and the bitmap keeps what it had.
TEST(RasterBitmap, DataBlockDoesNotTrustItsSize) {
  const Integer Headers[][2] = {{3, 2}, {-1, 5}, {65536, 65536}, {2147483647, 2147483647}};
  for (const auto& H : Headers) {
    TBitmap32 B;
    B.SetSize(1, 1);
    *B.PixelAddress(0, 0) = 0xCAFEBABE;
    TEventLog Events(&B);
    TMemoryStream S;
    S.WriteBuffer(H, 8);
    const TColor32 OnePixel = 0;
    S.WriteBuffer(&OnePixel, 4);
    S.SetPosition(0);
    EXPECT_THROW(B.ReadData(&S), EReadError) << H[0] << "x" << H[1];
    EXPECT_EQ(B.GetWidth(), 1);
    EXPECT_EQ(*B.PixelAddress(0, 0), 0xCAFEBABEu);
    EXPECT_EQ(Events.Log.back(), "change");  // Changed runs also when the read fails
  }
}

TEST(RasterPixelRead, ClippedAndWrapped) {
  TBitmap32 B;
  B.SetSize(3, 2);
  Fill(B, [](Integer X, Integer Y) -> TColor32 { return 0xFF000000u | (Y * 3 + X); });
  B.SetOuterColor(0x77);
  B.SetClipRect(MakeRect(0, 0, 2, 2));
  EXPECT_EQ(B.PixelClipped(1, 1), 0xFF000004u);
  EXPECT_EQ(B.PixelClipped(2, 1), 0x77u);  // the clip's right edge is outside
  EXPECT_EQ(B.PixelClipped(-1, 0), 0x77u);
  B.SetWrapMode(wmRepeat);
  EXPECT_EQ(B.WrappedPixel(2, 3), 0xFF000003u);
  B.SetWrapMode(wmMirror);
  EXPECT_EQ(B.WrappedPixel(-1, 2), 0xFF000003u);
  B.SetWrapMode(wmClamp);
  EXPECT_EQ(B.WrappedPixel(9, -9), 0xFF000001u);
}

// With an empty clip rectangle there is nothing to wrap into: the reads give OuterColor
// instead of dividing by zero or reading outside.
TEST(RasterPixelRead, WrappedReadsOfAnEmptyClip) {
  TBitmap32 B;
  B.SetSize(2, 2);
  B.SetOuterColor(0x55);
  B.SetClipRect(MakeRect(5, 5, 9, 9));
  EXPECT_EQ(B.GetClipRect(), TRect());
  for (TWrapMode Mode : {wmClamp, wmRepeat, wmMirror}) {
    B.SetWrapMode(Mode);
    EXPECT_EQ(B.WrappedPixel(1, 1), 0x55u);
    EXPECT_EQ(B.WrappedInterpolatedPixel(0x8000, 0x8000), 0x55u);
  }
  EXPECT_EQ(B.InterpolatedPixel256Clipped(0, 0), 0x55u);
}

TEST(RasterPixelRead, Interpolated) {
  TBitmap32 B;
  B.SetSize(2, 2);
  *B.PixelAddress(0, 0) = 0xFF000000;
  *B.PixelAddress(1, 0) = 0xFFFFFFFF;
  *B.PixelAddress(0, 1) = 0xFF000000;
  *B.PixelAddress(1, 1) = 0xFFFFFFFF;
  B.SetOuterColor(0x01);
  // Halfway: the left pixel weighs GammaTable[127].
  const TColor32 Half = B.InterpolatedPixel256(128, 0);
  const TColor32 W = GammaTable[127];
  const TColor32 Top = MixColorsPlain(0xFF000000, 0xFFFFFFFF, W);
  EXPECT_EQ(Half, MixColorsPlain(Top, Top, GammaTable[255]));
  EXPECT_EQ(B.InterpolatedPixelFixed(0x8000, 0), B.InterpolatedPixel256(128, 0));
  EXPECT_EQ(B.InterpolatedPixel256Clipped(256, 100), 0xFFFFFFFFu);  // on the right column
  EXPECT_EQ(B.InterpolatedPixel256Clipped(100, 256), B.Pixel(0, 1));
  EXPECT_EQ(B.InterpolatedPixel256Clipped(257, 0), 0x01u);
  EXPECT_EQ(B.InterpolatedPixel256Clipped(-1, 0), 0x01u);
  B.SetWrapMode(wmRepeat);
  // Between the last column and the first again.
  const TColor32 Wrapped = B.WrappedInterpolatedPixel(0x18000, 0);
  EXPECT_EQ(Wrapped,
            MixColors(MixColors(0xFF000000, 0xFFFFFFFF, 0x80), MixColors(0xFF000000, 0xFFFFFFFF, 0x80), 0));
}

TEST(RasterBilinearMix, PlainAndWideForms) {
  const TColor32 P1[2] = {0xFF102030, 0x80F0E0D0};
  const TColor32 P2[2] = {0x00000000, 0xFFFFFFFF};
  for (TColor32 WX : {0u, 1u, 128u, 255u})
    for (TColor32 WY : {0u, 77u, 255u}) {
      EXPECT_EQ(BilinearMixPlain(WX, WY, P1, P2),
                MixColorsPlain(MixColorsPlain(P1[0], P1[1], WX), MixColorsPlain(P2[0], P2[1], WX), WY));
      TColor32 Expected = 0;
      for (int S = 0; S < 32; S += 8) {
        const int A = (P1[0] >> S) & 255, Bv = (P1[1] >> S) & 255, C = (P2[0] >> S) & 255,
                  D = (P2[1] >> S) & 255;
        const int T = ((A - Bv) * int(WX) + Bv * 256) >> 8, U = ((C - D) * int(WX) + D * 256) >> 8;
        Expected |= TColor32(((T - U) * int(WY) + U * 256) >> 8) << S;
      }
      EXPECT_EQ(BilinearMixMmx(WX, WY, P1, P2), Expected);
    }
  EXPECT_EQ(BilinearMixPlain(300, 300, P1, P2), BilinearMixPlain(255, 255, P1, P2));
  TCpuFeaturesScope Scope(CpuFeatureBit(ci3DNow));
  EXPECT_EQ(BilinearMix, &BilinearMixMmx);
}

TEST(RasterUnitFunctions, GammaTable) {
  const std::pair<int, int> Expected[] = {{0, 0},   {1, 5},     {2, 9},     {3, 11},    {4, 14},
                                          {64, 97}, {128, 157}, {192, 209}, {254, 254}, {255, 255}};
  for (auto [I, V] : Expected) EXPECT_EQ(GammaTable[I], V) << I;
}

TEST(RasterUnitFunctions, ColourAndFixedConversions) {
  EXPECT_EQ(Color32FromColor(0x00332211), 0xFF112233u);
  const DWORD Face = GetSysColor(15);
  EXPECT_EQ(Color32FromColor(static_cast<Integer>(0x80000000u | 15)),
            Color32FromColor(static_cast<Integer>(Face)));
  EXPECT_EQ(FixedFromFloat(1.5), 0x18000);
  EXPECT_EQ(FixedFromFloat(-0.5 / 65536), 0);  // half to even
  EXPECT_EQ(FixedFromInt(-1), -65536);
  // No 16.16 form beyond +-32767: the conversions saturate instead of wrapping around.
  EXPECT_EQ(FixedFromFloat(40000.0), 2147483647);
  EXPECT_EQ(FixedFromFloat(-40000.0), -2147483647 - 1);
  EXPECT_EQ(FixedFromInt(40000), 2147483647);
  EXPECT_EQ(FixedRectFromRect(MakeRect(1, 2, 3, 4)), MakeFixedRect(0x10000, 0x20000, 0x30000, 0x40000));
}

TEST(RasterUnitFunctions, Rectangles) {
  const TRectFloat F = {0.5f, 1.5f, 2.5f, 3.2f};
  EXPECT_EQ(MakeRectFromFloat(F, erNearest), MakeRect(0, 2, 2, 3));
  EXPECT_EQ(MakeRectFromFloat(F, erOuter), MakeRect(0, 1, 3, 4));
  EXPECT_EQ(MakeRectFromFloat(F, erInner), MakeRect(1, 2, 2, 3));
  EXPECT_EQ(MakeRectFromFloat({2.5f, 0, 2.2f, 0}, erInner), MakeRect(3, 0, 3, 0));
  const TRectFixed X = {0x8000, 0x18000, 0x28001, 0x30000};
  EXPECT_EQ(MakeRectFromFixed(X, erNearest), MakeRect(0, 1, 3, 3));
  EXPECT_EQ(MakeRectFromFixed(X, erOuter), MakeRect(0, 1, 3, 3));
  EXPECT_EQ(MakeRectFromFixed(X, erInner), MakeRect(1, 2, 2, 3));
  TRect R;
  EXPECT_TRUE(RectIntersect(R, MakeRect(0, 0, 2, 2), MakeRect(2, 0, 4, 2)));  // zero width counts
  EXPECT_EQ(R, MakeRect(2, 0, 2, 2));
  EXPECT_FALSE(RectIntersect(R, MakeRect(0, 0, 2, 2), MakeRect(3, 0, 4, 2)));
  EXPECT_EQ(R, TRect());
  EXPECT_TRUE(RectIsEmpty(MakeRect(2, 0, 2, 2)));
  EXPECT_TRUE(RectContainsPoint(MakeRect(0, 0, 2, 2), Point(1, 1)));
  EXPECT_FALSE(RectContainsPoint(MakeRect(0, 0, 2, 2), Point(2, 1)));
  R = MakeRect(1, 1, 2, 2);
  RectInflate(R, 1, 2);
  RectOffset(R, 10, 20);
  EXPECT_EQ(R, MakeRect(10, 19, 13, 24));
}

TEST(RasterBitmap, DrawOntoDCCopiesThePixels) {
  TBitmap32 B;
  B.SetSize(2, 2);
  *B.PixelAddress(1, 0) = 0xFF112233;
  *B.PixelAddress(0, 1) = 0xFF445566;
  TBitmap32 Target;  // its surface DC is a memory DC with a 32-bit top-down section
  Target.SetSize(4, 4);
  B.DrawOntoDC(Target.GetSurfaceDC(), 1, 1);
  EXPECT_EQ(Target.Pixel(2, 1) & 0x00FFFFFF, 0x112233u);
  EXPECT_EQ(Target.Pixel(1, 2) & 0x00FFFFFF, 0x445566u);
  EXPECT_EQ(Target.Pixel(0, 0), 0u);
  TBitmap32 Empty;
  Empty.DrawOntoDC(Target.GetSurfaceDC(), 0, 0);
}
