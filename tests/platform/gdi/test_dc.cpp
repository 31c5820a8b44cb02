#include <gtest/gtest.h>

#include "platform/gdi/DcInternals.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Regions.h"

TEST(DeviceContext, MemoryDcDefaults) {
  HDC DC = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BITMAP), StockBitmap());
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(GetBkMode(DC), OPAQUE);
  EXPECT_EQ(GetBkColor(DC), 0xFFFFFFu);
  EXPECT_EQ(GetTextColor(DC), 0u);
  EXPECT_EQ(GetROP2(DC), R2_COPYPEN);
  EXPECT_EQ(GetPolyFillMode(DC), ALTERNATE);
  EXPECT_EQ(GetMapMode(DC), MM_TEXT);
  EXPECT_EQ(SetMapMode(DC, 2), 0);
  EXPECT_EQ(GetDeviceCaps(DC, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(DC, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(DC, RASTERCAPS) & RC_PALETTE, 0);
  EXPECT_EQ(GetDeviceCaps(DC, NUMCOLORS), -1);
  EXPECT_EQ(GetDeviceCaps(DC, HORZRES), 1920);
  EXPECT_EQ(SetROP2(DC, 17), 0);
  EXPECT_EQ(SetBkMode(DC, 3), 0);
  DeleteDC(DC);
}

TEST(DeviceContext, SaveAndRestoreAreAStack) {
  HDC DC = CreateCompatibleDC(nullptr);
  HPEN Pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  EXPECT_EQ(SaveDC(DC), 1);
  SelectObject(DC, Pen);
  SetROP2(DC, R2_XORPEN);
  SetWindowOrgEx(DC, 5, 6, nullptr);
  EXPECT_EQ(SaveDC(DC), 2);
  SetBkColor(DC, RGB(9, 9, 9));
  IntersectClipRect(DC, 0, 0, 1, 1);
  EXPECT_EQ(SaveDC(DC), 3);
  SetTextColor(DC, RGB(7, 7, 7));
  EXPECT_TRUE(RestoreDC(DC, -1));  // back to save 3
  EXPECT_EQ(GetTextColor(DC), 0u);
  EXPECT_EQ(GetBkColor(DC), RGB(9, 9, 9));
  EXPECT_TRUE(RestoreDC(DC, 2));
  EXPECT_EQ(GetBkColor(DC), 0xFFFFFFu);
  EXPECT_EQ(GetROP2(DC), R2_XORPEN);
  POINT Org;
  GetWindowOrgEx(DC, &Org);
  EXPECT_EQ(Org, (POINT{5, 6}));
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), Pen);
  EXPECT_FALSE(RestoreDC(DC, 2));  // gone
  EXPECT_FALSE(RestoreDC(DC, 0));
  EXPECT_TRUE(RestoreDC(DC, 1));
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(RestoreDC(DC, -1));
  EXPECT_FALSE(IsObjectSelected(Pen));
  DeleteObject(Pen);
  DeleteDC(DC);
}

TEST(DeviceContext, OriginsAndTransformsMapPoints) {
  HDC DC = CreateCompatibleDC(nullptr);
  SetWindowOrgEx(DC, 10, 20, nullptr);
  SetViewportOrgEx(DC, 1, 2, nullptr);
  OffsetViewportOrgEx(DC, 1, 1, nullptr);
  POINT P[1] = {{10, 20}};
  LPtoDP(DC, P, 1);
  EXPECT_EQ(P[0], (POINT{2, 3}));
  DPtoLP(DC, P, 1);
  EXPECT_EQ(P[0], (POINT{10, 20}));
  XFORM Scale{2, 0, 0, 3, 0, 0};
  EXPECT_FALSE(SetWorldTransform(DC, &Scale));  // needs GM_ADVANCED
  SetGraphicsMode(DC, GM_ADVANCED);
  EXPECT_TRUE(SetWorldTransform(DC, &Scale));
  XFORM Shift{1, 0, 0, 1, 5, 0};
  EXPECT_TRUE(ModifyWorldTransform(DC, &Shift, MWT_RIGHTMULTIPLY));
  P[0] = {10, 20};  // world: (25, 60); device: (25 - 10 + 2, 60 - 20 + 3)
  LPtoDP(DC, P, 1);
  EXPECT_EQ(P[0], (POINT{17, 43}));
  EXPECT_EQ(SetGraphicsMode(DC, GM_COMPATIBLE), 0);  // not with a transform set
  ModifyWorldTransform(DC, nullptr, MWT_IDENTITY);
  EXPECT_EQ(SetGraphicsMode(DC, GM_COMPATIBLE), GM_ADVANCED);
  DeleteDC(DC);
}

TEST(DeviceContext, ClipCombinesSurfaceVisibleAndClipRegions) {
  TSurface Screen;
  std::vector<Byte> Pixels(100 * 4 * 50);
  Screen.Width = 100;
  Screen.Height = 50;
  Screen.Stride = 400;
  Screen.Row0 = Pixels.data();
  HDC DC = TDeviceContext::CreateForSurface(&Screen, {10, 5}, TRegionData(TRect{10, 5, 60, 45}));
  POINT Org;
  GetDCOrgEx(DC, &Org);
  EXPECT_EQ(Org, (POINT{10, 5}));
  RECT Box;
  EXPECT_EQ(GetClipBox(DC, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, (RECT{0, 0, 50, 40}));
  EXPECT_EQ(IntersectClipRect(DC, -5, 10, 20, 100), SIMPLEREGION);
  GetClipBox(DC, &Box);
  EXPECT_EQ(Box, (RECT{0, 10, 20, 40}));
  EXPECT_EQ(DC->ClipBox(), (TRect{10, 15, 30, 45}));
  EXPECT_EQ(ExcludeClipRect(DC, 5, 20, 10, 25), COMPLEXREGION);
  EXPECT_FALSE(PtVisible(DC, 6, 21));
  EXPECT_TRUE(PtVisible(DC, 4, 21));
  SetWindowOrgEx(DC, 100, 100, nullptr);  // logical coordinates move, the clip stays
  EXPECT_TRUE(PtVisible(DC, 104, 121));
  HRGN R = CreateRectRgn(0, 0, 3, 3);
  EXPECT_EQ(SelectClipRgn(DC, R), SIMPLEREGION);
  GetClipBox(DC, &Box);
  EXPECT_EQ(Box, (RECT{100, 100, 103, 103}));
  EXPECT_EQ(SelectClipRgn(DC, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(DC, R), 0);
  DeleteObject(R);
  DeleteDC(DC);
}
