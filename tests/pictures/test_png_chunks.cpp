// The PNG chunk layer and file structure: framing, CRC, header checks, palette, transparency,
// gamma, texts, the registry and the list, and how the reader keeps or drops chunks.
#include <gtest/gtest.h>

#include "tests/pictures/PngTestUtil.h"

namespace {
// A valid 3 x 2 RGB image's data chunk.
std::vector<Byte> RgbIdat() {
  return Chunk("IDAT", Deflated(std::vector<Byte>(2 * 10, 0)));
}

std::vector<Byte> RgbFileWith(std::initializer_list<std::vector<Byte>> Before,
                              std::initializer_list<std::vector<Byte>> After = {}) {
  std::vector<Byte> F = Concat({Signature(), Ihdr(3, 2, 8, 2)});
  for (const auto& C : Before) F.insert(F.end(), C.begin(), C.end());
  const std::vector<Byte> I = RgbIdat();
  F.insert(F.end(), I.begin(), I.end());
  for (const auto& C : After) F.insert(F.end(), C.begin(), C.end());
  const std::vector<Byte> E = Chunk("IEND", {});
  F.insert(F.end(), E.begin(), E.end());
  return F;
}

std::vector<std::string> ChunkNames(TPNGObject& P) {
  std::vector<std::string> Names;
  for (Cardinal I = 0; I < P.GetChunks()->GetCount(); ++I) Names.push_back(P.GetChunks()->Item(I)->GetName());
  return Names;
}

template <class E>
void ExpectLoadError(const std::vector<Byte>& File, const char* Message, TPNGObject* Into = nullptr) {
  TPNGObject Local;
  TPNGObject& P = Into ? *Into : Local;
  try {
    LoadPng(P, File);
    ADD_FAILURE() << "no error: " << Message;
  } catch (const E& Error) {
    EXPECT_STREQ(Error.what(), Message);
  }
}
}  // namespace

TEST(PngChunks, FramingAndCrc) {
  TPNGObject P;
  TChunkIEND End(&P);
  TMemoryStream S;
  End.SaveToStream(&S);
  const Byte* B = static_cast<const Byte*>(S.GetMemory());
  EXPECT_EQ(std::vector<Byte>(B, B + S.GetSize()),
            (std::vector<Byte>{0, 0, 0, 0, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82}));

  std::vector<Byte> Text = Chunk("tEXt", {'a', 0, 'b'});
  Text.back() ^= 0x01;
  ExpectLoadError<EPngInvalidCRC>(RgbFileWith({Text}),
                                  "This \"Portable Network Graphics\" image is not valid because it contains "
                                  "invalid pieces of data (crc error)");
  // A chunk cut short shows as a CRC error too.
  std::vector<Byte> Short = Concat({Signature(), Ihdr(3, 2, 8, 2), BE32(100), {'t', 'E', 'X', 't', 1, 2}});
  EXPECT_THROW(LoadPng(P, Short), EPngInvalidCRC);
}

TEST(PngChunks, HeaderChecks) {
  const char* InvalidIhdr =
      "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data "
      "(ihdr) "
      "might be corrupted";
  auto WithHeader = [](const std::vector<Byte>& Header) {
    return Concat({Signature(), Header, RgbIdat(), Chunk("IEND", {})});
  };
  std::vector<Byte> Twelve = Ihdr(3, 2, 8, 2);
  Twelve = Chunk("IHDR", std::vector<Byte>(Twelve.begin() + 8, Twelve.begin() + 20));
  ExpectLoadError<EPngInvalidIHDR>(WithHeader(Twelve), InvalidIhdr);
  ExpectLoadError<EPNGSizeExceeds>(
      WithHeader(Ihdr(65536, 1, 8, 2)),
      "This \"Portable Network Graphics\" image is not supported because either it's "
      "width or height exceeds the maximum size, which is 65535 pixels length.");
  ExpectLoadError<EPNGUnknownCompression>(
      WithHeader(Ihdr(3, 2, 8, 2, 0, 1)),
      "This \"Portable Network Graphics\" image is encoded with an unknown "
      "compression scheme which could not be decoded.");
  ExpectLoadError<EPNGUnknownInterlace>(WithHeader(Ihdr(3, 2, 8, 2, 2)),
                                        "This \"Portable Network Graphics\" image uses an unknown interlace "
                                        "scheme which could not be decoded.");
  // Formats without pixel storage, and empty images, are refused.
  for (auto [Depth, Type] : {std::pair{8, 1}, {4, 2}, {16, 3}, {3, 0}, {4, 6}, {8, 7}})
    ExpectLoadError<EPngInvalidIHDR>(
        WithHeader(Ihdr(3, 2, static_cast<Byte>(Depth), static_cast<Byte>(Type))), InvalidIhdr);
  ExpectLoadError<EPngInvalidIHDR>(WithHeader(Ihdr(0, 2, 8, 2)), InvalidIhdr);

  // The widest image is accepted.
  std::vector<Byte> Row(1 + 65535 * 3, 0);
  TPNGObject Wide;
  LoadPng(Wide, Concat({Signature(), Ihdr(65535, 1, 8, 2), Chunk("IDAT", Deflated(Row)), Chunk("IEND", {})}));
  EXPECT_EQ(Wide.GetWidth(), 65535);
  // A header claiming far more pixels than the rest of the file could ever hold makes none.
  ExpectLoadError<EPngUnexpectedEnd>(Concat({Signature(), Ihdr(65535, 65535, 16, 6), Chunk("IEND", {})}),
                                     "This \"Portable Network Graphics\" image is invalid because the "
                                     "decoder found an unexpected end of the file.");
}

TEST(PngChunks, PaletteAndTransparencySizes) {
  auto PaletteFile = [](const std::vector<Byte>& Plte, const std::vector<Byte>& Trns) {
    std::vector<Byte> F = Concat({Signature(), Ihdr(2, 1, 8, 3), Chunk("PLTE", Plte)});
    if (!Trns.empty()) F = Concat({F, Chunk("tRNS", Trns)});
    return Concat({F, Chunk("IDAT", Deflated({0, 1, 2})), Chunk("IEND", {})});
  };
  const char* Invalid = "The \"Portable Network Graphics\" image contains an invalid palette.";
  ExpectLoadError<EPNGInvalidPalette>(PaletteFile(std::vector<Byte>(10, 1), {}), Invalid);
  ExpectLoadError<EPNGInvalidPalette>(PaletteFile(std::vector<Byte>(771, 1), {}), Invalid);
  ExpectLoadError<EPNGInvalidPalette>(PaletteFile(std::vector<Byte>(9, 1), std::vector<Byte>(257, 1)),
                                      Invalid);
  TPNGObject P;
  LoadPng(P, PaletteFile(std::vector<Byte>(768, 1), {}));
  EXPECT_EQ(P.GetChunks()->FindByClass<TChunkPLTE>()->EntryCount, 256);

  std::vector<Byte> Plte = {10, 20, 30, 40, 50, 60, 70, 80, 90};
  LoadPng(P, PaletteFile(Plte, {255, 0, 255}));
  EXPECT_TRUE(P.GetChunks()->FindByClass<TChunktRNS>()->KeyedOnly);
  EXPECT_EQ(P.TransparencyKind(), ptKeyColor);
  EXPECT_EQ(P.KeyColor(), static_cast<TColor>(RGB(40, 50, 60)));
  LoadPng(P, PaletteFile(Plte, {0, 0}));
  EXPECT_FALSE(P.GetChunks()->FindByClass<TChunktRNS>()->KeyedOnly);
  EXPECT_EQ(P.TransparencyKind(), ptAlphaBlend);
  // The colours reach the colour table and the pixels.
  EXPECT_EQ(P.GetPixelColor(0, 0), static_cast<TColor>(RGB(40, 50, 60)));
  EXPECT_EQ(P.GetPixelColor(1, 0), static_cast<TColor>(RGB(70, 80, 90)));
  EXPECT_THROW(P.GetChunks()->FindByClass<TChunkPLTE>()->Entry(3), EPngError);
}

TEST(PngChunks, GammaTables) {
  auto Gamma = [](Cardinal G) {
    TPNGObject P;
    LoadPng(P, RgbFileWith({Chunk("gAMA", BE32(G))}));
    return std::pair{P.DecodeGamma, P.EncodeGamma};
  };
  auto [D1, E1] = Gamma(45455);
  for (Integer I = 0; I < 256; ++I) ASSERT_EQ(D1[I], I);
  auto [D2, E2] = Gamma(100000);
  EXPECT_EQ(D2[128], 186);
  EXPECT_EQ(E2[186], 128);
  EXPECT_EQ(D2[0], 0);
  EXPECT_EQ(D2[255], 255);
  auto [D3, E3] = Gamma(0);
  for (Integer I = 0; I < 256; ++I) ASSERT_EQ(D3[I], I);

  // A gamma'd RGB sample shows mapped and is written back through the inverse table.
  TPNGObject P;
  LoadPng(P, Concat({Signature(), Ihdr(1, 1, 8, 2), Chunk("gAMA", BE32(100000)),
                     Chunk("IDAT", Deflated({0, 128, 0, 255})), Chunk("IEND", {})}));
  EXPECT_EQ(P.GetPixelColor(0, 0), static_cast<TColor>(RGB(186, 0, 255)));
}

TEST(PngChunks, TextChunks) {
  TPNGObject P;
  LoadPng(P, RgbFileWith({Chunk("tEXt", {'T', 'i', 't', 'l', 'e', 0, 'a', 'b', 'c'})}));
  auto* T = P.GetChunks()->FindByClass<TChunktEXt>();
  ASSERT_NE(T, nullptr);
  EXPECT_EQ(T->Keyword, "Title");
  EXPECT_EQ(T->Text, "abc");
  TMemoryStream S;
  T->SaveToStream(&S);
  const Byte* B = static_cast<const Byte*>(S.GetMemory());
  EXPECT_EQ(std::vector<Byte>(B + 8, B + 17), (std::vector<Byte>{'T', 'i', 't', 'l', 'e', 0, 'a', 'b', 'c'}));

  std::vector<Byte> Z = {'K', 0, 0};
  const std::vector<Byte> Packed = Deflated({'h', 'e', 'l', 'l', 'o'});
  Z.insert(Z.end(), Packed.begin(), Packed.end());
  std::vector<Byte> Other = Z;
  Other[2] = 1;
  LoadPng(P, RgbFileWith({Chunk("zTXt", Z), Chunk("zTXt", Other)}));
  auto* First = dynamic_cast<TChunkzTXt*>(P.GetChunks()->Item(1));
  auto* Second = dynamic_cast<TChunkzTXt*>(P.GetChunks()->Item(2));
  ASSERT_TRUE(First && Second);
  EXPECT_EQ(First->Keyword, "K");
  EXPECT_EQ(First->Text, "hello");
  EXPECT_EQ(Second->Text, "");
  // FindByClass finds a zTXt when asked for tEXt.
  EXPECT_EQ(P.GetChunks()->FindByClass<TChunktEXt>(), First);

  TChunkzTXt Empty(&P);
  Empty.Keyword = "A";
  TMemoryStream Out;
  EXPECT_TRUE(Empty.SaveToStream(&Out));
  const Byte* O = static_cast<const Byte*>(Out.GetMemory());
  const std::vector<Byte> Data(O + 8, O + Out.GetSize() - 4);
  ASSERT_GE(Data.size(), 4u);
  EXPECT_EQ(Data[0], 'A');
  EXPECT_EQ(Data[1], 0);
  EXPECT_EQ(Data[2], 0);
  std::vector<Byte> Text;
  std::string Error;
  ASSERT_TRUE(InflateBlock(Data.data() + 3, Data.size() - 3, Text, Error));
  EXPECT_EQ(Text, std::vector<Byte>{' '});
}

TEST(PngChunks, ResolutionAndTimeTravelWithTheirFields) {
  const std::vector<Byte> Phys = Chunk("pHYs", {0, 0, 0x0B, 0x13, 0, 0, 0x0B, 0x12, 1});
  const std::vector<Byte> Time = Chunk("tIME", {0x07, 0xEA, 12, 11, 10, 9, 8});
  const std::vector<Byte> OddTime = Chunk("tIME", {1, 2, 3});
  TPNGObject P;
  LoadPng(P, RgbFileWith({Phys, Time, OddTime}));
  auto* R = P.GetChunks()->FindByClass<TChunkpHYs>();
  auto* T = P.GetChunks()->FindByClass<TChunktIME>();
  ASSERT_TRUE(R && T);
  EXPECT_EQ(R->PixelsPerUnitX, 2835u);
  EXPECT_EQ(R->PixelsPerUnitY, 2834u);
  EXPECT_EQ(R->UnitSpecifier, 1);
  EXPECT_EQ(T->Year, 2026);
  EXPECT_EQ(T->Month, 12);
  EXPECT_EQ(T->Second, 8);
  // Written from the fields: the odd-sized tIME comes back as a whole (zero) one.
  TPNGObject Copy;
  Copy.Assign(&P);
  const std::vector<Byte> Saved = SavePng(Copy);
  EXPECT_NE(std::search(Saved.begin(), Saved.end(), Phys.begin(), Phys.end()), Saved.end());
  EXPECT_NE(std::search(Saved.begin(), Saved.end(), Time.begin(), Time.end()), Saved.end());
  const std::vector<Byte> Zero = Chunk("tIME", std::vector<Byte>(7, 0));
  EXPECT_NE(std::search(Saved.begin(), Saved.end(), Zero.begin(), Zero.end()), Saved.end());
}

TEST(PngChunks, RegistryAndList) {
  TPNGObject P;
  EXPECT_EQ(TChunkIHDR(&P).GetChunkName(), "IHDR");
  EXPECT_EQ(TChunk(&P).GetChunkName(), "");
  std::unique_ptr<TChunk> Unknown(NewChunkForName(&P, "iTXt"));
  EXPECT_EQ(Unknown->ClassInfo(), ChunkClassOf<TChunk>());
  EXPECT_EQ(Unknown->GetName(), "iTXt");
  std::unique_ptr<TChunk> Known(NewChunkForName(&P, "gAMA"));
  EXPECT_NE(dynamic_cast<TChunkgAMA*>(Known.get()), nullptr);
  std::unique_ptr<TChunk> CaseMatters(NewChunkForName(&P, "gama"));
  EXPECT_EQ(CaseMatters->ClassInfo(), ChunkClassOf<TChunk>());

  TPNGPointerList L(nullptr);
  int A = 0, B = 0;
  L.Add(&A);
  L.Add(&B);
  L.Add(&A);
  EXPECT_EQ(L.Remove(&A), &A);
  ASSERT_EQ(L.GetCount(), 2u);
  EXPECT_EQ(L.GetItem(0), &A);
  EXPECT_EQ(L.GetItem(1), &B);
  EXPECT_EQ(L.GetItem(static_cast<Cardinal>(-1)), nullptr);
  EXPECT_EQ(L.Remove(&L), nullptr);
}

TEST(PngChunks, ReaderKeepsDropsAndStops) {
  ExpectLoadError<EPNGInvalidFileHeader>({1, 2, 3, 4, 5, 6, 7, 8, 9},
                                         "The file being readed is not a valid \"Portable Network Graphics\" "
                                         "image because it contains an invalid "
                                         "header. This file may be corruped, try obtaining it again.");

  TPNGObject P;
  const std::vector<Byte> Good = RgbFileWith({});
  ExpectLoadError<EPngUnexpectedEnd>(std::vector<Byte>(Good.begin(), Good.end() - 12),
                                     "This \"Portable Network Graphics\" image is invalid because the "
                                     "decoder found an unexpected end of the file.",
                                     &P);
  EXPECT_EQ(ChunkNames(P), (std::vector<std::string>{"IHDR", "IDAT"}));

  ExpectLoadError<EPNGIHDRNotFirst>(Concat({Signature(), Chunk("tEXt", {'a', 0, 'b'}), Ihdr(3, 2, 8, 2)}),
                                    "This \"Portable Network Graphics\" image is not supported or it might "
                                    "be invalid.\r\n(IHDR chunk is not the "
                                    "first)",
                                    &P);
  EXPECT_TRUE(P.Empty());
  ExpectLoadError<EPNGUnknownCriticalChunk>(RgbFileWith({Chunk("ABCD", {1})}),
                                            "This \"Portable Network Graphics\" image contains an unknown "
                                            "critical part which could not be decoded.",
                                            &P);
  EXPECT_EQ(ChunkNames(P), (std::vector<std::string>{"IHDR", "ABCD"}));
  ExpectLoadError<EPNGNoImageData>(Concat({Signature(), Ihdr(3, 2, 8, 2), Chunk("IEND", {})}),
                                   "This \"Portable Network Graphics\" image contains no data.");

  // cHRM is dropped, an unknown ancillary chunk kept whole, a late IDAT skipped.
  const std::vector<Byte> Ancillary = Chunk("abCd", {9, 8, 7});
  LoadPng(P, RgbFileWith({Chunk("cHRM", std::vector<Byte>(32, 1)), Ancillary},
                         {Chunk("tEXt", {'k', 0, 'v'}), RgbIdat()}));
  EXPECT_EQ(ChunkNames(P), (std::vector<std::string>{"IHDR", "abCd", "IDAT", "tEXt", "IEND"}));
  const std::vector<Byte> Saved = SavePng(P);
  EXPECT_NE(std::search(Saved.begin(), Saved.end(), Ancillary.begin(), Ancillary.end()), Saved.end());
  EXPECT_EQ(std::search(Saved.begin(), Saved.end(), std::begin("cHRM"), std::begin("cHRM") + 4), Saved.end());
  TPNGObject Back;
  LoadPng(Back, Saved);
  EXPECT_EQ(ChunkNames(Back), ChunkNames(P));

  // A copy saves the same bytes.
  TPNGObject Copy;
  Copy.Assign(&P);
  EXPECT_EQ(SavePng(Copy), Saved);
  // An empty picture saves the signature alone.
  TPNGObject None;
  EXPECT_EQ(SavePng(None), Signature());
}
