#pragma once
// The texts of the PNG picture's errors.

constexpr const char* EPngInvalidCRCText =
    "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc "
    "error)";
constexpr const char* EPNGInvalidIHDRText =
    "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data "
    "(ihdr) "
    "might be corrupted";
constexpr const char* EPNGMissingMultipleIDATText =
    "This \"Portable Network Graphics\" image is invalid because it has missing image parts.";
constexpr const char* EPNGZLIBErrorText =
    "Could not decompress the image because it contains invalid compressed data.";
constexpr const char* EPNGInvalidPaletteText =
    "The \"Portable Network Graphics\" image contains an invalid palette.";
constexpr const char* EPNGInvalidFileHeaderText =
    "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid "
    "header. This file may be corruped, try obtaining it again.";
constexpr const char* EPNGIHDRNotFirstText =
    "This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR chunk is not "
    "the "
    "first)";
constexpr const char* EPNGSizeExceedsText =
    "This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds "
    "the "
    "maximum size, which is 65535 pixels length.";
constexpr const char* EPNGUnknownPalEntryText = "There is no such palette entry.";
constexpr const char* EPNGUnknownCriticalChunkText =
    "This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded.";
constexpr const char* EPNGUnknownCompressionText =
    "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not "
    "be "
    "decoded.";
constexpr const char* EPNGUnknownInterlaceText =
    "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded.";
constexpr const char* EPNGCannotAssignChunkText = "The chunks must be compatible to be assigned.";
constexpr const char* EPNGUnexpectedEndText =
    "This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the "
    "file.";
constexpr const char* EPNGNoImageDataText = "This \"Portable Network Graphics\" image contains no data.";
constexpr const char* EPNGOutMemoryText =
    "Some operation could not be performed because the system is out of resources. Close some windows and "
    "try "
    "again.";
constexpr const char* EPNGHeaderNotPresentText =
    "This operation is not valid because the current image contains no valid header.";
constexpr const char* EInvalidNewSizeText = "The new size provided for image resizing is invalid.";
