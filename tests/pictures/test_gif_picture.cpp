// GIF pictures in memory: frames, colour tables, drawing, assignment, import and compaction.
#include <gmock/gmock.h>

#include "pictures/GIFColorReduce.h"
#include "platform/classes/Icon.h"
#include "platform/classes/Metafile.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Cursors.h"
#include "tests/pictures/GifTestSupport.h"

namespace {

// A picture with one frame per entry: rectangle and pixels, all on a shared local table.
TGIFSubImage* AddFrame(TGIFImage& G, TRect R, std::vector<Byte> Pixels, std::vector<TColor> Colors) {
  auto* F = new TGIFSubImage(&G);
  G.AppendFrame(F);
  F->PlaceFrame(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
  for (TColor C : Colors) F->LocalColors()->AddColor(C);
  if (!Pixels.empty()) std::copy(Pixels.begin(), Pixels.end(), F->Data());
  return F;
}

TGIFGraphicControlExtension* Control(TGIFSubImage* F) {
  if (!F->ControlExt()) F->ExtensionBlocks()->Add(new TGIFGraphicControlExtension(F));
  return F->ControlExt();
}

std::unique_ptr<TBitmap> Canvas(Integer W, Integer H, TColor Fill) {
  auto B = std::make_unique<TBitmap>();
  B->SetWidth(W);
  B->SetHeight(H);
  B->GetCanvas()->GetBrush()->SetColor(Fill);
  B->GetCanvas()->FillRect(TRect(0, 0, W, H));
  return B;
}

struct TChangeCount {
  Integer Count = 0;
  void Changed(TObject*) { ++Count; }
};

}  // namespace

TEST(GIFColorMap, DepthPaddingAndSearch) {
  TGIFImage G;
  TGIFSubImage* F = AddFrame(G, TRect(0, 0, 1, 1), {0}, {0x0000FF, 0x00FF00, 0x0000FF});
  TGIFColorMap* Map = F->LocalColors();
  EXPECT_EQ(Map->Depth(), 2);
  TMemoryStream S;
  Map->SaveToStream(&S);
  EXPECT_EQ(S.GetSize(), 12);
  EXPECT_EQ(static_cast<const Byte*>(S.GetMemory())[9], 0);
  EXPECT_EQ(Map->FindColor(0x0000FF), 2);
  std::fill(F->Data(), F->Data() + F->PixelCount(), 2);
  EXPECT_TRUE(Map->SortByUse());
  // Sorting moved the used copy first and cut the unused green.
  EXPECT_EQ(Map->FindColor(0x0000FF), 0);
  EXPECT_EQ(Map->Count(), 1);
  EXPECT_EQ(F->PixelAt(0, 0), 0);
  EXPECT_FALSE(Map->SortByUse());
  EXPECT_EQ(Map->Depth(), 1);
  TMemoryStream One;
  Map->SaveToStream(&One);
  EXPECT_EQ(One.GetSize(), 6);
  ExpectError<GIFException>([&] { Map->DeleteColor(3); }, "Invalid color index");
  for (Integer I = Map->Count(); I < 256; ++I) Map->AddColor(I);
  ExpectError<GIFException>([&] { Map->AddColor(0); }, "Color table overflow");
  TGIFImage Empty;
  ExpectError<GIFException>([&] { Empty.ScreenColors()->ColorAt(0); }, "Color table is empty");
}

TEST(GIFColorMap, SortingTablesAlreadyInOrderKeepsUnusedColours) {
  TGIFImage G;
  TGIFSubImage* F = AddFrame(G, TRect(0, 0, 3, 1), {0, 0, 1}, {1, 2, 3});
  EXPECT_TRUE(F->LocalColors()->SortByUse());
  EXPECT_EQ(F->LocalColors()->Count(), 3);
  EXPECT_TRUE(F->LocalColors()->UsageSorted());
}

TEST(GIFFrame, GeometryAndPixels) {
  TGIFImage G;
  TWarnings W;
  G.OnGIFWarning = TGIFWarning(&W, &TWarnings::Handler);
  TGIFSubImage* F = AddFrame(G, TRect(0, 0, 10, 10), {}, {0});
  EXPECT_TRUE(W.List.empty());
  EXPECT_EQ(G.GetWidth(), 10);
  F->PlaceFrame(4, 0, 2, 2);
  EXPECT_EQ(F->MapToRect(TRect(0, 0, 100, 100)), TRect(40, 0, 60, 20));
  F->Data()[0] = 5;
  F->SetWidth(3);
  EXPECT_EQ(F->PixelCount(), 6);
  EXPECT_EQ(F->PixelAt(0, 0), 0);
  ExpectError<GIFException>([&] { F->PixelAt(3, 0); }, "Invalid pixel coordinates");
  ExpectError<GIFException>([&] { F->RowAt(-1); }, "Invalid pixel coordinates");
  F->PlaceFrame(9, 0, 3, 2);
  EXPECT_THAT(W.List, ::testing::ElementsAre("Image width too small for contained frames",
                                             "Image exceeds Logical Screen size"));
  EXPECT_EQ(G.GetWidth(), 12);
}

TEST(GIFPicture, SizesVersionsAndStillFrames) {
  TGIFImage G;
  EXPECT_EQ(G.FileVersion(), 0);
  ExpectError<GIFException>([&] { SaveBytes(G); }, "Unsupported GIF version");
  TGIFSubImage* A = AddFrame(G, TRect(0, 0, 4, 4), std::vector<Byte>(16, 0), {0x0000FF});
  AddFrame(G, TRect(0, 0, 4, 4), std::vector<Byte>(16, 0), {0x00FF00});
  AddFrame(G, TRect(0, 0, 4, 4), std::vector<Byte>(16, 0), {0xFF0000});
  EXPECT_EQ(G.FileVersion(), 1);
  Control(A);
  EXPECT_EQ(G.FileVersion(), 2);
  TChangeCount Changes;
  G.OnChange = TNotifyEvent(&Changes, &TChangeCount::Changed);
  ExpectError<GIFException>([&] { G.SetWidth(3); }, "Image width too small for contained frames");
  EXPECT_EQ(G.GetWidth(), 4);
  G.SetWidth(4);
  EXPECT_EQ(Changes.Count, 0);
  // Not animated: the still frame, or frame 0 when it is out of range.
  G.PaintFlags = static_cast<TGIFPaintFlags>(G.PaintFlags & ~gpAnimate);
  auto Target = Canvas(4, 4, 0xFFFFFF);
  G.StillFrame = 1;
  Target->GetCanvas()->StretchDraw(TRect(0, 0, 4, 4), &G);
  EXPECT_EQ(PixelAt(*Target, 0, 0), 0x00FF00u);
  G.StillFrame = 5;
  Target->GetCanvas()->StretchDraw(TRect(0, 0, 4, 4), &G);
  EXPECT_EQ(PixelAt(*Target, 0, 0), 0x0000FFu);
  TGIFImage Empty;
  auto Untouched = Canvas(4, 4, 0x123456);
  Untouched->GetCanvas()->StretchDraw(TRect(0, 0, 4, 4), &Empty);
  EXPECT_EQ(PixelAt(*Untouched, 1, 1), 0x123456u);
}

TEST(GIFPicture, DrawsThroughTheMaskStretchedAndUnstretched) {
  TGIFImage G;
  // Index 1 transparent; a red cross on it.
  TGIFSubImage* F = AddFrame(G, TRect(0, 0, 3, 3), {1, 0, 1, 0, 0, 0, 1, 0, 1}, {0x0000FF, 0x00FF00});
  Control(F)->SetTransparent(true);
  Control(F)->SetTransparentIndex(1);
  for (Integer Scale : {1, 3}) {
    auto Target = Canvas(3 * Scale, 3 * Scale, 0xFFFFFF);
    G.DrawTo(Target->GetCanvas(), TRect(0, 0, 3 * Scale, 3 * Scale));
    EXPECT_EQ(Picture(*Target, 0xFFFFFF, 0x0000FF),
              Scale == 1 ? Rows({".#.", "###", ".#."})
                         : Rows({"...###...", "...###...", "...###...", "#########", "#########", "#########",
                                 "...###...", "...###...", "...###..."}));
  }
  // A transparent index that no pixel uses gives no mask: drawn plainly.
  TGIFImage Plain;
  TGIFSubImage* P = AddFrame(Plain, TRect(0, 0, 2, 1), {0, 0}, {0x0000FF, 0x00FF00});
  Control(P)->SetTransparent(true);
  Control(P)->SetTransparentIndex(1);
  EXPECT_FALSE(P->HasMaskBitmap());
}

TEST(GIFPicture, TiledDrawingRepeatsTheScreen) {
  TGIFImage G;
  std::vector<Byte> Px(256, 0);
  Px[0] = 1;
  AddFrame(G, TRect(0, 0, 16, 16), Px, {0xFFFFFF, 0x000000});
  G.PaintFlags = static_cast<TGIFPaintFlags>((G.PaintFlags | gpTiled) & ~gpTransparent);
  auto Target = Canvas(40, 40, 0x808080);
  G.DrawTo(Target->GetCanvas(), TRect(0, 0, 40, 40));
  for (Integer X : {0, 16, 32})
    for (Integer Y : {0, 16, 32}) EXPECT_EQ(PixelAt(*Target, X, Y), 0u) << X << "," << Y;
  EXPECT_EQ(PixelAt(*Target, 39, 39), 0xFFFFFFu);
}

TEST(GIFPicture, PictureLoadsGifFilesAndDrawsThemTransparently) {
  TPicture Picture;
  Picture.LoadFromFile(GifData("transparent.gif"));
  ASSERT_NE(dynamic_cast<TGIFImage*>(Picture.GetGraphic()), nullptr);
  EXPECT_EQ(Picture.GetWidth(), 5);
  auto Target = Canvas(5, 5, 0x00FF00);
  Target->GetCanvas()->Draw(0, 0, Picture.GetGraphic());
  EXPECT_EQ(PixelAt(*Target, 2, 2), 0xFF0000u);
  EXPECT_EQ(PixelAt(*Target, 0, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(*Target, 1, 1), 0x00FF00u);
  EXPECT_NE(GraphicFilter(nullptr).find("*.gif"), std::string::npos);
}

TEST(GIFPicture, AssigningPictures) {
  auto Source = LoadGifBytes(FileBytes(GifData("anim.gif")));
  TWarnings W;
  Source->OnGIFWarning = TGIFWarning(&W, &TWarnings::Handler);
  Source->SpeedPercent = 50;
  Source->Encoding = geRLE;
  Source->StillFrame = 2;
  TGIFImage Copy;
  Copy.SpeedPercent = 77;
  Copy.Assign(Source.get());
  EXPECT_EQ(Copy.SpeedPercent, 77);
  EXPECT_EQ(Copy.Encoding, geLZW);
  EXPECT_EQ(Copy.StillFrame, 2);
  EXPECT_FALSE(Copy.OnGIFWarning);
  EXPECT_FALSE(Copy.OnProgress);
  ASSERT_EQ(Copy.Frames()->Count(), 3);
  EXPECT_EQ(SaveBytes(Copy), SaveBytes(*Source));
  Copy.Assign(&Copy);
  EXPECT_EQ(Copy.Frames()->Count(), 3);
  // Every extension is the copy's own.
  EXPECT_NE(Copy.Frames()->SubImage(0)->ExtensionBlocks()->Item(0),
            Source->Frames()->SubImage(0)->ExtensionBlocks()->Item(0));
  Copy.Assign(nullptr);
  EXPECT_TRUE(Copy.Empty());
}

TEST(GIFPicture, TrueColourBitmapsBecomeFramesThatReload) {
  TBitmap Colourful;
  Colourful.SetPixelFormat(pf24bit);
  Colourful.SetWidth(20);
  Colourful.SetHeight(15);
  for (Integer Y = 0; Y < 15; ++Y) {
    Byte* Row = static_cast<Byte*>(Colourful.GetScanLine(Y));
    for (Integer X = 0; X < 20; ++X) {
      Row[3 * X] = static_cast<Byte>(X * 12);
      Row[3 * X + 1] = static_cast<Byte>(Y * 17);
      Row[3 * X + 2] = static_cast<Byte>((X * Y) % 256);
    }
  }
  TGIFImage G;
  G.Assign(&Colourful);
  EXPECT_EQ(Colourful.GetPixelFormat(), pf24bit);
  ASSERT_EQ(G.Frames()->Count(), 1);
  // The reduced bitmap's whole colour table comes along.
  EXPECT_EQ(G.Frames()->SubImage(0)->LocalColors()->Count(), 256);
  auto Again = LoadGifBytes(SaveBytes(G));
  ASSERT_EQ(Again->Frames()->Count(), 1);
  TBitmap Back;
  Back.Assign(Again.get());
  // Web levels are 51 apart.
  for (Integer Y = 0; Y < 15; Y += 7)
    for (Integer X = 0; X < 20; X += 9) {
      const COLORREF Want = PixelAt(Colourful, X, Y), Got = PixelAt(Back, X, Y);
      EXPECT_NEAR(GetRValue(Got), GetRValue(Want), 51);
      EXPECT_NEAR(GetGValue(Got), GetGValue(Want), 51);
      EXPECT_NEAR(GetBValue(Got), GetBValue(Want), 51);
    }
}

TEST(GIFImport, PalettedBitmapsKeepTheirTables) {
  TBitmap Mono;
  Mono.SetPixelFormat(pf1bit);
  Mono.SetWidth(3);
  Mono.SetHeight(1);
  Mono.GetCanvas()->SetPixels(1, 0, 0);
  TGIFImage G;
  G.Assign(&Mono);
  TGIFSubImage* F = G.Frames()->SubImage(0);
  EXPECT_EQ(F->LocalColors()->Count(), 2);
  EXPECT_EQ(F->PixelAt(0, 0), 1);
  EXPECT_EQ(F->PixelAt(1, 0), 0);
  TBitmap Eight;
  Eight.SetPixelFormat(pf8bit);
  Eight.SetWidth(2);
  Eight.SetHeight(1);
  G.Assign(&Eight);
  EXPECT_EQ(G.Frames()->SubImage(0)->LocalColors()->Count(), 256);
}

TEST(GIFImport, TransparentBitmapsAndIcons) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetWidth(3);
  B.SetHeight(1);
  B.GetCanvas()->SetPixels(0, 0, 0x0000FF);
  B.GetCanvas()->SetPixels(1, 0, 0x00FF00);
  B.GetCanvas()->SetPixels(2, 0, 0x00FF00);
  B.SetTransparentColor(0x0000FF);
  B.SetTransparent(true);
  TGIFImage G;
  G.Assign(&B);
  TGIFSubImage* F = G.Frames()->SubImage(0);
  ASSERT_TRUE(F->HasTransparency());
  EXPECT_EQ(F->PixelAt(0, 0), F->ControlExt()->GetTransparentIndex());
  EXPECT_NE(F->PixelAt(1, 0), F->ControlExt()->GetTransparentIndex());
}

TEST(GIFCompact, Steps) {
  {
    TGIFImage Empty;
    static Integer Reports = 0;
    Empty.OnProgress = TProgressEvent(
        +[](TObject*, TProgressStage, Byte, bool, const TRect&, const std::string&) { ++Reports; });
    Empty.Compact(cfAll, 0, 0, 8);
    EXPECT_EQ(Reports, 0);
  }
  {
    // One frame loses its looping block, comment and plain control block.
    TGIFImage G;
    TGIFSubImage* F = AddFrame(G, TRect(0, 0, 2, 1), {0, 1}, {0, 0xFFFFFF});
    F->ExtensionBlocks()->Add(new TGIFAppExtNSLoop(F));
    F->ExtensionBlocks()->Add(new TGIFCommentExtension(F));
    Control(F)->SetDelayTime(50);
    G.Compact(cfTidy, 0, 0, 8);
    EXPECT_EQ(F->ExtensionBlocks()->Count(), 0);
  }
  {
    // Merging with an identical frame makes the overlap transparent; the looping block of the
    // first frame stays, the one of the second goes.
    TGIFImage G;
    TGIFSubImage* A = AddFrame(G, TRect(0, 0, 2, 2), {0, 1, 1, 0}, {0, 0xFFFFFF});
    TGIFSubImage* B = AddFrame(G, TRect(0, 0, 2, 2), {0, 1, 1, 1}, {0, 0xFFFFFF});
    A->ExtensionBlocks()->Add(new TGIFAppExtNSLoop(A));
    B->ExtensionBlocks()->Add(new TGIFAppExtNSLoop(B));
    Control(A)->SetDelayTime(10);
    Control(B)->SetDelayTime(10);
    G.Compact(cfMerge | cfTidy, 0, 0, 8);
    ASSERT_TRUE(B->HasTransparency());
    const Byte T = B->ControlExt()->GetTransparentIndex();
    EXPECT_EQ(T, 2);
    EXPECT_EQ(std::vector<Byte>(B->Data(), B->Data() + 4), (std::vector<Byte>{T, T, T, 1}));
    EXPECT_NE(dynamic_cast<TGIFAppExtNSLoop*>(A->ExtensionBlocks()->Extension(0)), nullptr);
    for (Integer I = 0; I < B->ExtensionBlocks()->Count(); ++I)
      EXPECT_EQ(dynamic_cast<TGIFAppExtNSLoop*>(B->ExtensionBlocks()->Extension(I)), nullptr);
  }
  {
    // Disposal 2 covered wholly by the next opaque frame becomes 0; partly covered stays.
    TGIFImage G;
    TGIFSubImage* A = AddFrame(G, TRect(0, 0, 4, 4), std::vector<Byte>(16, 0), {0});
    TGIFSubImage* B = AddFrame(G, TRect(0, 0, 4, 4), std::vector<Byte>(16, 0), {0});
    TGIFSubImage* C = AddFrame(G, TRect(1, 1, 3, 3), std::vector<Byte>(4, 0), {0});
    for (TGIFSubImage* F : {A, B, C}) Control(F)->SetDelayTime(5);
    Control(A)->SetDisposalMethod(2);
    Control(B)->SetDisposalMethod(2);
    G.Compact(cfTidy, 0, 0, 8);
    EXPECT_EQ(A->ControlExt()->GetDisposalMethod(), 0);
    EXPECT_EQ(B->ControlExt()->GetDisposalMethod(), 2);
  }
  {
    // A transparent frame cropped to nothing goes; its delay moves to the transparent frame
    // before it.
    TGIFImage G;
    TGIFSubImage* A = AddFrame(G, TRect(0, 0, 3, 3), {1, 1, 1, 1, 0, 1, 1, 1, 1}, {0, 0xFFFFFF});
    TGIFSubImage* B = AddFrame(G, TRect(0, 0, 3, 3), std::vector<Byte>(9, 1), {0, 0xFFFFFF});
    for (TGIFSubImage* F : {A, B}) {
      Control(F)->SetTransparent(true);
      Control(F)->SetTransparentIndex(1);
    }
    Control(A)->SetDelayTime(7);
    Control(B)->SetDelayTime(5);
    G.Compact(cfCrop, 0, 0, 8);
    ASSERT_EQ(G.Frames()->Count(), 1);
    EXPECT_EQ(A->ControlExt()->GetDelayTime(), 12);
    EXPECT_EQ(A->FrameRect(), TRect(1, 1, 2, 2));
  }
  {
    TGIFImage G;
    AddFrame(G, TRect(0, 0, 1, 1), {0}, {0});
    ExpectError<GIFException>([&] { G.Compact(cfReduce, crCustomPalette, 0, 8); },
                              "Invalid reduction method");
    G.Compact(cfReduce | cfTidy, crCustomPalette, 0, 8);
  }
}

TEST(GIFImport, MetafilesMaskWhatTheyLeaveUnpainted) {
  TMetafile Meta;
  Meta.SetWidth(4);
  Meta.SetHeight(4);
  {
    TMetafileCanvas C(&Meta, nullptr);
    C.GetBrush()->SetColor(0x0000FF);
    C.FillRect(TRect(1, 1, 3, 3));
  }
  ASSERT_EQ(Meta.GetWidth(), 4);
  TGIFImage G;
  G.Assign(&Meta);
  ASSERT_EQ(G.Frames()->Count(), 1);
  TGIFSubImage* F = G.Frames()->SubImage(0);
  ASSERT_TRUE(F->HasTransparency());
  const Byte T = F->ControlExt()->GetTransparentIndex();
  EXPECT_EQ(F->PixelAt(0, 0), T);
  EXPECT_EQ(F->PixelAt(3, 3), T);
  EXPECT_NE(F->PixelAt(1, 1), T);
  EXPECT_EQ(F->LocalColors()->ColorAt(F->PixelAt(2, 2)), 0x0000FF);
}

TEST(GIFPicture, DitheredRenderingUsesTheWebPalette) {
  TGIFImage G;
  TGIFSubImage* F = AddFrame(G, TRect(0, 0, 2, 1), {0, 1}, {0x0A0A0A, 0x33CCFF});
  G.PaintFlags = static_cast<TGIFPaintFlags>((G.PaintFlags | gpDither) & ~gpAutoDither);
  ASSERT_TRUE(G.DitherActive());
  TBitmap* B = F->FrameImage();
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(PixelAt(*B, 1, 0), 0x33CCFFu);
  // The dark grey's error spreads; its web colour is black.
  EXPECT_EQ(PixelAt(*B, 0, 0), 0x000000u);
}

TEST(GIFPicture, ClipboardOffersABitmapAndTheGifData) {
  auto G = LoadGifBytes(FileBytes(GifData("still.gif")));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  UINT Format = 0;
  HANDLE Data = nullptr;
  HPALETTE Palette = nullptr;
  G->SaveToClipboardFormat(Format, Data, Palette);
  EXPECT_EQ(Format, CF_BITMAP);
  SetClipboardData(Format, Data);
  if (Palette) DeleteObject(Palette);
  TGIFImage Back;
  Back.LoadFromClipboardFormat(GIFClipboardFormat, nullptr, nullptr);
  EXPECT_EQ(SaveBytes(Back), SaveBytes(*G));
  TGIFImage FromBitmap;
  FromBitmap.LoadFromClipboardFormat(CF_BITMAP, nullptr, nullptr);
  EXPECT_EQ(FromBitmap.GetWidth(), 12);
  ExpectError<GIFException>([&] { FromBitmap.LoadFromClipboardFormat(12345, nullptr, nullptr); },
                            "Unsupported clipboard format");
  EmptyClipboard();
  CloseClipboard();
}

TEST(GIFImport, IconsGetABlackTransparentEntry) {
  // A 2 x 2 red icon whose right column is masked out.
  TBitmap Color;
  Color.SetPixelFormat(pf24bit);
  Color.SetWidth(2);
  Color.SetHeight(2);
  Color.GetCanvas()->GetBrush()->SetColor(0x0000FF);
  Color.GetCanvas()->FillRect(TRect(0, 0, 2, 2));
  TBitmap Mask;
  Mask.SetPixelFormat(pf1bit);
  Mask.SetWidth(2);
  Mask.SetHeight(2);
  Mask.GetCanvas()->GetBrush()->SetColor(0x000000);
  Mask.GetCanvas()->FillRect(TRect(0, 0, 2, 2));
  Mask.GetCanvas()->SetPixels(1, 0, 0xFFFFFF);
  Mask.GetCanvas()->SetPixels(1, 1, 0xFFFFFF);
  ICONINFO Info;
  Info.hbmColor = Color.GetHandle();
  Info.hbmMask = Mask.GetHandle();
  TIcon Icon;
  Icon.SetHandle(CreateIconIndirect(&Info));
  ASSERT_TRUE(Icon.HandleAllocated());
  TGIFImage G;
  G.Assign(&Icon);
  TGIFSubImage* F = G.Frames()->SubImage(0);
  ASSERT_TRUE(F->HasTransparency());
  const Byte T = F->ControlExt()->GetTransparentIndex();
  EXPECT_EQ(F->LocalColors()->ColorAt(T), 0);
  EXPECT_EQ(F->LocalColors()->Count(), T + 1);
  EXPECT_EQ(F->PixelAt(1, 0), T);
  EXPECT_EQ(F->PixelAt(1, 1), T);
  EXPECT_EQ(F->LocalColors()->ColorAt(F->PixelAt(0, 0)), 0x0000FF);
}

TEST(GIFImport, FrameCopiesOwnTheirExtensions) {
  TGIFImage G;
  TGIFSubImage* A = AddFrame(G, TRect(0, 0, 1, 1), {0}, {0});
  auto* Comment = new TGIFCommentExtension(A);
  Comment->Lines()->Add("note");
  A->ExtensionBlocks()->Add(Comment);
  TGIFSubImage Copy(&G);
  Copy.Assign(A);
  ASSERT_EQ(Copy.ExtensionBlocks()->Count(), 1);
  auto* Own = dynamic_cast<TGIFCommentExtension*>(Copy.ExtensionBlocks()->Extension(0));
  ASSERT_NE(Own, nullptr);
  EXPECT_NE(Own, Comment);
  EXPECT_EQ(Own->GetSubImage(), &Copy);
  EXPECT_EQ(Own->Lines()->GetStrings(0), "note");
}
