// The PNG picture as a graphic: assigning to and from bitmaps, pixel access, resizing, the
// three ways of drawing, and loading through the picture container onto a form.
#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/classes/Application.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Forms.h"
#include "platform/display/HeadlessDisplay.h"
#include "tests/pictures/PngTestUtil.h"
#include "tests/platform/classes/ClassesTestUtil.h"

namespace {
// A palette image of one row: the indices given, 8 bits each.
std::vector<Byte> PaletteFile(const std::vector<Byte>& Indices, const std::vector<Byte>& Plte,
                              const std::vector<Byte>& Trns) {
  std::vector<Byte> Row = {0};
  Row.insert(Row.end(), Indices.begin(), Indices.end());
  std::vector<Byte> F =
      Concat({Signature(), Ihdr(static_cast<Cardinal>(Indices.size()), 1, 8, 3), Chunk("PLTE", Plte)});
  if (!Trns.empty()) F = Concat({F, Chunk("tRNS", Trns)});
  return Concat({F, Chunk("IDAT", Deflated(Row)), Chunk("IEND", {})});
}

// An RGBA image of one row: R, G, B, A per pixel.
std::vector<Byte> RgbaFile(const std::vector<Byte>& Pixels) {
  std::vector<Byte> Row = {0};
  Row.insert(Row.end(), Pixels.begin(), Pixels.end());
  return Concat({Signature(), Ihdr(static_cast<Cardinal>(Pixels.size() / 4), 1, 8, 6),
                 Chunk("IDAT", Deflated(Row)), Chunk("IEND", {})});
}

// A white 24-bit bitmap to draw on.
void WhiteCanvas(TBitmap& B, Integer W, Integer H, TColor Color = clWhite) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  B.GetCanvas()->GetBrush()->SetColor(Color);
  B.GetCanvas()->FillRect(Rect(0, 0, W, H));
}

std::vector<COLORREF> Row(TBitmap& B, Integer Y) {
  std::vector<COLORREF> Out;
  for (Integer X = 0; X < B.GetWidth(); ++X) Out.push_back(PixelAt(B, X, Y));
  return Out;
}
}  // namespace

TEST(PngPicture, AssignFromBitmaps) {
  TBitmap B32;
  WhiteCanvas(B32, 3, 2);
  B32.SetPixelFormat(pf32bit);
  B32.GetCanvas()->SetPixels(1, 1, static_cast<TColor>(RGB(10, 20, 30)));
  TPNGObject P;
  EXPECT_EQ(P.FilterSet, pfSub);
  EXPECT_EQ(P.DeflateLevel, 7);
  EXPECT_EQ(P.GetIdatLimit(), 65535);
  EXPECT_EQ(P.InterlaceKind, 0);
  EXPECT_TRUE(P.Empty());
  P.Assign(&B32);
  EXPECT_EQ(P.HeaderChunk()->ColorType, 2);
  EXPECT_EQ(P.HeaderChunk()->BitDepth, 8);
  EXPECT_EQ(P.GetPixelColor(1, 1), static_cast<TColor>(RGB(10, 20, 30)));
  EXPECT_EQ(P.GetPixelColor(0, 0), static_cast<TColor>(RGB(255, 255, 255)));
  EXPECT_FALSE(P.GetTransparent());

  TBitmap B8;
  WhiteCanvas(B8, 4, 4);
  B8.GetCanvas()->SetPixels(0, 0, static_cast<TColor>(RGB(255, 0, 0)));
  B8.SetPixelFormat(pf8bit);
  P.Assign(&B8);
  EXPECT_EQ(P.HeaderChunk()->ColorType, 3);
  ASSERT_NE(P.GetChunks()->FindByClass<TChunkPLTE>(), nullptr);
  EXPECT_EQ(P.GetChunks()->FindByClass<TChunkPLTE>()->EntryCount, 256);
  EXPECT_EQ(P.GetPixelColor(0, 0), static_cast<TColor>(RGB(255, 0, 0)));
  // It survives saving and loading.
  TPNGObject Back;
  LoadPng(Back, SavePng(P));
  EXPECT_EQ(Back.GetPixelColor(0, 0), static_cast<TColor>(RGB(255, 0, 0)));
  EXPECT_EQ(Back.GetPixelColor(3, 3), static_cast<TColor>(RGB(255, 255, 255)));

  // A transparent bitmap: its transparent colour becomes the key.
  TBitmap T;
  WhiteCanvas(T, 2, 2, clBlue);
  T.GetCanvas()->SetPixels(1, 0, clYellow);
  T.SetTransparent(true);
  P.Assign(&T);
  ASSERT_NE(P.GetChunks()->FindByClass<TChunktRNS>(), nullptr);
  EXPECT_EQ(P.TransparencyKind(), ptKeyColor);
  EXPECT_EQ(P.KeyColor(), clBlue);
  std::vector<std::string> Names;
  for (Cardinal I = 0; I < P.GetChunks()->GetCount(); ++I) Names.push_back(P.GetChunks()->Item(I)->GetName());
  EXPECT_EQ(Names, (std::vector<std::string>{"IHDR", "tRNS", "IDAT", "IEND"}));
  TPNGObject Reloaded;
  LoadPng(Reloaded, SavePng(P));
  EXPECT_EQ(Reloaded.KeyColor(), clBlue);

  // An empty bitmap empties the picture; null does too.
  TBitmap Empty;
  P.Assign(&Empty);
  EXPECT_TRUE(P.Empty());
  LoadPng(P, FileBytes(PngFixture("c2d8p.png")));
  P.Assign(nullptr);
  EXPECT_TRUE(P.Empty());
}

TEST(PngPicture, AssignToBitmaps) {
  // Palette picture with partial alpha: blended over the bitmap's white.
  TPNGObject P;
  LoadPng(P, PaletteFile({0, 1, 2}, {0, 0, 0, 200, 0, 0, 0, 0, 255}, {128, 0}));
  TBitmap B;
  B.Assign(&P);
  EXPECT_EQ(B.GetPixelFormat(), pf24bit);
  EXPECT_EQ(Row(B, 0), (std::vector<COLORREF>{RGB(127, 127, 127), RGB(255, 255, 255), RGB(0, 0, 255)}));

  // A keyed palette picture gives a palette bitmap with its transparent colour.
  TPNGObject K;
  LoadPng(K, PaletteFile({0, 1}, {1, 2, 3, 4, 5, 6}, {255, 0}));
  TBitmap KB;
  KB.Assign(&K);
  EXPECT_EQ(KB.GetPixelFormat(), pf8bit);
  EXPECT_TRUE(KB.GetTransparent());
  EXPECT_EQ(ColorToRGB(KB.GetTransparentColor()) & 0xFFFFFF, RGB(4, 5, 6));

  TPNGObject Grey;
  LoadPng(Grey, FileBytes(PngFixture("c0d1p.png")));
  TBitmap GB;
  GB.Assign(&Grey);
  EXPECT_EQ(GB.GetPixelFormat(), pf1bit);
  for (Integer X = 0; X < 13; ++X)
    EXPECT_EQ(static_cast<TColor>(PixelAt(GB, X, 3)), Grey.GetPixelColor(X, 3)) << X;

  // Another picture takes a copy.
  TPNGObject Copy;
  Copy.Assign(&P);
  EXPECT_EQ(SavePng(Copy), SavePng(P));
  // Without a header there is nothing to convert.
  TPNGObject Empty;
  EXPECT_THROW(B.Assign(&Empty), EConvertError);
}

TEST(PngPicture, PixelAccess) {
  TPNGObject P;
  LoadPng(P, FileBytes(PngFixture("c2d8p.png")));
  EXPECT_EQ(P.GetPixelColor(-1, 0), 0);
  EXPECT_EQ(P.GetPixelColor(13, 0), 0);
  EXPECT_EQ(P.GetPixelColor(0, 11), 0);
  const std::vector<Byte> Before = SavePng(P);
  P.SetPixelColor(-1, 0, clRed);
  P.SetPixelColor(0, 11, clRed);
  EXPECT_EQ(SavePng(P), Before);
  P.SetPixelColor(12, 10, static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(P.GetPixelColor(12, 10), static_cast<TColor>(RGB(1, 2, 3)));

  // Grey and palette pixels take the nearest entry, at their storage depth.
  TPNGObject G;
  LoadPng(G, FileBytes(PngFixture("c0d4p.png")));
  G.SetPixelColor(5, 2, static_cast<TColor>(RGB(0x40, 0x44, 0x48)));
  EXPECT_EQ(G.GetPixelColor(5, 2), static_cast<TColor>(RGB(0x44, 0x44, 0x44)));
  const Byte Neighbour = G.PixelRow(2)[2];
  G.SetPixelColor(4, 2, clWhite);
  EXPECT_EQ(G.PixelRow(2)[2], static_cast<Byte>((Neighbour & 0x0F) | 0xF0));
  TPNGObject Pal;
  LoadPng(Pal, PaletteFile({0, 1}, {9, 9, 9, 200, 100, 50}, {}));
  Pal.SetPixelColor(0, 0, static_cast<TColor>(RGB(190, 110, 60)));
  EXPECT_EQ(Pal.GetPixelColor(0, 0), static_cast<TColor>(RGB(200, 100, 50)));
  // Grey with alpha shows its stored byte and takes the red one.
  TPNGObject GA;
  LoadPng(GA, FileBytes(PngFixture("c4d8p.png")));
  GA.SetPixelColor(0, 0, static_cast<TColor>(RGB(77, 1, 2)));
  EXPECT_EQ(GA.GetPixelColor(0, 0), static_cast<TColor>(RGB(77, 77, 77)));
}

TEST(PngPicture, Resizing) {
  TPNGObject P;
  EXPECT_THROW(P.GetPalette(), EPNGHeaderNotPresent);
  EXPECT_EQ(P.GetWidth(), 0);
  LoadPng(P, FileBytes(PngFixture("c6d16p.png")));
  try {
    P.Resize(0, 10);
    FAIL();
  } catch (const EPNGInvalidNewSize& E) {
    EXPECT_STREQ(E.what(), "The new size provided for image resizing is invalid.");
  }
  TPNGObject Old;
  Old.Assign(&P);
  // The copy keeps no low bytes: compare against the source's planes.
  std::vector<TColor> Colors;
  std::vector<Byte> Alpha, Low;
  for (Integer Y = 0; Y < 11; ++Y)
    for (Integer X = 0; X < 13; ++X) {
      Colors.push_back(P.GetPixelColor(X, Y));
      Alpha.push_back(P.AlphaRow(Y)[X]);
      Low.push_back(P.LowByteRow(Y)[3 * X]);
    }
  P.Resize(20, 15);
  EXPECT_EQ(P.GetWidth(), 20);
  EXPECT_EQ(P.GetHeight(), 15);
  for (Integer Y = 0; Y < 15; ++Y)
    for (Integer X = 0; X < 20; ++X) {
      if (X < 13 && Y < 11) {
        ASSERT_EQ(P.GetPixelColor(X, Y), Colors[Y * 13 + X]) << X << "," << Y;
        ASSERT_EQ(P.AlphaRow(Y)[X], Alpha[Y * 13 + X]);
        ASSERT_EQ(P.LowByteRow(Y)[3 * X], Low[Y * 13 + X]);
      } else {
        ASSERT_EQ(P.GetPixelColor(X, Y), 0) << X << "," << Y;
        ASSERT_EQ(P.AlphaRow(Y)[X], 255);
        ASSERT_EQ(P.LowByteRow(Y)[3 * X + 1], 0);
      }
    }
  // Shrinking keeps the top-left part, and the result saves and reloads.
  P.SetWidth(5);
  P.SetHeight(4);
  TPNGObject Back;
  LoadPng(Back, SavePng(P));
  EXPECT_EQ(Back.GetWidth(), 5);
  EXPECT_EQ(Back.GetHeight(), 4);
  EXPECT_EQ(Back.GetPixelColor(4, 3), Colors[3 * 13 + 4]);
  EXPECT_EQ(Back.AlphaRow(3)[4], Alpha[3 * 13 + 4]);
}

TEST(PngPicture, OpaqueAndKeyedDrawing) {
  TBitmap B;
  WhiteCanvas(B, 4, 2);
  TPNGObject Empty;
  B.GetCanvas()->StretchDraw(Rect(0, 0, 4, 2), &Empty);
  EXPECT_EQ(Row(B, 0), std::vector<COLORREF>(4, RGB(255, 255, 255)));

  // Opaque, stretched twice as wide and high.
  TPNGObject P;
  LoadPng(P, PaletteFile({0, 1}, {10, 20, 30, 40, 50, 60}, {}));
  B.GetCanvas()->StretchDraw(Rect(0, 0, 4, 2), &P);
  for (Integer Y = 0; Y < 2; ++Y)
    EXPECT_EQ(Row(B, Y),
              (std::vector<COLORREF>{RGB(10, 20, 30), RGB(10, 20, 30), RGB(40, 50, 60), RGB(40, 50, 60)}));

  // Keyed: the canvas stays where the key colour is, at its own size and stretched.
  TPNGObject K;
  LoadPng(K, PaletteFile({0, 1, 0}, {10, 20, 30, 40, 50, 60}, {255, 0}));
  EXPECT_EQ(K.TransparencyKind(), ptKeyColor);
  WhiteCanvas(B, 6, 2, clRed);
  B.GetCanvas()->Draw(0, 0, &K);
  EXPECT_EQ(Row(B, 0), (std::vector<COLORREF>{RGB(10, 20, 30), RGB(255, 0, 0), RGB(10, 20, 30),
                                              RGB(255, 0, 0), RGB(255, 0, 0), RGB(255, 0, 0)}));
  WhiteCanvas(B, 6, 2, clRed);
  B.GetCanvas()->StretchDraw(Rect(0, 0, 6, 2), &K);
  for (Integer Y = 0; Y < 2; ++Y)
    EXPECT_EQ(Row(B, Y), (std::vector<COLORREF>{RGB(10, 20, 30), RGB(10, 20, 30), RGB(255, 0, 0),
                                                RGB(255, 0, 0), RGB(10, 20, 30), RGB(10, 20, 30)}));
  // An RGB key as well.
  TPNGObject R;
  LoadPng(R, Concat({Signature(), Ihdr(2, 1, 8, 2), Chunk("tRNS", {0, 1, 0, 2, 0, 3}),
                     Chunk("IDAT", Deflated({0, 1, 2, 3, 9, 9, 9})), Chunk("IEND", {})}));
  WhiteCanvas(B, 2, 1, clRed);
  B.GetCanvas()->Draw(0, 0, &R);
  EXPECT_EQ(Row(B, 0), (std::vector<COLORREF>{RGB(255, 0, 0), RGB(9, 9, 9)}));
}

TEST(PngPicture, AlphaDrawing) {
  TBitmap B;
  TPNGObject P;
  // Alpha 0, 255 and 128 over white.
  LoadPng(P, RgbaFile({10, 20, 30, 0, 10, 20, 30, 255, 0, 0, 0, 128}));
  WhiteCanvas(B, 3, 1);
  B.GetCanvas()->Draw(0, 0, &P);
  EXPECT_EQ(Row(B, 0), (std::vector<COLORREF>{RGB(255, 255, 255), RGB(10, 20, 30), RGB(127, 127, 127)}));

  // Empty rectangles draw nothing; an inverted one draws as its normal form.
  WhiteCanvas(B, 3, 1);
  B.GetCanvas()->StretchDraw(Rect(0, 0, 0, 1), &P);
  B.GetCanvas()->StretchDraw(Rect(0, 0, 3, 0), &P);
  EXPECT_EQ(Row(B, 0), std::vector<COLORREF>(3, RGB(255, 255, 255)));
  B.GetCanvas()->StretchDraw(Rect(3, 1, 0, 0), &P);
  EXPECT_EQ(Row(B, 0), (std::vector<COLORREF>{RGB(255, 255, 255), RGB(10, 20, 30), RGB(127, 127, 127)}));

  // Stretched: destination column c samples source column trunc(c / 2).
  WhiteCanvas(B, 6, 2);
  B.GetCanvas()->StretchDraw(Rect(0, 0, 6, 2), &P);
  EXPECT_EQ(Row(B, 1), (std::vector<COLORREF>{RGB(255, 255, 255), RGB(255, 255, 255), RGB(10, 20, 30),
                                              RGB(10, 20, 30), RGB(127, 127, 127), RGB(127, 127, 127)}));

  // Grey with alpha blends every pixel, even opaque ones: (v x 255 + 0 + 255) div 256.
  TPNGObject GA;
  LoadPng(GA,
          Concat({Signature(), Ihdr(1, 1, 8, 4), Chunk("IDAT", Deflated({0, 100, 255})), Chunk("IEND", {})}));
  WhiteCanvas(B, 1, 1);
  B.GetCanvas()->Draw(0, 0, &GA);
  EXPECT_EQ(PixelAt(B, 0, 0), RGB(100, 100, 100));

  // A 1-bit palette picture with partial alpha: pixel 9 is bit 6 of the row's second byte.
  std::vector<Byte> Row1 = {0, 0x00, 0x40};  // only pixel 9 has index 1
  TPNGObject One;
  LoadPng(One, Concat({Signature(), Ihdr(12, 1, 1, 3), Chunk("PLTE", {0, 0, 0, 0, 0, 255}),
                       Chunk("tRNS", {200, 128}), Chunk("IDAT", Deflated(Row1)), Chunk("IEND", {})}));
  EXPECT_EQ(One.TransparencyKind(), ptAlphaBlend);
  WhiteCanvas(B, 12, 1);
  B.GetCanvas()->Draw(0, 0, &One);
  for (Integer X = 0; X < 12; ++X)
    EXPECT_EQ(PixelAt(B, X, 0), X == 9 ? RGB(127, 127, 255) : RGB(55, 55, 55)) << X;

  // An index beyond the palette: nothing is drawn and the error says why.
  TPNGObject Beyond;
  LoadPng(Beyond, PaletteFile({0, 5}, {1, 2, 3, 4, 5, 6}, {128, 128}));
  WhiteCanvas(B, 2, 1);
  try {
    B.GetCanvas()->Draw(0, 0, &Beyond);
    FAIL();
  } catch (const EPngError& E) {
    EXPECT_STREQ(E.what(), "There is no such palette entry.");
  }
  EXPECT_EQ(Row(B, 0), std::vector<COLORREF>(2, RGB(255, 255, 255)));
}

TEST(PngPicture, LoadsThroughThePictureAndDrawsTransparentlyOnAForm) {
  const std::string Path = "/tmp/tv_png_form_" + std::to_string(getpid()) + ".png";
  WriteFileBytes(Path, PaletteFile({0, 1, 0, 1}, {0, 255, 0, 0, 0, 255}, {255, 0}));
  EXPECT_EQ(FindGraphicClassByExtension("png"), GraphicClassOf<TPNGObject>());
  EXPECT_NE(GraphicFilter(nullptr).find("Portable Network Graphics (*.png)"), std::string::npos);

  auto Form = std::make_unique<TForm>(nullptr);
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(30, 30, 20, 10);
  Form->SetColor(clRed);
  auto* Image = new TImage(Form.get());
  Image->SetBounds(0, 0, 8, 2);
  Image->SetStretch(true);
  Image->SetParent(Form.get());
  Image->GetPicture()->LoadFromFile(Path);
  std::remove(Path.c_str());
  ASSERT_NE(dynamic_cast<TPNGObject*>(Image->GetPicture()->GetGraphic()), nullptr);
  Form->Show();
  for (Integer I = 0; I < 5; ++I) Application->ProcessMessages();
  const TScreenshot Shot = Screenshot(Form->GetHandle());
  for (Integer X = 0; X < 8; ++X) EXPECT_EQ(Shot.Pixel(X, 1), (X / 2) % 2 == 0 ? 0x00FF00u : 0xFF0000u) << X;
  EXPECT_EQ(Shot.Pixel(10, 5), 0xFF0000u);
  // Windows go away with the messages that follow their destruction.
  Form.reset();
  Application->ProcessMessages();

  // Unregistered, the extension is unknown again; registered anew, it loads.
  PngImageShutdown();
  EXPECT_EQ(FindGraphicClassByExtension("png"), nullptr);
  PngImageStartup();
  EXPECT_EQ(FindGraphicClassByExtension("png"), GraphicClassOf<TPNGObject>());
}

TEST(PngPicture, CanvasAndClipboardGoThroughTheImage) {
  TPNGObject P;
  LoadPng(P, FileBytes(PngFixture("c2d8p.png")));
  // The picture's canvas draws into its pixels.
  P.GetCanvas()->SetPixels(2, 3, static_cast<TColor>(RGB(4, 5, 6)));
  EXPECT_EQ(P.GetPixelColor(2, 3), static_cast<TColor>(RGB(4, 5, 6)));
  P.Resize(20, 20);
  P.GetCanvas()->SetPixels(19, 19, clLime);
  EXPECT_EQ(P.GetPixelColor(19, 19), clLime);

  UINT Format = 0;
  HANDLE Data = nullptr;
  HPALETTE Palette = nullptr;
  P.SaveToClipboardFormat(Format, Data, Palette);
  TPNGObject Back;
  Back.LoadFromClipboardFormat(Format, Data, Palette);
  EXPECT_EQ(Back.GetWidth(), 20);
  EXPECT_EQ(Back.GetPixelColor(2, 3), static_cast<TColor>(RGB(4, 5, 6)));
  EXPECT_EQ(Back.GetPixelColor(19, 19), clLime);
  if (Data) DeleteObject(static_cast<HGDIOBJ>(Data));
  if (Palette) DeleteObject(Palette);
}
