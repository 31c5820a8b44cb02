// Cursors: the standard shapes, cursors made from planes and from .cur data, the cursor on the
// screen and DefWindowProc's WM_SETCURSOR.
#include "InputTestSupport.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"

namespace {

using TCursorTest = TInputTest;

const LPCSTR Standard[] = {IDC_ARROW, IDC_IBEAM,    IDC_WAIT,        IDC_CROSS,  IDC_UPARROW, IDC_SIZE,
                           IDC_ICON,  IDC_SIZENWSE, IDC_SIZENESW,    IDC_SIZEWE, IDC_SIZENS,  IDC_SIZEALL,
                           IDC_NO,    IDC_HAND,     IDC_APPSTARTING, IDC_HELP};

// The image the back end shows for Cursor.
std::vector<DWORD> Shown(THeadlessDisplay& D, HCURSOR Cursor) {
  SetCursor(Cursor);
  return D.CursorPixels();
}

TPoint HotSpot() {
  return {GetCursor()->XHotspot, GetCursor()->YHotspot};
}

TEST_F(TCursorTest, StandardCursorsAreDrawnAndShared) {
  std::set<HCURSOR> Seen;
  for (LPCSTR Id : Standard) {
    HCURSOR C = LoadCursor(nullptr, Id);
    ASSERT_NE(C, nullptr) << reinterpret_cast<std::uintptr_t>(Id);
    EXPECT_EQ(LoadCursor(nullptr, Id), C);
    Seen.insert(C);
    const std::vector<DWORD> Image = Shown(Display, C);
    ASSERT_EQ(Image.size(), 32u * 32u);
    // Black on a white outline, on transparency: every black pixel's neighbours are black or white.
    std::size_t Black = 0, White = 0;
    for (Integer Y = 0; Y < 32; ++Y)
      for (Integer X = 0; X < 32; ++X) {
        const DWORD P = Image[static_cast<std::size_t>(Y) * 32 + X];
        ASSERT_TRUE(P == 0 || P == 0xFF000000u || P == 0xFFFFFFFFu);
        Black += P == 0xFF000000u;
        White += P == 0xFFFFFFFFu;
        if (P != 0xFF000000u) continue;
        for (Integer Dy = -1; Dy <= 1; ++Dy) {
          for (Integer Dx = -1; Dx <= 1; ++Dx) {
            if (X + Dx >= 0 && X + Dx < 32 && Y + Dy >= 0 && Y + Dy < 32) {
              EXPECT_NE(Image[static_cast<std::size_t>(Y + Dy) * 32 + X + Dx], 0u);
            }
          }
        }
      }
    EXPECT_GT(Black, 8u);
    EXPECT_GT(White, 20u);
  }
  EXPECT_EQ(Seen.size(), std::size(Standard));
  // The arrow's hot spot is its tip.
  const std::vector<DWORD> Arrow = Shown(Display, LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(HotSpot(), (TPoint{1, 1}));
  EXPECT_EQ(Arrow[1 * 32 + 1], 0xFF000000u);
  EXPECT_EQ(Arrow[0], 0xFFFFFFFFu);
  EXPECT_EQ(Arrow[31 * 32 + 31], 0u);
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(32000)), nullptr);
  // Shared cursors survive DestroyCursor.
  EXPECT_TRUE(DestroyCursor(LoadCursor(nullptr, IDC_WAIT)));
  EXPECT_FALSE(Shown(Display, LoadCursor(nullptr, IDC_WAIT)).empty());
}

TEST_F(TCursorTest, ShowCursorCountsAndSetCursorHides) {
  HCURSOR Arrow = LoadCursor(nullptr, IDC_ARROW);
  SetCursor(Arrow);
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_TRUE(Display.CursorPixels().empty());
  EXPECT_EQ(ShowCursor(FALSE), -2);
  EXPECT_EQ(ShowCursor(TRUE), -1);
  EXPECT_TRUE(Display.CursorPixels().empty());
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_FALSE(Display.CursorPixels().empty());
  EXPECT_EQ(SetCursor(nullptr), Arrow);
  EXPECT_TRUE(Display.CursorPixels().empty());
  EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(TCursorTest, CursorFromPlanes) {
  // 16 x 2: the AND plane keeps the right half, the XOR plane sets the first row.
  const Byte And[] = {0x00, 0xFF, 0x00, 0xFF};
  const Byte Xor[] = {0xFF, 0xFF, 0x00, 0x00};
  HCURSOR C = CreateCursor(nullptr, 3, 1, 16, 2, And, Xor);
  ASSERT_NE(C, nullptr);
  const std::vector<DWORD> Image = Shown(Display, C);
  ASSERT_EQ(Image.size(), 32u);
  EXPECT_EQ(Image[0], 0xFFFFFFFFu);   // AND 0, XOR 1: white
  EXPECT_EQ(Image[8], 0xFF000000u);   // AND 1, XOR 1: inverted, shown black
  EXPECT_EQ(Image[16], 0xFF000000u);  // AND 0, XOR 0: black
  EXPECT_EQ(Image[24], 0u);           // AND 1, XOR 0: transparent
  EXPECT_EQ(HotSpot(), (TPoint{3, 1}));
  EXPECT_FALSE(DestroyCursor(C)) << "the cursor on the screen stays";
  SetCursor(nullptr);
  HCURSOR Copy = CopyCursor(C);
  ASSERT_NE(Copy, nullptr);
  EXPECT_EQ(Shown(Display, Copy), Image);
  SetCursor(nullptr);
  EXPECT_TRUE(DestroyCursor(C));
  EXPECT_FALSE(DestroyCursor(C));
  ICONINFO Info;
  ASSERT_TRUE(GetIconInfo(Copy, &Info));
  EXPECT_EQ(Info.xHotspot, 3u);
  EXPECT_EQ(Info.hbmColor, nullptr);
  HCURSOR Again = CreateIconIndirect(&Info);
  EXPECT_EQ(Shown(Display, Again), Image);
  SetCursor(nullptr);
  DeleteObject(Info.hbmMask);
  DestroyCursor(Again);
  DestroyCursor(Copy);
}

// A .cur file of one W x H image with Bpp bits: Pixel(x, y) gives the colour (BGRA), Keep(x, y)
// the AND bit.
std::vector<Byte> CurFile(Integer W, Integer H, Integer Bpp, TPoint Hot,
                          const std::function<DWORD(Integer, Integer)>& Pixel,
                          const std::function<bool(Integer, Integer)>& Keep) {
  std::vector<Byte> F;
  auto U16 = [&](Integer V) {
    F.push_back(static_cast<Byte>(V));
    F.push_back(static_cast<Byte>(V >> 8));
  };
  auto U32 = [&](DWORD V) {
    U16(static_cast<Integer>(V & 0xFFFF));
    U16(static_cast<Integer>(V >> 16));
  };
  const Integer Colors = Bpp == 1 ? 2 : 0;
  const Integer XorStride = (W * Bpp + 31) / 32 * 4, AndStride = (W + 31) / 32 * 4;
  const DWORD Size = static_cast<DWORD>(40 + 4 * Colors + (XorStride + AndStride) * H);
  U16(0), U16(2), U16(1);
  F.push_back(static_cast<Byte>(W)), F.push_back(static_cast<Byte>(H)), F.push_back(0), F.push_back(0);
  U16(Hot.X), U16(Hot.Y), U32(Size), U32(22);
  U32(40), U32(static_cast<DWORD>(W)), U32(static_cast<DWORD>(2 * H)), U16(1), U16(Bpp), U32(0), U32(0),
      U32(0), U32(0), U32(0), U32(0);
  if (Bpp == 1) U32(0), U32(0x00FFFFFF);
  for (Integer Y = H - 1; Y >= 0; --Y) {
    std::vector<Byte> Row(static_cast<std::size_t>(XorStride));
    for (Integer X = 0; X < W; ++X) {
      const DWORD P = Pixel(X, Y);
      if (Bpp == 1) {
        if (P != 0) Row[static_cast<std::size_t>(X / 8)] |= static_cast<Byte>(0x80 >> (X % 8));
      } else {
        for (Integer B = 0; B < 4; ++B)
          Row[static_cast<std::size_t>(4 * X + B)] = static_cast<Byte>(P >> (8 * B));
      }
    }
    F.insert(F.end(), Row.begin(), Row.end());
  }
  for (Integer Y = H - 1; Y >= 0; --Y) {
    std::vector<Byte> Row(static_cast<std::size_t>(AndStride));
    for (Integer X = 0; X < W; ++X)
      if (Keep(X, Y)) Row[static_cast<std::size_t>(X / 8)] |= static_cast<Byte>(0x80 >> (X % 8));
    F.insert(F.end(), Row.begin(), Row.end());
  }
  return F;
}

TEST_F(TCursorTest, CursorFiles) {
  const std::vector<Byte> Mono = CurFile(
      32, 32, 1, {5, 7}, [](Integer, Integer Y) { return Y < 4 ? 1u : 0u; },
      [](Integer X, Integer) { return X >= 16; });
  HCURSOR C = CreateIconFromFileData(Mono.data(), Mono.size(), true);
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->Width, 32);
  EXPECT_EQ(C->Height, 32);
  const std::vector<DWORD> Image = Shown(Display, C);
  EXPECT_EQ(HotSpot(), (TPoint{5, 7}));
  EXPECT_EQ(Image[0], 0xFFFFFFFFu);
  EXPECT_EQ(Image[10 * 32], 0xFF000000u);
  EXPECT_EQ(Image[10 * 32 + 20], 0u);
  EXPECT_EQ(Image[20], 0xFF000000u);
  SetCursor(nullptr);
  DestroyCursor(C);

  // 32 bits with alpha: shown premultiplied.
  const std::vector<Byte> Deep = CurFile(
      16, 16, 32, {0, 0}, [](Integer X, Integer) { return X < 8 ? 0x80FF0000u : 0u; },
      [](Integer, Integer) { return false; });
  C = CreateIconFromFileData(Deep.data(), Deep.size(), true);
  ASSERT_NE(C, nullptr);
  EXPECT_TRUE(C->HasAlpha);
  const std::vector<DWORD> Alpha = Shown(Display, C);
  EXPECT_EQ(Alpha[0], 0x80800000u);
  EXPECT_EQ(Alpha[15], 0u);
  SetCursor(nullptr);
  DestroyCursor(C);

  // Damaged data gives nothing, whatever is cut off or spoilt.
  for (std::size_t Length :
       {std::size_t{0}, std::size_t{5}, std::size_t{21}, std::size_t{40}, std::size_t{70}, Mono.size() - 1})
    EXPECT_EQ(CreateIconFromFileData(Mono.data(), Length, true), nullptr) << Length;
  std::vector<Byte> Bad = Mono;
  Bad[22 + 14] = 7;  // 7 bits per pixel
  EXPECT_EQ(CreateIconFromFileData(Bad.data(), Bad.size(), true), nullptr);
  Bad = Mono;
  Bad[18] = 0xFF, Bad[19] = 0xFF, Bad[20] = 0xFF, Bad[21] = 0x7F;  // the image far beyond the end
  EXPECT_EQ(CreateIconFromFileData(Bad.data(), Bad.size(), true), nullptr);
}

TEST_F(TCursorTest, DefWindowProcSetsTheCursor) {
  static const bool Registered = [] {
    WNDCLASSEX WC;
    WC.lpfnWndProc = MakeWndProc(InputTestProc);
    WC.lpszClassName = "TvInputHand";
    WC.hCursor = LoadCursor(nullptr, IDC_HAND);
    return RegisterClassEx(&WC) != 0;
  }();
  ASSERT_TRUE(Registered);
  HWND Hand = Popup({0, 0, 100, 100}, WS_VISIBLE, 0, "TvInputHand");
  HWND Plain = Child(Hand, {50, 50, 100, 100});
  HWND Framed = Popup({200, 0, 300, 100});
  struct TCase {
    HWND Wnd;
    LRESULT Hit;
    TPoint At;
    LPCSTR Cursor;
  };
  const TCase Cases[] = {
      {Hand, HTCLIENT, {10, 10}, IDC_HAND},
      {Framed, HTLEFT, {210, 50}, IDC_SIZEWE},
      {Framed, HTBOTTOMRIGHT, {290, 90}, IDC_SIZENWSE},
      {Framed, HTTOPRIGHT, {290, 10}, IDC_SIZENESW},
      {Framed, HTTOP, {250, 5}, IDC_SIZENS},
      {Framed, HTCAPTION, {250, 50}, IDC_ARROW},
      {Hand, HTCLIENT, {10, 10}, IDC_HAND},
      // A child without a class cursor leaves the cursor as it was.
      {Plain, HTCLIENT, {60, 60}, IDC_HAND},
  };
  for (const TCase& C : Cases) {
    Behaviours()[C.Wnd].HitTest = C.Hit;
    Display.MoveTo(C.At.X, C.At.Y);
    Run();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, C.Cursor)) << C.Hit << " at " << C.At.X;
  }
  EXPECT_FALSE(Display.CursorPixels().empty());
  // Over the empty screen: the arrow.
  Display.MoveTo(700, 700);
  Run();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace
