// GIF files: fixtures against ImageMagick, the stream layout's edge cases and round trips.
#include <gmock/gmock.h>

#include "tests/pictures/GifTestSupport.h"

namespace {

// A picture of one W x H frame with a local table of Colors entries (grey ramp) and the pixels.
std::unique_ptr<TGIFImage> MakePicture(Integer W, Integer H, Integer Colors,
                                       const std::vector<Byte>& Pixels) {
  auto G = std::make_unique<TGIFImage>();
  auto* F = new TGIFSubImage(G.get());
  G->AppendFrame(F);
  F->PlaceFrame(0, 0, W, H);
  for (Integer I = 0; I < Colors; ++I)
    F->LocalColors()->AddColor(static_cast<TColor>(RGB(I, 255 - I, I / 2)));
  std::copy(Pixels.begin(), Pixels.end(), F->Data());
  return G;
}

std::vector<Byte> Ramp(Integer Count, Integer Modulo) {
  std::vector<Byte> P(static_cast<std::size_t>(Count));
  for (Integer I = 0; I < Count; ++I)
    P[static_cast<std::size_t>(I)] = static_cast<Byte>((I * 7 + I / 5) % Modulo);
  return P;
}

std::vector<Byte> PixelsOf(TGIFSubImage* F) {
  return std::vector<Byte>(F->Data(), F->Data() + F->PixelCount());
}

}  // namespace

TEST(GIFFile, FixturesDecodeAsImageMagickDoes) {
  for (const char* Name : {"still.gif", "interlaced.gif", "anim.gif", "transparent.gif"}) {
    TWarnings W;
    auto G = LoadGifBytes(FileBytes(GifData(Name)), &W);
    EXPECT_TRUE(W.List.empty()) << Name;
    ASSERT_GT(G->Frames()->Count(), 0) << Name;
    for (Integer I = 0; I < G->Frames()->Count(); ++I)
      EXPECT_EQ(Normalised(OurFrame(G->Frames()->SubImage(I))), Normalised(MagickFrame(GifData(Name), I)))
          << Name << " frame " << I;
  }
}

TEST(GIFFile, FixturesSaveAndReloadUnchanged) {
  for (const char* Name : {"still.gif", "interlaced.gif", "anim.gif", "transparent.gif"}) {
    for (TGIFEncoding Encoding : {geLZW, geRLE}) {
      auto G = LoadGifBytes(FileBytes(GifData(Name)));
      G->Encoding = Encoding;
      const std::vector<Byte> Saved = SaveBytes(*G);
      TWarnings W;
      auto Again = LoadGifBytes(Saved, &W);
      Again->Encoding = Encoding;
      EXPECT_TRUE(W.List.empty());
      ASSERT_EQ(Again->Frames()->Count(), G->Frames()->Count()) << Name;
      EXPECT_EQ(Again->GetWidth(), G->GetWidth());
      EXPECT_EQ(Again->GetHeight(), G->GetHeight());
      const std::string Path = TempPath(std::string("resaved_") + Name);
      WriteBytes(Path, Saved);
      for (Integer I = 0; I < G->Frames()->Count(); ++I) {
        TGIFSubImage *A = G->Frames()->SubImage(I), *B = Again->Frames()->SubImage(I);
        EXPECT_EQ(B->FrameRect(), A->FrameRect());
        EXPECT_EQ(B->ExtensionBlocks()->Count(), A->ExtensionBlocks()->Count());
        EXPECT_EQ(OurFrame(B), OurFrame(A)) << Name << " frame " << I;
        // Written as plain rows: an interlaced frame is saved interlaced still.
        EXPECT_EQ(B->GetInterlaced(), A->GetInterlaced());
        EXPECT_EQ(Normalised(MagickFrame(Path, I)), Normalised(OurFrame(A))) << Name << " frame " << I;
      }
      // A second save gives the same bytes.
      const std::vector<Byte> Twice = SaveBytes(*Again);
      ASSERT_EQ(Twice.size(), Saved.size()) << Name;
      for (std::size_t I = 0; I < Twice.size(); ++I) ASSERT_EQ(Twice[I], Saved[I]) << Name << " at " << I;
    }
  }
}

TEST(GIFFile, AnimationKeepsDelaysLoopAndDisposal) {
  auto G = LoadGifBytes(FileBytes(GifData("anim.gif")));
  ASSERT_EQ(G->Frames()->Count(), 3);
  const Integer Delays[] = {5, 1, 0};
  for (Integer I = 0; I < 3; ++I) {
    TGIFGraphicControlExtension* C = G->Frames()->SubImage(I)->ControlExt();
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->GetDelayTime(), Delays[I]);
    EXPECT_EQ(C->GetDisposalMethod(), 2);
  }
  TGIFAppExtNSLoop* Loop = nullptr;
  for (Integer I = 0; I < G->Frames()->SubImage(0)->ExtensionBlocks()->Count(); ++I)
    if (auto* L = dynamic_cast<TGIFAppExtNSLoop*>(G->Frames()->SubImage(0)->ExtensionBlocks()->Extension(I)))
      Loop = L;
  ASSERT_NE(Loop, nullptr);
  EXPECT_EQ(Loop->LoopCount, 2);
  EXPECT_EQ(G->Frames()->SubImage(2)->FrameRect(), TRect(1, 1, 3, 3));
  EXPECT_EQ(G->FileVersion(), 2);
}

TEST(GIFFile, CodecsRoundTrip) {
  struct TCase {
    const char* Name;
    Integer W, H, Colors;
    bool Interlaced;
    std::vector<Byte> Pixels;
  };
  std::vector<TCase> Cases = {
      {"one pixel", 1, 1, 2, false, {1}},
      {"one colour", 9, 7, 1, false, std::vector<Byte>(63, 0)},
      {"ramp 16", 31, 17, 16, false, Ramp(31 * 17, 16)},
      {"ramp 256 large (table clears)", 300, 200, 256, false, Ramp(300 * 200, 256)},
      {"long runs", 500, 3, 4, false, {}},
      {"interlaced h1", 5, 1, 8, true, Ramp(5, 8)},
      {"interlaced h2", 5, 2, 8, true, Ramp(10, 8)},
      {"interlaced h3", 5, 3, 8, true, Ramp(15, 8)},
      {"interlaced h4", 5, 4, 8, true, Ramp(20, 8)},
      {"interlaced h13", 7, 13, 8, true, Ramp(91, 8)},
  };
  for (Integer I = 0; I < 1500; ++I) Cases[4].Pixels.push_back(static_cast<Byte>((I / 97) % 4));
  for (const TCase& C : Cases) {
    for (TGIFEncoding Encoding : {geLZW, geRLE}) {
      auto G = MakePicture(C.W, C.H, C.Colors, C.Pixels);
      G->Frames()->SubImage(0)->SetInterlaced(C.Interlaced);
      G->Encoding = Encoding;
      const std::vector<Byte> Saved = SaveBytes(*G);
      auto Again = LoadGifBytes(Saved);
      ASSERT_EQ(Again->Frames()->Count(), 1) << C.Name;
      EXPECT_EQ(PixelsOf(Again->Frames()->SubImage(0)), C.Pixels) << C.Name << " encoding " << Encoding;
      // ImageMagick reads what we write.
      const std::string Path = TempPath("codec.gif");
      WriteBytes(Path, Saved);
      EXPECT_EQ(Normalised(MagickFrame(Path, 0)), Normalised(OurFrame(G->Frames()->SubImage(0))))
          << C.Name << " encoding " << Encoding;
    }
  }
}

TEST(GIFFile, OneBitFrameUsesMinimumCodeSizeTwo) {
  auto G = MakePicture(4, 1, 2, {0, 0, 0, 0});
  const std::vector<Byte> Saved = SaveBytes(*G);
  // Header 13, no global table, descriptor 10, local table 2 x 3: code size at 29.
  ASSERT_GT(Saved.size(), 30u);
  EXPECT_EQ(Saved[13], ',');
  EXPECT_EQ(Saved[29], 2);
  // First code is the clear code 4, 3 bits wide, then pixels and the end code 5.
  EXPECT_EQ(Saved[31] & 7, 4);
}

TEST(GIFFile, PixelOutsideTheTableIsRefusedByBothCoders) {
  for (TGIFEncoding Encoding : {geLZW, geRLE}) {
    auto G = MakePicture(3, 1, 4, {0, 4, 1});
    G->Encoding = Encoding;
    ExpectError<GIFException>([&] { SaveBytes(*G); }, "Color not in color table");
  }
}

TEST(GIFFile, SignatureMayFollowFourBytesAndBeLowerCase) {
  auto G = MakePicture(3, 2, 4, {0, 1, 2, 3, 2, 1});
  std::vector<Byte> Saved = SaveBytes(*G);
  std::vector<Byte> Prefixed = {1, 2, 3, 4};
  Prefixed.insert(Prefixed.end(), Saved.begin(), Saved.end());
  EXPECT_EQ(PixelsOf(LoadGifBytes(Prefixed)->Frames()->SubImage(0)), PixelsOf(G->Frames()->SubImage(0)));
  Saved[0] = 'g';
  Saved[1] = 'i';
  Saved[2] = 'f';
  EXPECT_EQ(LoadGifBytes(Saved)->Frames()->Count(), 1);
  Saved[1] = 'x';
  TMemoryStream S;
  S.WriteBuffer(Saved.data(), static_cast<Integer>(Saved.size()));
  S.SetPosition(0);
  TGIFImage Bad;
  ExpectError<GIFException>([&] { Bad.LoadFromStream(&S); }, "Invalid GIF signature");
  // A failed read leaves the stream where it started.
  EXPECT_EQ(S.GetPosition(), 0);
}

TEST(GIFFile, TrailerAndUnknownBlocks) {
  auto G = MakePicture(2, 2, 2, {0, 1, 1, 0});
  std::vector<Byte> Saved = SaveBytes(*G);
  ASSERT_EQ(Saved.back(), ';');
  TWarnings W;
  std::vector<Byte> NoTrailer(Saved.begin(), Saved.end() - 1);
  EXPECT_EQ(LoadGifBytes(NoTrailer, &W)->Frames()->Count(), 1);
  EXPECT_TRUE(W.List.empty());
  std::vector<Byte> Junk = NoTrailer;
  Junk.push_back('x');
  EXPECT_EQ(LoadGifBytes(Junk, &W)->Frames()->Count(), 1);
  EXPECT_THAT(W.List, ::testing::ElementsAre("Unknown GIF block type", "Invalid Image trailer"));
}

TEST(GIFFile, CommentAfterTheLastImageIsKeptAndWrittenBack) {
  auto G = MakePicture(2, 1, 2, {0, 1});
  std::vector<Byte> Saved = SaveBytes(*G);
  Saved.pop_back();
  Saved[4] = '9';
  for (Integer B : std::initializer_list<Integer>{'!', 0xFE, 5, 'h', 'e', 'l', 'l', 'o', 0, ';'})
    Saved.push_back(static_cast<Byte>(B));
  auto Loaded = LoadGifBytes(Saved);
  ASSERT_EQ(Loaded->Frames()->Count(), 2);
  TGIFSubImage* Tail = Loaded->Frames()->SubImage(1);
  EXPECT_TRUE(Tail->IsEmpty());
  auto* Comment = dynamic_cast<TGIFCommentExtension*>(Tail->ExtensionBlocks()->Extension(0));
  ASSERT_NE(Comment, nullptr);
  EXPECT_EQ(Comment->Lines()->GetStrings(0), "hello");
  EXPECT_EQ(SaveBytes(*Loaded), Saved);
}

TEST(GIFFile, ZeroWidthFrameTakesTheScreenSize) {
  auto G = MakePicture(3, 2, 2, {0, 1, 0, 1, 0, 1});
  std::vector<Byte> Saved = SaveBytes(*G);
  // Descriptor at 13: ',' left top width height.
  Saved[13 + 5] = 0;
  Saved[13 + 6] = 0;
  TWarnings W;
  auto Loaded = LoadGifBytes(Saved, &W);
  EXPECT_EQ(Loaded->Frames()->SubImage(0)->FrameRect(), TRect(0, 0, 3, 2));
  EXPECT_THAT(W.List, ::testing::ElementsAre("Image exceeds Logical Screen size"));
}

TEST(GIFFile, ExtensionEdgeCases) {
  auto G = MakePicture(2, 1, 2, {0, 1});
  const std::vector<Byte> Saved = SaveBytes(*G);
  const std::vector<Byte> Head(Saved.begin(), Saved.begin() + 13);
  const std::vector<Byte> Image(Saved.begin() + 13, Saved.end());
  auto With = [&](std::vector<Byte> Extension, bool KeepImage = true) {
    std::vector<Byte> Out = Head;
    Out.insert(Out.end(), Extension.begin(), Extension.end());
    if (KeepImage) Out.insert(Out.end(), Image.begin(), Image.end());
    return Out;
  };
  {
    // A graphic control block cut short warns and keeps its values.
    TWarnings W;
    auto L = LoadGifBytes(With({'!', 0xF9, 4, 1, 7}, false), &W);
    EXPECT_THAT(W.List, ::testing::ElementsAre("Premature end of data"));
    ASSERT_EQ(L->Frames()->Count(), 1);
    ASSERT_NE(L->Frames()->SubImage(0)->ControlExt(), nullptr);
    EXPECT_EQ(L->Frames()->SubImage(0)->ControlExt()->GetDelayTime(), 0);
  }
  {
    // Size 10: an unknown application block whose identifier ends in 0, written with size 11.
    auto L = LoadGifBytes(With({'!', 0xFF, 10, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', '1', '2', 1, 9, 0}));
    auto* App =
        dynamic_cast<TGIFUnknownAppExtension*>(L->Frames()->SubImage(0)->ExtensionBlocks()->Extension(0));
    ASSERT_NE(App, nullptr);
    EXPECT_EQ(App->Ident[10], 0);
    EXPECT_EQ(App->Ident[9], '2');
    ASSERT_EQ(App->RawBlocks.size(), 1u);
    const std::vector<Byte> Again = SaveBytes(*L);
    EXPECT_EQ(Again[13 + 2], 11);
  }
  {
    // A loop sub-block of size 2 is refused.
    TGIFImage L;
    ExpectError<GIFException>(
        [&] {
          LoadBytes(L,
                    With({'!', 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 2, 1, 0, 0}));
        },
        "Invalid GIF data");
  }
  {
    TGIFImage L;
    ExpectError<GIFException>([&] { LoadBytes(L, With({'!', 0x33, 0})); }, "Unknown extension type");
    ExpectError<GIFException>(
        [&] {
          LoadBytes(L, With({'!', 0xFF, 3, 1, 2, 3, 0}));
        },
        "Unsupported Application Extension block size");
  }
}

TEST(GIFFile, HeaderPacksTheLargestTable) {
  auto G = MakePicture(2, 1, 256, {0, 255});
  G->ScreenColors()->AddColor(0);
  G->ScreenColors()->AddColor(0xFFFFFF);
  const std::vector<Byte> Saved = SaveBytes(*G);
  EXPECT_EQ(Saved[10], 0x80 | 0x70 | 0);
  EXPECT_EQ(std::string(Saved.begin(), Saved.begin() + 6), "GIF87a");
}

TEST(GIFFile, DecoderEdgeCases) {
  // Code size 11 reads as 8; an end code before the last pixel leaves the rest at 0.
  auto G = MakePicture(4, 1, 256, {7, 7, 7, 7});
  std::vector<Byte> Saved = SaveBytes(*G);
  const std::size_t At = 13 + 10 + 256 * 3;
  ASSERT_EQ(Saved[At], 8);
  Saved[At] = 11;
  EXPECT_EQ(PixelsOf(LoadGifBytes(Saved)->Frames()->SubImage(0)), (std::vector<Byte>{7, 7, 7, 7}));
  // Clear (256), 7, end (257) at 9 bits: the three other pixels keep the fill value.
  std::vector<Byte> Short(Saved.begin(), Saved.begin() + static_cast<std::ptrdiff_t>(At));
  const Cardinal Bits = 256u | (7u << 9) | (257u << 18);
  for (Integer B : std::initializer_list<Integer>{
           8, 4, static_cast<Integer>(Bits & 0xFF), static_cast<Integer>((Bits >> 8) & 0xFF),
           static_cast<Integer>((Bits >> 16) & 0xFF), static_cast<Integer>(Bits >> 24), 0, ';'})
    Short.push_back(static_cast<Byte>(B));
  EXPECT_EQ(PixelsOf(LoadGifBytes(Short)->Frames()->SubImage(0)), (std::vector<Byte>{7, 0, 0, 0}));
}

TEST(GIFFile, DamagedDataNeverReadsOutside) {
  const std::vector<Byte> Good = FileBytes(GifData("interlaced.gif"));
  for (std::size_t Cut = 0; Cut < Good.size(); Cut += 7) {
    std::vector<Byte> Part(Good.begin(), Good.begin() + static_cast<std::ptrdiff_t>(Cut));
    try {
      LoadGifBytes(Part);
    } catch (const GIFException&) {
    }
  }
  // A frame claiming 65535 x 65535 pixels from a few bytes is refused before allocating.
  std::vector<Byte> Huge = {'G', 'I', 'F', '8', '9',  'a',  1,    0,    1, 0, 0, 0, 0, ',',
                            0,   0,   0,   0,   0xFF, 0xFF, 0xFF, 0xFF, 0, 8, 1, 0, 0, ';'};
  TGIFImage L;
  ExpectError<GIFException>([&] { LoadBytes(L, Huge); }, "Premature end of data");
}

TEST(GIFFile, MutatedFilesAreReadOrRefused) {
  // Deterministic byte changes over the fixtures: every outcome is a picture or a GIF error.
  Cardinal Seed = 2024;
  auto Next = [&] {
    Seed = Seed * 1664525u + 1013904223u;
    return Seed >> 8;
  };
  for (const char* Name : {"still.gif", "interlaced.gif", "anim.gif", "transparent.gif"}) {
    const std::vector<Byte> Good = FileBytes(GifData(Name));
    for (Integer Round = 0; Round < 300; ++Round) {
      std::vector<Byte> Bad = Good;
      const Integer Changes = 1 + static_cast<Integer>(Next() % 4);
      for (Integer C = 0; C < Changes; ++C) Bad[Next() % Bad.size()] = static_cast<Byte>(Next());
      if (Next() % 5 == 0) Bad.resize(Next() % Bad.size());
      try {
        auto G = LoadGifBytes(Bad);
        if (Int64(G->GetWidth()) * G->GetHeight() > 1 << 20) continue;
        for (Integer I = 0; I < G->Frames()->Count(); ++I) G->Frames()->SubImage(I)->FrameImage();
        SaveBytes(*G);
      } catch (const GIFException&) {
      } catch (const EInvalidGraphic&) {
      }
    }
  }
}
