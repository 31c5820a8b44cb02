// The DICOM reader against dcm2pnm: files made by dcmtk in every transfer syntax the reader
// decodes, read by both. dcm2pnm gets the options that match our grey pipeline: the file's
// window (+Wi 1) where the file has one; a min-max window (+Wm) where our contrast stretch
// maps the frame's smallest and largest value to the full range (native 9 to 16-bit, and
// compressed grey frames); no window for native 8-bit grey, which is only inverted when
// MONOCHROME1. 16-bit results are compared as 16-bit values (+opw), allowing 1 for the tool's
// rounding where we truncate (and for its MONOCHROME1 inversion, which rounds one level away from
// the bitwise one at some levels). This dcm2pnm reads no JPEG: dcmdjpeg unpacks those files first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/imaging/formats/DicomTestSupport.h"

namespace {

std::vector<Integer> Ramp(Integer Count, Integer Step, Integer Modulo, Integer Base = 0) {
  std::vector<Integer> V;
  for (Integer I = 0; I < Count; ++I) V.push_back(Base + (I * Step + (I * I) % 13) % Modulo);
  return V;
}

// Three 7 x 5 frames of 12-bit samples.
TDicomSource Grey12() {
  TDicomSource S;
  S.Columns = 7;
  S.Rows = 5;
  S.Frames = 3;
  S.SetWords(Ramp(7 * 5 * 3, 97, 4096));
  return S;
}

TDicomSource Grey8(const std::string& Photometric) {
  TDicomSource S;
  S.Columns = 9;
  S.Rows = 6;
  S.BitsAllocated = 8;
  S.BitsStored = 8;
  S.Photometric = Photometric;
  for (const Integer V : Ramp(9 * 6, 29, 200, 20)) S.Pixels.push_back(static_cast<Byte>(V));
  return S;
}

TDicomSource Rgb8(Integer Planar) {
  TDicomSource S;
  S.Columns = 6;
  S.Rows = 4;
  S.SamplesPerPixel = 3;
  S.BitsAllocated = 8;
  S.BitsStored = 8;
  S.PlanarConfiguration = Planar;
  S.Photometric = "RGB";
  for (const Integer V : Ramp(6 * 4 * 3, 53, 256)) S.Pixels.push_back(static_cast<Byte>(V));
  return S;
}

struct TCrossCase {
  const char* Name;
  TDicomSource (*Source)();
  const char* Tool;     // converter run on the dump2dcm file, or nullptr
  const char* Options;  // its options
  const char* Dcm2pnm;  // options of the outside reader, without the frame
  Integer Frame;
  Integer Tolerance;
};

TDicomSource Grey12Windowed() {
  TDicomSource S = Grey12();
  // Rescaled values run from -100 to 8090: the window clips at both ends.
  S.Extra =
      "(0028,1050) DS [2000\\1000]\n(0028,1051) DS [1000\\500]\n(0028,1052) DS [-100]\n(0028,1053) DS [2]\n";
  return S;
}

TDicomSource Grey12Monochrome1() {
  TDicomSource S = Grey12();
  S.Photometric = "MONOCHROME1";
  return S;
}

// Signed samples whose most negative value comes after positive ones.
TDicomSource Signed16() {
  TDicomSource S;
  S.Columns = 4;
  S.Rows = 3;
  S.BitsStored = 16;
  S.PixelRepresentation = 1;
  S.SetWords({300, 1200, -40, 5, 700, -900, 0, 20000, -30000, 12, 8, 1});
  return S;
}

// Unsigned samples above 32767.
TDicomSource Unsigned16() {
  TDicomSource S;
  S.Columns = 4;
  S.Rows = 3;
  S.BitsStored = 16;
  S.SetWords({100, 65535, 40000, 32768, 32767, 7, 50000, 61000, 1000, 2, 45000, 30000});
  return S;
}

TDicomSource Grey8Mono2() {
  return Grey8("MONOCHROME2");
}
TDicomSource Grey8Mono1() {
  return Grey8("MONOCHROME1");
}
TDicomSource RgbInterleaved() {
  return Rgb8(0);
}
TDicomSource RgbPlanar() {
  return Rgb8(1);
}

// 12-bit samples packed two to three bytes, across row ends (5 x 3 is odd).
TDicomSource Packed12() {
  TDicomSource S;
  S.Columns = 5;
  S.Rows = 3;
  S.BitsAllocated = 12;
  S.BitsStored = 12;
  const std::vector<Integer> V = Ramp(15, 331, 4096);
  for (size_t I = 0; I < V.size(); I += 2) {
    const Integer A = V[I], B = I + 1 < V.size() ? V[I + 1] : 0;
    S.Pixels.push_back(static_cast<Byte>(A & 0xFF));
    S.Pixels.push_back(static_cast<Byte>((A >> 8) | ((B & 0x0F) << 4)));
    S.Pixels.push_back(static_cast<Byte>(B >> 4));
  }
  return S;
}

// Palette entries of 16 bits whose high and low bytes agree, so 8-bit views of them agree.
TDicomSource Palette8() {
  TDicomSource S = Grey8("PALETTE COLOR");
  std::ostringstream Extra;
  Extra << "(0028,1101) US 256\\0\\16\n(0028,1102) US 256\\0\\16\n(0028,1103) US 256\\0\\16\n";
  const char* Names[] = {"1201", "1202", "1203"};
  for (Integer C = 0; C < 3; ++C) {
    Extra << "(0028," << Names[C] << ") OW ";
    for (Integer I = 0; I < 256; ++I) {
      const Integer V = (I * (C + 2) * 7) % 256;
      Extra << (I ? "\\" : "") << std::hex << V * 257 << std::dec;
    }
    Extra << "\n";
  }
  S.Extra = Extra.str();
  return S;
}

const TCrossCase CrossCases[] = {
    {"explicit little-endian", Grey12, nullptr, "", "+Wm +opw", 1, 1},
    {"implicit little-endian", Grey12, "dcmconv", "+ti", "+Wm +opw", 2, 1},
    {"explicit big-endian", Grey12, "dcmconv", "+tb", "+Wm +opw", 0, 1},
    {"RLE, three frames", Grey12, "dcmcrle", "", "+Wm +opw", 2, 1},
    {"lossless JPEG, selection value 1", Grey12, "dcmcjpeg", "+e1", "+Wm +opw", 1, 1},
    {"lossless JPEG, predictor 2", Grey12, "dcmcjpeg", "+el +sv 2", "+Wm +opw", 0, 1},
    {"lossless JPEG, predictor 3", Grey12, "dcmcjpeg", "+el +sv 3", "+Wm +opw", 1, 1},
    {"lossless JPEG, predictor 4", Grey12, "dcmcjpeg", "+el +sv 4", "+Wm +opw", 2, 1},
    {"lossless JPEG, predictor 5", Grey12, "dcmcjpeg", "+el +sv 5", "+Wm +opw", 0, 1},
    {"lossless JPEG, predictor 6", Grey12, "dcmcjpeg", "+el +sv 6", "+Wm +opw", 1, 1},
    {"lossless JPEG, predictor 7", Grey12, "dcmcjpeg", "+el +sv 7", "+Wm +opw", 2, 1},
    {"rescale and window", Grey12Windowed, nullptr, "", "+Wi 1 +opw", 1, 1},
    {"rescale and window, RLE", Grey12Windowed, "dcmcrle", "", "+Wi 1 +opw", 0, 1},
    {"MONOCHROME1, 16-bit", Grey12Monochrome1, nullptr, "", "+Wm +opw", 0, 1},
    {"signed, negative after positive", Signed16, nullptr, "", "+Wm +opw", 0, 1},
    {"unsigned above 32767", Unsigned16, nullptr, "", "+Wm +opw", 0, 1},
    {"12-bit packed", Packed12, nullptr, "", "+Wm +opw", 0, 1},
    {"8-bit grey", Grey8Mono2, nullptr, "", "", 0, 0},
    {"8-bit MONOCHROME1", Grey8Mono1, nullptr, "", "", 0, 1},
    {"8-bit grey, RLE", Grey8Mono2, "dcmcrle", "", "+Wm", 0, 1},
    {"8-bit grey, lossless JPEG", Grey8Mono2, "dcmcjpeg", "+e1", "+Wm", 0, 1},
    {"8-bit MONOCHROME1, RLE", Grey8Mono1, "dcmcrle", "", "+Wm", 0, 1},
    {"8-bit grey, baseline JPEG", Grey8Mono2, "dcmcjpeg", "+eb +q 95", "+Wm", 0, 3},
    {"palette colour", Palette8, nullptr, "", "", 0, 0},
    {"RGB", RgbInterleaved, nullptr, "", "", 0, 0},
    {"RGB, planar", RgbPlanar, nullptr, "", "", 0, 0},
    {"RGB, RLE", RgbInterleaved, "dcmcrle", "", "", 0, 0},
    {"RGB, lossless JPEG", RgbInterleaved, "dcmcjpeg", "+e1", "", 0, 0},
    {"RGB, baseline JPEG", RgbInterleaved, "dcmcjpeg", "+eb +q 95", "", 0, 6},
};

TEST(TDicomCrossCheck, EveryTransferSyntaxReadsAsDcm2pnmShowsIt) {
  SKIP_WITHOUT_DCMTK();
  TDicomFolder Folder;
  for (const TCrossCase& Case : CrossCases) {
    SCOPED_TRACE(Case.Name);
    const TDicomSource Source = Case.Source();
    std::string File = MakeDicom(Folder, "source.dcm", Source);
    if (Case.Tool) File = ConvertDicom(Case.Tool, Case.Options, File, Folder / "converted.dcm");
    const auto Read = ReadDicomFile(File, Case.Frame);
    ASSERT_FALSE(Read->Aborted);
    // dcm2pnm of Debian's dcmtk reads no JPEG: dcmtk's own decoder unpacks those first.
    const std::string Plain = std::string(Case.Tool ? Case.Tool : "") == "dcmcjpeg"
                                  ? ConvertDicom("dcmdjpeg", "", File, Folder / "plain.dcm")
                                  : File;
    const TPnmPicture Theirs =
        Dcm2pnm(Plain, std::string(Case.Dcm2pnm) + " +F " + std::to_string(Case.Frame + 1));
    ASSERT_GT(Theirs.Width, 0);
    EXPECT_TRUE(SamePicture(PictureSamples(Read->Bitmap), Theirs, Case.Tolerance));
    EXPECT_EQ(Read->Params.Width, Source.Columns);
    EXPECT_EQ(Read->Params.Height, Source.Rows);
    EXPECT_EQ(Read->Params.ImageCount, Source.Frames);
    EXPECT_EQ(Read->Params.BitsPerSample, Source.BitsStored);
    EXPECT_EQ(Read->Params.SamplesPerPixel, Source.SamplesPerPixel);
  }
}

}  // namespace
