// Enhanced metafiles: a drawing recorded, stored, read back and played gives the pixels of the
// drawing done directly; the header; scaled playback; damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GdiTestUtil.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/EnhMetaFile.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"

namespace {

constexpr Integer W = 120, H = 90;

// 0.01 mm of a pixel count on the 96-dpi reference device.
Integer HiMetric(Integer Pixels) {
  return Pixels * 2540 / 96;
}

// A drawing that touches every kind of record the recorder writes.
void DrawScene(HDC DC) {
  HPEN Dash = CreatePen(PS_DASH, 1, RGB(200, 0, 0));
  HPEN Wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 160));
  HBRUSH Hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 128, 0));
  HBRUSH Solid = CreateSolidBrush(RGB(250, 200, 40));
  HGDIOBJ OldPen = SelectObject(DC, Dash);
  HGDIOBJ OldBrush = SelectObject(DC, Hatch);
  Rectangle(DC, 4, 4, 50, 40);
  SelectObject(DC, Wide);
  SelectObject(DC, Solid);
  Ellipse(DC, 30, 20, 90, 70);
  SelectObject(DC, GetStockObject(NULL_BRUSH));
  Pie(DC, 60, 5, 110, 55, 110, 30, 85, 5);
  MoveToEx(DC, 2, 85, nullptr);
  LineTo(DC, 115, 60);
  const POINT Tri[3] = {{70, 80}, {100, 60}, {118, 88}};
  SelectObject(DC, GetStockObject(BLACK_PEN));
  SelectObject(DC, GetStockObject(GRAY_BRUSH));
  SetPolyFillMode(DC, WINDING);
  Polygon(DC, Tri, 3);
  const POINT Line[4] = {{5, 50}, {20, 60}, {10, 75}, {25, 80}};
  Polyline(DC, Line, 4);
  RoundRect(DC, 40, 72, 66, 88, 8, 8);

  // Fills, a region, single pixels.
  RECT R{90, 70, 100, 80};
  FillRect(DC, &R, Solid);
  HRGN Rgn = CreateEllipticRgn(8, 44, 28, 64);
  FillRgn(DC, Rgn, Hatch);
  SetPixel(DC, 1, 1, RGB(1, 2, 3));

  // Text in a TrueType face.
  LOGFONTA F;
  F.lfHeight = -13;
  F.lfFaceName = "Arial";
  HFONT Font = CreateFontIndirect(&F);
  HGDIOBJ OldFont = SelectObject(DC, Font);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, RGB(90, 0, 90));
  TextOutA(DC, 6, 6, "Tile 42", 7);
  RECT TR{50, 40, 118, 58};
  DrawTextA(DC, "clip me please", -1, &TR, DT_LEFT | DT_SINGLELINE);

  // A blit from a bitmap and a stretched DIB, under a clip.
  BITMAPINFO Info;
  Info.bmiHeader.biWidth = 4;
  Info.bmiHeader.biHeight = -4;
  Info.bmiHeader.biBitCount = 32;
  DWORD Bits[16];
  for (Integer I = 0; I < 16; ++I) Bits[I] = (I * 0x10) << 8 | (0xFF - I * 0x10);
  HDC Mem = CreateCompatibleDC(nullptr);
  void* P = nullptr;
  HBITMAP B = CreateDIBSection(Mem, &Info, DIB_RGB_COLORS, &P, nullptr, 0);
  std::memcpy(P, Bits, sizeof(Bits));
  HGDIOBJ OldB = SelectObject(Mem, B);
  IntersectClipRect(DC, 0, 0, 110, 85);
  BitBlt(DC, 100, 2, 4, 4, Mem, 0, 0, SRCCOPY);
  StretchDIBits(DC, 100, 10, 16, 12, 0, 0, 4, 4, Bits, &Info, DIB_RGB_COLORS, SRCCOPY);
  SelectClipRgn(DC, nullptr);
  SetROP2(DC, R2_XORPEN);
  SelectObject(DC, GetStockObject(WHITE_PEN));
  MoveToEx(DC, 0, 30, nullptr);
  LineTo(DC, 119, 30);

  SelectObject(Mem, OldB);
  DeleteObject(B);
  DeleteDC(Mem);
  SelectObject(DC, OldFont);
  SelectObject(DC, OldPen);
  SelectObject(DC, OldBrush);
  DeleteObject(Font);
  DeleteObject(Rgn);
  DeleteObject(Dash);
  DeleteObject(Wide);
  DeleteObject(Hatch);
  DeleteObject(Solid);
}

HENHMETAFILE RecordScene(void (*Draw)(HDC), Integer Width = W, Integer Height = H) {
  const RECT Frame{0, 0, HiMetric(Width), HiMetric(Height)};
  HDC DC = CreateEnhMetaFileA(nullptr, nullptr, &Frame, "test\0scene\0");
  EXPECT_NE(DC, nullptr);
  Draw(DC);
  return CloseEnhMetaFile(DC);
}

std::vector<Byte> Bytes(HENHMETAFILE M) {
  std::vector<Byte> Out(GetEnhMetaFileBits(M, 0, nullptr));
  GetEnhMetaFileBits(M, static_cast<UINT>(Out.size()), Out.data());
  return Out;
}

// Differing pixels between two canvases of the same size.
Integer Differences(const TTestCanvas& A, const TTestCanvas& B) {
  Integer N = 0;
  for (Integer Y = 0; Y < A.Height; ++Y)
    for (Integer X = 0; X < A.Width; ++X) N += A.At(X, Y) != B.At(X, Y);
  return N;
}

TEST(EnhMetaFile, RecordedDrawingPlaysBackPixelForPixel) {
  TTestCanvas Direct(W, H);
  DrawScene(Direct.DC);

  HENHMETAFILE M = RecordScene(DrawScene);
  ASSERT_NE(M, nullptr);
  // Stored and read back through the bytes, as a file would be.
  const std::vector<Byte> Data = Bytes(M);
  DeleteEnhMetaFile(M);
  HENHMETAFILE Loaded = SetEnhMetaFileBits(static_cast<UINT>(Data.size()), Data.data());
  ASSERT_NE(Loaded, nullptr);

  TTestCanvas Played(W, H);
  const RECT Dest{0, 0, W, H};
  EXPECT_TRUE(PlayEnhMetaFile(Played.DC, Loaded, &Dest));
  EXPECT_EQ(Differences(Direct, Played), 0);
  DeleteEnhMetaFile(Loaded);
}

TEST(EnhMetaFile, PlaybackAtAnOffsetMovesThePicture) {
  TTestCanvas Direct(W + 20, H + 10);
  SetViewportOrgEx(Direct.DC, 20, 10, nullptr);
  DrawScene(Direct.DC);
  HENHMETAFILE M = RecordScene(DrawScene);
  TTestCanvas Played(W + 20, H + 10);
  const RECT Dest{20, 10, 20 + W, 10 + H};
  EXPECT_TRUE(PlayEnhMetaFile(Played.DC, M, &Dest));
  EXPECT_EQ(Differences(Direct, Played), 0);
  DeleteEnhMetaFile(M);
}

TEST(EnhMetaFile, HeaderDescribesTheRecording) {
  HENHMETAFILE M = RecordScene([](HDC DC) { Rectangle(DC, 10, 20, 30, 40); });
  ENHMETAHEADER Hd;
  ASSERT_EQ(GetEnhMetaFileHeader(M, sizeof(Hd), &Hd), 108u);
  EXPECT_EQ(Hd.iType, EMR_HEADER);
  EXPECT_EQ(Hd.dSignature, ENHMETA_SIGNATURE);
  EXPECT_EQ(Hd.rclFrame, (RECT{0, 0, HiMetric(W), HiMetric(H)}));
  EXPECT_EQ(Hd.nBytes, GetEnhMetaFileBits(M, 0, nullptr));
  EXPECT_EQ(Hd.szlDevice, (SIZE{1920, 1080}));
  EXPECT_EQ(Hd.szlMillimeters, (SIZE{508, 285}));
  EXPECT_EQ(Hd.szlMicrometers, (SIZE{508000, 285750}));
  // The pen's width is inside the bounds.
  EXPECT_LE(Hd.rclBounds.Left, 10);
  EXPECT_LE(Hd.rclBounds.Top, 20);
  EXPECT_GE(Hd.rclBounds.Right, 29);
  EXPECT_GE(Hd.rclBounds.Bottom, 39);
  // Header, the rectangle and the end record.
  EXPECT_EQ(Hd.nRecords, 3u);
  char16_t Desc[16] = {};
  ASSERT_EQ(GetEnhMetaFileDescriptionW(M, 16, Desc), 12u);
  EXPECT_EQ(std::u16string(Desc, 11), std::u16string(u"test\0scene", 10) + u'\0');
  const std::vector<Byte> Data = Bytes(M);
  // The rectangle record follows the header (108 bytes and the padded description).
  const std::size_t At = 108 + 24;
  ASSERT_GE(Data.size(), At + 24);
  const Byte Expect[24] = {43, 0, 0, 0, 24, 0, 0, 0, 10, 0, 0, 0, 20, 0, 0, 0, 30, 0, 0, 0, 40, 0, 0, 0};
  EXPECT_EQ(std::memcmp(Data.data() + At, Expect, 24), 0);
  DeleteEnhMetaFile(M);
}

TEST(EnhMetaFile, FrameMapsOntoTheDestinationRectangle) {
  // A 10 x 10 black square in a 20 x 20 picture, drawn at twice its size.
  HENHMETAFILE M = RecordScene(
      [](HDC DC) {
        RECT R{5, 5, 15, 15};
        FillRect(DC, &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      },
      20, 20);
  TTestCanvas C(40, 40);
  const RECT Dest{0, 0, 40, 40};
  EXPECT_TRUE(PlayEnhMetaFile(C.DC, M, &Dest));
  EXPECT_EQ(C.At(9, 20), 0xFFFFFFu);
  EXPECT_EQ(C.At(10, 10), 0u);
  EXPECT_EQ(C.At(29, 29), 0u);
  EXPECT_EQ(C.At(30, 20), 0xFFFFFFu);
  DeleteEnhMetaFile(M);
}

TEST(EnhMetaFile, PlaybackLeavesTheTargetStateAsItWas) {
  HENHMETAFILE M = RecordScene(DrawScene);
  TTestCanvas C(W, H);
  HPEN Pen = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
  SelectObject(C.DC, Pen);
  SetTextColor(C.DC, RGB(9, 9, 9));
  SetBkMode(C.DC, TRANSPARENT);
  IntersectClipRect(C.DC, 0, 0, 60, 45);
  const RECT Dest{0, 0, W, H};
  PlayEnhMetaFile(C.DC, M, &Dest);
  EXPECT_EQ(GetCurrentObject(C.DC, OBJ_PEN), Pen);
  EXPECT_EQ(GetTextColor(C.DC), RGB(9, 9, 9));
  EXPECT_EQ(GetBkMode(C.DC), TRANSPARENT);
  POINT Org;
  GetViewportOrgEx(C.DC, &Org);
  EXPECT_EQ(Org, (POINT{0, 0}));
  // Nothing was drawn outside the clip the target had.
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 60; X < W; ++X) ASSERT_EQ(C.At(X, Y), 0xFFFFFFu) << X << "," << Y;
  SelectObject(C.DC, GetStockObject(BLACK_PEN));
  DeleteObject(Pen);
  DeleteEnhMetaFile(M);
}

TEST(EnhMetaFile, EnumerationHandsOutEveryRecordInOrder) {
  HENHMETAFILE M = RecordScene([](HDC DC) {
    MoveToEx(DC, 1, 1, nullptr);
    LineTo(DC, 5, 5);
  });
  std::vector<DWORD> Types;
  auto Proc = [](HDC, HANDLETABLE*, const ENHMETARECORD* R, Integer, LPARAM Data) -> Integer {
    reinterpret_cast<std::vector<DWORD>*>(Data)->push_back(R->iType);
    return 1;
  };
  EXPECT_TRUE(EnumEnhMetaFile(nullptr, M, Proc, reinterpret_cast<LPARAM>(&Types), nullptr));
  EXPECT_EQ(Types, (std::vector<DWORD>{EMR_HEADER, EMR_MOVETOEX, EMR_LINETO, EMR_EOF}));
  // A callback that stops ends the enumeration with failure.
  auto Stop = [](HDC, HANDLETABLE*, const ENHMETARECORD*, Integer, LPARAM) -> Integer { return 0; };
  EXPECT_FALSE(EnumEnhMetaFile(nullptr, M, Stop, 0, nullptr));
  DeleteEnhMetaFile(M);
}

TEST(EnhMetaFile, CopiesAndFilesKeepTheBytes) {
  HENHMETAFILE M = RecordScene(DrawScene);
  const std::string Name = ::testing::TempDir() + "/scene.emf";
  HENHMETAFILE Copy = CopyEnhMetaFileA(M, Name.c_str());
  ASSERT_NE(Copy, nullptr);
  HENHMETAFILE Read = GetEnhMetaFileA(Name.c_str());
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Bytes(Read), Bytes(M));
  EXPECT_EQ(Bytes(Copy), Bytes(M));
  DeleteEnhMetaFile(M);
  DeleteEnhMetaFile(Copy);
  DeleteEnhMetaFile(Read);
  EXPECT_EQ(GetEnhMetaFileA((Name + ".missing").c_str()), nullptr);
}

TEST(EnhMetaFile, DamagedFilesAreRefusedOrEndPlaybackCleanly) {
  HENHMETAFILE M = RecordScene(DrawScene);
  const std::vector<Byte> Good = Bytes(M);
  DeleteEnhMetaFile(M);
  auto Put = [](std::vector<Byte>& D, std::size_t At, DWORD V) {
    for (Integer I = 0; I < 4; ++I) D[At + I] = static_cast<Byte>(V >> (8 * I));
  };
  // Unreadable as a whole: cut short, a bad signature, a record size past the end or not a
  // multiple of four.
  const std::size_t First = 108 + 24;  // the first record after the header
  std::vector<std::vector<Byte>> Refused;
  Refused.emplace_back(Good.begin(), Good.begin() + static_cast<std::ptrdiff_t>(Good.size() - 4));
  Refused.push_back(Good), Put(Refused.back(), 40, 0x12345678);
  Refused.push_back(Good), Put(Refused.back(), First + 4, 0x7FFFFFF0);
  Refused.push_back(Good), Put(Refused.back(), First + 4, 6);
  Refused.push_back(Good), Put(Refused.back(), 4, 40);
  for (const auto& D : Refused) EXPECT_EQ(SetEnhMetaFileBits(static_cast<UINT>(D.size()), D.data()), nullptr);

  // Readable chain, impossible contents: a polygon claiming more points than its record holds.
  std::vector<Byte> Bad = Good;
  std::size_t Pos = First;
  while (Pos + 8 <= Bad.size()) {
    const DWORD Type = Bad[Pos] | Bad[Pos + 1] << 8;
    const DWORD Size = Bad[Pos + 4] | Bad[Pos + 5] << 8 | Bad[Pos + 6] << 16;
    if (Type == EMR_POLYGON16) break;
    Pos += Size;
  }
  ASSERT_LT(Pos, Bad.size());
  Put(Bad, Pos + 24, 0x40000000);
  HENHMETAFILE B = SetEnhMetaFileBits(static_cast<UINT>(Bad.size()), Bad.data());
  ASSERT_NE(B, nullptr);
  TTestCanvas C(W, H);
  const RECT Dest{0, 0, W, H};
  EXPECT_FALSE(PlayEnhMetaFile(C.DC, B, &Dest));
  // What came before the damaged record was drawn; the DC is usable afterwards.
  EXPECT_NE(C.At(30, 30), 0xFFFFFFu);
  EXPECT_EQ(GetCurrentObject(C.DC, OBJ_PEN), GetStockObject(BLACK_PEN));
  DeleteEnhMetaFile(B);
}

TEST(EnhMetaFile, RecordingDcIsNoPlainDc) {
  HDC DC = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetObjectType(DC), static_cast<DWORD>(OBJ_ENHMETADC));
  EXPECT_EQ(CloseEnhMetaFile(nullptr), nullptr);
  HDC Mem = CreateCompatibleDC(nullptr);
  EXPECT_EQ(CloseEnhMetaFile(Mem), nullptr);
  DeleteDC(Mem);
  // Nothing drawn: an empty picture, which still plays.
  HENHMETAFILE M = CloseEnhMetaFile(DC);
  ASSERT_NE(M, nullptr);
  ENHMETAHEADER Hd;
  GetEnhMetaFileHeader(M, sizeof(Hd), &Hd);
  EXPECT_EQ(Hd.rclBounds, (RECT{0, 0, -1, -1}));
  DeleteEnhMetaFile(M);
}

}  // namespace

namespace {

std::vector<Byte> ReadData(const std::string& Name) {
  std::vector<Byte> Out;
  FILE* F = std::fopen((std::string(TILVAROK_TEST_DATA) + "/metafile/" + Name).c_str(), "rb");
  if (!F) return Out;
  Byte Buf[4096];
  std::size_t N;
  while ((N = std::fread(Buf, 1, sizeof(Buf), F)) > 0) Out.insert(Out.end(), Buf, Buf + N);
  std::fclose(F);
  return Out;
}

// Files another program wrote (pstoedit over libEMF, from a small PostScript drawing: a blue
// rectangle filling the picture, a yellow disc in its middle, a black diagonal).
TEST(EnhMetaFile, FilesOfAnotherWriterPlay) {
  const std::vector<Byte> D = ReadData("pstoedit_shapes_yup.emf");
  HENHMETAFILE M = SetEnhMetaFileBits(static_cast<UINT>(D.size()), D.data());
  ASSERT_NE(M, nullptr);
  TTestCanvas C(60, 45);
  const RECT Dest{0, 0, 60, 45};
  EXPECT_TRUE(PlayEnhMetaFile(C.DC, M, &Dest));
  EXPECT_EQ(C.At(2, 2), RGB(51, 102, 204));
  EXPECT_EQ(C.At(57, 42), RGB(51, 102, 204));
  EXPECT_EQ(C.At(30, 1), RGB(51, 102, 204));
  EXPECT_EQ(C.At(25, 20), RGB(255, 204, 0));
  EXPECT_EQ(C.At(4, 42), 0u);  // the line's start, bottom left
  EXPECT_EQ(C.At(56, 3), 0u);
  DeleteEnhMetaFile(M);

  // Its other form draws in a window mapping whose frame lies elsewhere: it plays, and nothing
  // lands outside the destination.
  const std::vector<Byte> D2 = ReadData("pstoedit_shapes.emf");
  HENHMETAFILE M2 = SetEnhMetaFileBits(static_cast<UINT>(D2.size()), D2.data());
  ASSERT_NE(M2, nullptr);
  TTestCanvas Wide(120, 90);
  const RECT Inner{30, 20, 90, 65};
  EXPECT_TRUE(PlayEnhMetaFile(Wide.DC, M2, &Inner));
  DeleteEnhMetaFile(M2);
}

// An old-style metafile: header, then records of size (words), function and parameters.
struct TWmf {
  std::vector<Word> Words{1, 9, 0x300, 0, 0, 0, 0, 0, 0};
  void Record(Word Fn, std::initializer_list<Integer> Params) {
    const DWORD Size = static_cast<DWORD>(3 + Params.size());
    Words.push_back(static_cast<Word>(Size));
    Words.push_back(static_cast<Word>(Size >> 16));
    Words.push_back(Fn);
    for (Integer P : Params) Words.push_back(static_cast<Word>(P));
  }
  std::vector<Byte> Bytes() {
    std::vector<Byte> Out;
    for (Word W : Words) Out.push_back(static_cast<Byte>(W)), Out.push_back(static_cast<Byte>(W >> 8));
    return Out;
  }
};

TWmf RedBoxWmf() {
  TWmf M;
  M.Record(0x020B, {0, 0});           // window origin (y, x)
  M.Record(0x020C, {500, 1000});      // window extent (y, x)
  M.Record(0x02FC, {0, 0xFF, 0, 0});  // solid red brush: object 0
  M.Record(0x012D, {0});
  M.Record(0x02FA, {5, 0, 0, 0, 0});  // null pen: object 1
  M.Record(0x012D, {1});
  M.Record(0x041B, {400, 500, 100, 100});  // rectangle (bottom, right, top, left)
  M.Record(0x0000, {});
  return M;
}

TEST(WinMetaFile, WindowMappingScalesOntoTheGivenSize) {
  std::vector<Byte> D = RedBoxWmf().Bytes();
  // 2 x 1 inches.
  METAFILEPICT Pict;
  Pict.xExt = 5080, Pict.yExt = 2540;
  HENHMETAFILE M = SetWinMetaFileBits(static_cast<UINT>(D.size()), D.data(), nullptr, &Pict);
  ASSERT_NE(M, nullptr);
  ENHMETAHEADER H;
  GetEnhMetaFileHeader(M, sizeof(H), &H);
  EXPECT_EQ(H.rclFrame, (RECT{0, 0, 5080, 2540}));
  TTestCanvas C(192, 96);
  const RECT Dest{0, 0, 192, 96};
  EXPECT_TRUE(PlayEnhMetaFile(C.DC, M, &Dest));
  // Window units 100..500 x 100..400 of 1000 x 500 are pixels 19.2..96 x 19.2..76.8.
  EXPECT_EQ(C.At(18, 40), 0xFFFFFFu);
  EXPECT_EQ(C.At(21, 21), RGB(255, 0, 0));
  EXPECT_EQ(C.At(94, 75), RGB(255, 0, 0));
  EXPECT_EQ(C.At(98, 40), 0xFFFFFFu);
  EXPECT_EQ(C.At(40, 79), 0xFFFFFFu);
  DeleteEnhMetaFile(M);

  // Without a size the window extent counts in pixels.
  HENHMETAFILE Bare = SetWinMetaFileBits(static_cast<UINT>(D.size()), D.data(), nullptr, nullptr);
  ASSERT_NE(Bare, nullptr);
  GetEnhMetaFileHeader(Bare, sizeof(H), &H);
  EXPECT_EQ(H.rclFrame, (RECT{0, 0, 26458, 13229}));
  DeleteEnhMetaFile(Bare);
}

TEST(WinMetaFile, DamagedFilesAreRefused) {
  const std::vector<Byte> Good = RedBoxWmf().Bytes();
  auto Broken = [&](std::size_t At, Byte V) {
    std::vector<Byte> D = Good;
    D[At] = V;
    return D;
  };
  const std::vector<std::vector<Byte>> Cases = {
      std::vector<Byte>(Good.begin(), Good.begin() + 10),  // shorter than the header
      Broken(2, 8),                                        // header size
      Broken(0, 3),                                        // type
      Broken(18, 0xFF),                                    // a record larger than the file
      Broken(18, 1),                                       // a record smaller than its head
      Broken(84, 5),                                       // the rectangle cut to two parameters
  };
  for (const auto& D : Cases)
    EXPECT_EQ(SetWinMetaFileBits(static_cast<UINT>(D.size()), D.data(), nullptr, nullptr), nullptr);
}

}  // namespace

namespace {

void WriteSeed(const std::string& Name, const std::vector<Byte>& D) {
  FILE* F = std::fopen((std::string(TILVAROK_TEST_DATA) + "/fuzz/metafile/" + Name).c_str(), "wb");
  ASSERT_NE(F, nullptr);
  std::fwrite(D.data(), 1, D.size(), F);
  std::fclose(F);
}

// Writes the fuzz seeds of metafile playback (run with --gtest_also_run_disabled_tests).
TEST(EnhMetaFile, DISABLED_WriteFuzzSeeds) {
  HENHMETAFILE M = RecordScene(DrawScene);
  WriteSeed("scene.emf", Bytes(M));
  DeleteEnhMetaFile(M);
  const std::vector<Byte> Bare = RedBoxWmf().Bytes();
  WriteSeed("redbox.wmf", Bare);
  std::vector<Byte> Placeable{0xD7, 0xCD, 0xC6, 0x9A, 0,    0,    0, 0, 0, 0,
                              0xE8, 0x03, 0xF4, 0x01, 0xE8, 0x03, 0, 0, 0, 0};
  Word Sum = 0;
  for (std::size_t I = 0; I < 20; I += 2) Sum ^= static_cast<Word>(Placeable[I] | (Placeable[I + 1] << 8));
  Placeable.push_back(static_cast<Byte>(Sum));
  Placeable.push_back(static_cast<Byte>(Sum >> 8));
  Placeable.insert(Placeable.end(), Bare.begin(), Bare.end());
  WriteSeed("redbox_placeable.wmf", Placeable);
}

}  // namespace
