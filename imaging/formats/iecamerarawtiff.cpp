// TIFF-like containers of camera raw files: the main IFD chain, Kodak sub-IFDs, the EXIF IFD
// and the Nikon and Olympus maker notes. Every walk is bounded: the IFD chain stops at a repeat
// or after a fixed number of IFDs, and entry loops stop where the data ends.
#include <algorithm>
#include <cstring>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawdecoder.h"

namespace {

constexpr Integer MaxIfds = 64;
constexpr Cardinal MaxSubIfds = 16;

struct TTiffEntry {
  Integer Tag = 0;
  Integer Type = 0;
  Cardinal Count = 0;
  Cardinal Value = 0;
};

// The plain TIFF rule: a SHORT value of one or two items sits in the first word.
TTiffEntry ReadEntry(TCameraRawContext& Context) {
  TTiffEntry Entry;
  Entry.Tag = RawGet2(Context);
  Entry.Type = RawGet2(Context);
  Entry.Count = RawGet4(Context);
  if (Entry.Type == 3 && Entry.Count < 3) {
    Entry.Value = RawGet2(Context);
    RawGet2(Context);
  } else {
    Entry.Value = RawGet4(Context);
  }
  return Entry;
}

void ReadName(TCameraRawContext& Context, char* Name) {
  RawRead(Context, Name, RawNameLength);
  Name[RawNameLength - 1] = 0;
}

Integer ClampOffset(Int64 Value) {
  return static_cast<Integer>(std::clamp<Int64>(Value, 0, 0x7FFFFFFF));
}

float Ratio(float Numerator, float Denominator) {
  return Denominator != 0 ? Numerator / Denominator : 0;
}

void ParseKodakIfd(TCameraRawContext& Context, Int64 Base) {
  const Integer Entries = RawGet2(Context);
  for (Integer Index = 0; Index < Entries && !RawAtEnd(Context); ++Index) {
    const TTiffEntry Entry = ReadEntry(Context);
    switch (Entry.Tag) {
      case 256:
        Context.RawWidth = ClampOffset(Entry.Value);
        break;
      case 257:
        Context.RawHeight = ClampOffset(Entry.Value);
        break;
      case 259:
        Context.TiffCompression = ClampOffset(Entry.Value);
        break;
      case 262:
        Context.TiffPhotometric = ClampOffset(Entry.Value);
        break;
      case 273:
        if (Entry.Count == 1) {
          Context.DataOffset = ClampOffset(Entry.Value);
        } else {
          const Int64 Save = RawTell(Context);
          RawSeek(Context, Base + Entry.Value);
          Context.DataOffset = ClampOffset(RawGet4(Context));
          RawSeek(Context, Save);
        }
        break;
      case 291:
        Context.CurveOffset = ClampOffset(Entry.Value);
        Context.CurveLength = ClampOffset(Entry.Count);
        break;
    }
  }
}

void ReadMakerNoteWords(TCameraRawContext& Context, Int64 At, bool InOrder) {
  RawSeek(Context, At);
  const float A = RawGet2(Context), B = RawGet2(Context), C = RawGet2(Context), D = RawGet2(Context);
  Context.CameraRed = Ratio(A, B);
  Context.CameraBlue = InOrder ? Ratio(C, D) : Ratio(D, C);
}

void ParseMakerNote(TCameraRawContext& Context) {
  const Word SavedOrder = Context.ByteOrder;
  char Head[10];
  RawRead(Context, Head, sizeof Head);
  Int64 Base = 0;
  if (std::memcmp(Head, "Nikon", 6) != 0) {
    // Olympus notes start their IFD at byte 8, other notes at once, offsets from the file.
    RawSkip(Context, std::memcmp(Head, "OLYMP", 6) == 0 ? -2 : -10);
  } else {
    Base = RawTell(Context);
    Context.ByteOrder = RawGet2(Context);
    RawGet2(Context);
    const Cardinal Offset = RawGet4(Context);
    RawSkip(Context, static_cast<Int64>(Offset) - 8);
  }
  const Integer Entries = RawGet2(Context);
  for (Integer Index = 0; Index < Entries && !RawAtEnd(Context); ++Index) {
    const Integer Tag = RawGet2(Context);
    const Integer Type = RawGet2(Context);
    RawGet4(Context);
    Cardinal Value;
    if (Type == 3) {
      Value = RawGet2(Context);
      RawGet2(Context);
    } else {
      Value = RawGet4(Context);
    }
    const Int64 Save = RawTell(Context);
    const Int64 At = Base + Value;
    switch (Tag) {
      case 12: {
        RawSeek(Context, At);
        const float A = RawGet4(Context), B = RawGet4(Context), C = RawGet4(Context), D = RawGet4(Context);
        Context.CameraRed = Ratio(A, B);
        Context.CameraBlue = Ratio(C, D);
        break;
      }
      case 140:
        Context.CurveOffset = ClampOffset(At + 2112);
        break;
      case 150:
        Context.CurveOffset = ClampOffset(At + 2);
        break;
      case 151:
        if (std::strcmp(Context.Model, "NIKON D100 ") == 0) {
          RawSeek(Context, At + 72);
          Context.CameraRed = RawGet2(Context) / 256.0f;
          Context.CameraBlue = RawGet2(Context) / 256.0f;
        } else if (std::strcmp(Context.Model, "NIKON D2H") == 0) {
          ReadMakerNoteWords(Context, At + 10, false);
        } else if (std::strcmp(Context.Model, "NIKON D70") == 0) {
          ReadMakerNoteWords(Context, At + 20, true);
        }
        break;
      case 4119:
        Context.CameraRed = Value / 256.0f;
        break;
      case 4120:
        Context.CameraBlue = Value / 256.0f;
        break;
    }
    RawSeek(Context, Save);
  }
  Context.ByteOrder = SavedOrder;
}

void ParseExif(TCameraRawContext& Context, Int64 Base) {
  const Integer Entries = RawGet2(Context);
  for (Integer Index = 0; Index < Entries && !RawAtEnd(Context); ++Index) {
    const Integer Tag = RawGet2(Context);
    RawGet2(Context);
    RawGet4(Context);
    const Cardinal Value = RawGet4(Context);
    if (Tag != 37500) continue;
    if (std::strncmp(Context.Make, "NIKON", 5) != 0 && std::strncmp(Context.Make, "OLYMPUS", 7) != 0)
      continue;
    const Int64 Save = RawTell(Context);
    RawSeek(Context, Base + Value);
    ParseMakerNote(Context);
    RawSeek(Context, Save);
  }
}

struct TTiffState {
  Int64 Base = 0;
  Integer Width = 0;
  Integer Height = 0;
  Cardinal StripTag = 0;    // tag 273's own value
  Cardinal FirstStrip = 0;  // the first offset of tag 273's list
};

void ParseSubIfds(TCameraRawContext& Context, const TTiffState& State, const TTiffEntry& Entry) {
  Cardinal Count = Entry.Count;
  if (Count > 2 && std::strcmp(Context.Make, "Kodak") == 0) Count = 2;
  if (Count < 2) {
    ParseKodakIfd(Context, State.Base);
    return;
  }
  for (Cardinal Index = 0; Index < std::min(Count, MaxSubIfds) && !RawAtEnd(Context); ++Index) {
    RawSeek(Context, State.Base + Entry.Value + 4 * static_cast<Int64>(Index));
    RawSeek(Context, State.Base + RawGet4(Context));
    ParseKodakIfd(Context, State.Base);
  }
}

void ActOnEntry(TCameraRawContext& Context, TTiffState& State, const TTiffEntry& Entry) {
  static constexpr Integer FlipCodes[8] = {0, 1, 3, 2, 4, 6, 7, 5};
  switch (Entry.Tag) {
    case 17:
      Context.CameraRed = Entry.Value / 256.0f;
      break;
    case 18:
      Context.CameraBlue = Entry.Value / 256.0f;
      break;
    case 256:
      State.Width = ClampOffset(Entry.Value);
      break;
    case 257:
      State.Height = ClampOffset(Entry.Value);
      break;
    case 271:
      ReadName(Context, Context.Make);
      break;
    case 272:
      ReadName(Context, Context.Model);
      break;
    case 273:
      State.StripTag = Entry.Value;
      State.FirstStrip = RawGet4(Context);
      break;
    case 274:
      Context.Flip = FlipCodes[(Entry.Value - 1) & 7];
      break;
    case 291:
      Context.CurveOffset = ClampOffset(Entry.Value);
      Context.CurveLength = ClampOffset(Entry.Count);
      break;
    case 305: {
      char Software[RawNameLength];
      ReadName(Context, Software);
      // A converter's output is no longer the camera's raw data.
      if (std::strncmp(Software, "Adobe", 5) == 0) Context.Make[0] = 0;
      break;
    }
    case 324:
      std::strcpy(Context.Make, "Leaf");
      Context.RawWidth = State.Width;
      Context.RawHeight = State.Height;
      Context.DataOffset = ClampOffset(Entry.Count < 2 ? Entry.Value : RawGet4(Context));
      break;
    case 330:
      ParseSubIfds(Context, State, Entry);
      break;
    case 33405:
      ReadName(Context, Context.Model2);
      break;
    case 34665:
      ParseExif(Context, State.Base);
      break;
  }
}

}  // namespace

void RawParseTiff(TCameraRawContext& Context, Integer Base) {
  TTiffState State;
  State.Base = Base;
  RawSeek(Context, Base);
  Context.ByteOrder = RawGet2(Context);
  RawGet2(Context);
  Int64 Seen[MaxIfds];
  Integer IfdCount = 0;
  while (IfdCount < MaxIfds) {
    const Int64 Ifd = State.Base + RawGet4(Context);
    if (Ifd == State.Base || Ifd >= Context.InputSize) break;
    if (std::find(Seen, Seen + IfdCount, Ifd) != Seen + IfdCount) break;
    Seen[IfdCount++] = Ifd;
    RawSeek(Context, Ifd);
    const Integer Entries = RawGet2(Context);
    for (Integer Index = 0; Index < Entries && !RawAtEnd(Context); ++Index) {
      const TTiffEntry Entry = ReadEntry(Context);
      const Int64 Save = RawTell(Context);
      RawSeek(Context, State.Base + Entry.Value);
      ActOnEntry(Context, State, Entry);
      RawSeek(Context, Save);
    }
  }
  if (std::strncmp(Context.Make, "OLYMPUS", 7) == 0) {
    Context.Make[7] = 0;
    Context.RawWidth = State.Width;
    Context.RawHeight = State.Height + (State.Height & 1);
    Context.DataOffset = ClampOffset(State.FirstStrip);
  }
  if (std::strcmp(Context.Make, "Canon") == 0 && std::strcmp(Context.Model, "EOS D2000C") != 0)
    Context.DataOffset = ClampOffset(State.StripTag);
  if (Context.Make[0] == 0 && State.Width == 680 && State.Height == 680) {
    std::strcpy(Context.Make, "Imacon");
    std::strcpy(Context.Model, "Ixpress");
  }
}
