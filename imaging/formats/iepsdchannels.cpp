#include "imaging/formats/iepsdchannels.h"

#include "imaging/core/iebitmap.h"

TIEPixelFormat PsdPixelFormatOf(Integer Mode, Integer Depth) {
  if (Depth == 1) return Mode == PsdModeBitmap ? ie1g : ieNull;
  if (Depth == 8) switch (Mode) {
      case PsdModeGray:
      case PsdModeMultichannel:
      case PsdModeDuotone:
        return ie8g;
      case PsdModeIndexed:
        return ie8p;
      case PsdModeRGB:
        return ie24RGB;
      case PsdModeCMYK:
        return ieCMYK;
      case PsdModeLab:
        return ieCIELab;
      default:
        return ieNull;
    }
  if (Depth == 16) switch (Mode) {
      case PsdModeGray:
      case PsdModeDuotone:
        return ie16g;
      case PsdModeRGB:
        return ieRGB48;
      case PsdModeCMYK:
        return ieCMYK;
      case PsdModeLab:
        return ieCIELab;
      default:
        return ieNull;
    }
  return ieNull;
}

bool PsdModeOf(TIEPixelFormat Format, Integer& Mode, Integer& Depth) {
  Depth = 8;
  switch (Format) {
    case ie1g:
      Mode = PsdModeBitmap, Depth = 1;
      return true;
    case ie8p:
      Mode = PsdModeIndexed;
      return true;
    case ie8g:
      Mode = PsdModeGray;
      return true;
    case ie16g:
      Mode = PsdModeGray, Depth = 16;
      return true;
    case ie24RGB:
    case ie32RGB:
      Mode = PsdModeRGB;
      return true;
    case ieRGB48:
      Mode = PsdModeRGB, Depth = 16;
      return true;
    case ieCMYK:
      Mode = PsdModeCMYK;
      return true;
    case ieCIELab:
      Mode = PsdModeLab;
      return true;
    default:
      return false;
  }
}

Integer PsdColorChannels(Integer Mode) {
  switch (Mode) {
    case PsdModeRGB:
    case PsdModeLab:
      return 3;
    case PsdModeCMYK:
      return 4;
    default:
      return 1;
  }
}

Integer PsdRowBytes(Integer Width, Integer Depth) {
  return static_cast<Integer>((static_cast<Int64>(Width) * Depth + 7) / 8);
}

TPsdChannelSlot PsdChannelSlot(Integer Mode, Integer Depth, Integer Id) {
  using S = TPsdChannelSlot;
  const TIEPixelFormat Format = PsdPixelFormatOf(Mode, Depth);
  if (Format == ieNull) return {};
  if (Format == ie1g) return Id == 0 ? S{S::Bits} : S{};
  const Integer Colors = PsdColorChannels(Mode);
  if (Id == PsdAlphaId || Id == Colors) return Format == ie8p ? S{} : S{S::Alpha};
  if (Id < 0 || Id >= Colors) return {};
  switch (Format) {
    case ie24RGB:
      return {S::Bytes, 2 - Id, 3};
    case ieRGB48:
      return {S::Words, Id, 3};
    case ie16g:
      return {S::Words, 0, 1};
    case ieCMYK:
    case ieCIELab: {
      const Integer Bias = Format == ieCIELab && Id > 0 ? 128 : 0;
      return {Depth == 16 ? S::HighBytes : S::Bytes, Id, Colors, Bias};
    }
    default:  // ie8g, ie8p
      return {S::Bytes, 0, 1};
  }
}

void PsdStoreRow(const TPsdChannelSlot& Slot, Integer Depth, const Byte* FileRow, TIEBitmap* Bitmap,
                 Integer Y) {
  const Integer Width = Bitmap->GetWidth();
  const Integer Step = Depth / 8;  // bytes of one file sample; 0 for bit rows
  switch (Slot.Kind) {
    case TPsdChannelSlot::None:
      return;
    case TPsdChannelSlot::Bits: {
      Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
      for (Integer I = 0, N = PsdRowBytes(Width, 1); I < N; ++I) Row[I] = static_cast<Byte>(~FileRow[I]);
      return;
    }
    case TPsdChannelSlot::Alpha: {
      Byte* Row = static_cast<Byte*>(Bitmap->GetAlphaChannel()->GetScanline(Y));
      for (Integer X = 0; X < Width; ++X) Row[X] = FileRow[X * Step];
      return;
    }
    case TPsdChannelSlot::Words: {
      Word* Row = static_cast<Word*>(Bitmap->GetScanline(Y)) + Slot.Offset;
      for (Integer X = 0; X < Width; ++X)
        Row[X * Slot.Stride] = static_cast<Word>((FileRow[2 * X] << 8) | FileRow[2 * X + 1]);
      return;
    }
    case TPsdChannelSlot::Bytes:
    case TPsdChannelSlot::HighBytes: {
      Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y)) + Slot.Offset;
      for (Integer X = 0; X < Width; ++X)
        Row[X * Slot.Stride] = static_cast<Byte>(FileRow[X * Step] - Slot.Bias);
      return;
    }
  }
}

void PsdGatherRow(const TPsdChannelSlot& Slot, Integer Depth, TIEBitmap* Bitmap, Integer Y, Byte* FileRow) {
  const Integer Width = Bitmap->GetWidth();
  switch (Slot.Kind) {
    case TPsdChannelSlot::None:
      return;
    case TPsdChannelSlot::Bits: {
      const Byte* Row = static_cast<const Byte*>(Bitmap->GetScanline(Y));
      for (Integer I = 0, N = PsdRowBytes(Width, 1); I < N; ++I) FileRow[I] = static_cast<Byte>(~Row[I]);
      return;
    }
    case TPsdChannelSlot::Alpha: {
      const Byte* Row = static_cast<const Byte*>(Bitmap->GetAlphaChannel()->GetScanline(Y));
      if (Depth == 16)
        for (Integer X = 0; X < Width; ++X) FileRow[2 * X] = FileRow[2 * X + 1] = Row[X];  // x 257
      else
        for (Integer X = 0; X < Width; ++X) FileRow[X] = Row[X];
      return;
    }
    case TPsdChannelSlot::Words: {
      const Word* Row = static_cast<const Word*>(Bitmap->GetScanline(Y)) + Slot.Offset;
      for (Integer X = 0; X < Width; ++X) {
        const Word V = Row[X * Slot.Stride];
        FileRow[2 * X] = static_cast<Byte>(V >> 8);
        FileRow[2 * X + 1] = static_cast<Byte>(V);
      }
      return;
    }
    case TPsdChannelSlot::Bytes:
    case TPsdChannelSlot::HighBytes: {
      const Byte* Row = static_cast<const Byte*>(Bitmap->GetScanline(Y)) + Slot.Offset;
      const Integer Step = Depth / 8;
      for (Integer X = 0; X < Width; ++X) {
        const Byte V = static_cast<Byte>(Row[X * Slot.Stride] + Slot.Bias);
        for (Integer K = 0; K < Step; ++K) FileRow[X * Step + K] = V;
      }
      return;
    }
  }
}
