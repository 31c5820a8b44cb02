#pragma once
// Builds small TIFF files in memory for the reader's tests, in either byte order: pages of
// tags with their values, strips of raw bytes and sub-directories. The layout is the plain
// one: header, then per page its strips, its out-of-line values and its directory.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/system/Types.h"

struct TTiffTestTag {
  Word Tag = 0;
  Word Type = 0;
  std::vector<uint64_t> Values;  // bytes for BYTE, ASCII and UNDEFINED; numerator, denominator pairs
  bool StripOffsets = false;     // filled with the strips' positions when built
};

class TTiffTestPage {
 public:
  TTiffTestPage& Short(Word Tag, std::initializer_list<uint64_t> Values) { return Add(Tag, 3, Values); }
  TTiffTestPage& Long(Word Tag, std::initializer_list<uint64_t> Values) { return Add(Tag, 4, Values); }
  TTiffTestPage& Rational(Word Tag, uint64_t Numerator, uint64_t Denominator) {
    return Add(Tag, 5, {Numerator, Denominator});
  }
  TTiffTestPage& Ascii(Word Tag, const std::string& Text) {
    TTiffTestTag T{Tag, 2, {Text.begin(), Text.end()}};
    T.Values.push_back(0);
    Tags.push_back(T);
    return *this;
  }
  // StripOffsets and StripByteCounts (LONG) for the strips, which are written before the page.
  TTiffTestPage& Strips(const std::vector<std::vector<Byte>>& Data) {
    StripData = Data;
    TTiffTestTag Counts{279, 4, {}};
    for (const auto& S : Data) Counts.Values.push_back(S.size());
    TTiffTestTag Offsets{273, 4, std::vector<uint64_t>(Data.size(), 0), true};
    Tags.push_back(Offsets);
    Tags.push_back(Counts);
    return *this;
  }
  // A SubIFDs tag (330) pointing at these pages.
  TTiffTestPage& SubPages(const std::vector<TTiffTestPage>& Pages) {
    Subs = Pages;
    return *this;
  }
  // A tag (LONG) holding the offset of a directory of its own, such as the EXIF directory.
  TTiffTestPage& Linked(Word Tag, const TTiffTestPage& Page) {
    Links.emplace_back(Tag, Page);
    return *this;
  }
  // The values of a tag added before.
  std::vector<uint64_t>& ValuesOf(Word Tag) {
    return std::find_if(Tags.begin(), Tags.end(), [&](const TTiffTestTag& T) { return T.Tag == Tag; })
        ->Values;
  }
  void Remove(Word Tag) {
    std::erase_if(Tags, [&](const TTiffTestTag& T) { return T.Tag == Tag; });
  }
  TTiffTestPage& Add(Word Tag, Word Type, std::initializer_list<uint64_t> Values) {
    Tags.push_back({Tag, Type, Values});
    return *this;
  }

  std::vector<TTiffTestTag> Tags;
  std::vector<std::vector<Byte>> StripData;
  std::vector<TTiffTestPage> Subs;
  std::vector<std::pair<Word, TTiffTestPage>> Links;
};

class TTiffTestFile {
 public:
  explicit TTiffTestFile(bool BigEndian = false) : FBigEndian(BigEndian) {}

  std::vector<Byte> Build(const std::vector<TTiffTestPage>& Pages) {
    FOut.clear();
    const Byte Order = FBigEndian ? 'M' : 'I';
    FOut = {Order, Order};
    PutWord(42);
    const std::size_t FirstLink = FOut.size();
    PutDWord(0);
    std::size_t Link = FirstLink;
    for (const TTiffTestPage& Page : Pages) {
      const uint64_t Ifd = WritePage(Page);
      PatchDWord(Link, Ifd);
      Link = FOut.size() - 4;
    }
    return FOut;
  }

 private:
  static Integer TypeSize(Word Type) { return Type == 3 ? 2 : Type == 4 ? 4 : Type == 5 ? 8 : 1; }

  void PutWord(uint64_t V) {
    const Byte Lo = Byte(V), Hi = Byte(V >> 8);
    if (FBigEndian)
      FOut.insert(FOut.end(), {Hi, Lo});
    else
      FOut.insert(FOut.end(), {Lo, Hi});
  }
  void PutDWord(uint64_t V) {
    for (Integer I = 0; I < 4; ++I) FOut.push_back(Byte(V >> (FBigEndian ? 24 - 8 * I : 8 * I)));
  }
  void PatchDWord(std::size_t At, uint64_t V) {
    for (Integer I = 0; I < 4; ++I) FOut[At + I] = Byte(V >> (FBigEndian ? 24 - 8 * I : 8 * I));
  }
  void PutValues(const TTiffTestTag& T) {
    for (uint64_t V : T.Values) {
      if (T.Type == 3)
        PutWord(V);
      else if (T.Type == 4 || T.Type == 5)
        PutDWord(V);
      else
        FOut.push_back(Byte(V));
    }
  }

  uint64_t WritePage(const TTiffTestPage& Page) {
    std::vector<TTiffTestTag> Tags = Page.Tags;
    if (!Page.Subs.empty()) {
      TTiffTestTag Sub{330, 4, {}};
      for (const TTiffTestPage& P : Page.Subs) {
        const uint64_t Ifd = WritePage(P);
        Sub.Values.push_back(Ifd);
      }
      Tags.push_back(Sub);
    }
    for (const auto& [Tag, Linked] : Page.Links) {
      const uint64_t Ifd = WritePage(Linked);
      Tags.push_back({Tag, 4, {Ifd}});
    }
    std::vector<uint64_t> StripPositions;
    for (const auto& S : Page.StripData) {
      StripPositions.push_back(FOut.size());
      FOut.insert(FOut.end(), S.begin(), S.end());
    }
    for (TTiffTestTag& T : Tags)
      if (T.StripOffsets) T.Values = StripPositions;
    std::sort(Tags.begin(), Tags.end(), [](const auto& A, const auto& B) { return A.Tag < B.Tag; });
    // Values longer than four bytes go out of line, before the directory.
    std::vector<uint64_t> Positions;
    for (const TTiffTestTag& T : Tags) {
      const std::size_t Count = T.Type == 5 ? T.Values.size() / 2 : T.Values.size();
      if (Count * TypeSize(T.Type) <= 4) {
        Positions.push_back(0);
        continue;
      }
      if (FOut.size() % 2) FOut.push_back(0);
      Positions.push_back(FOut.size());
      PutValues(T);
    }
    if (FOut.size() % 2) FOut.push_back(0);
    const uint64_t Ifd = FOut.size();
    PutWord(Tags.size());
    for (std::size_t I = 0; I < Tags.size(); ++I) {
      const TTiffTestTag& T = Tags[I];
      PutWord(T.Tag);
      PutWord(T.Type);
      PutDWord(T.Type == 5 ? T.Values.size() / 2 : T.Values.size());
      if (Positions[I]) {
        PutDWord(Positions[I]);
        continue;
      }
      const std::size_t Start = FOut.size();
      PutValues(T);
      FOut.resize(Start + 4, 0);
    }
    PutDWord(0);
    return Ifd;
  }

  bool FBigEndian;
  std::vector<Byte> FOut;
};
