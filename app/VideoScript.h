#pragma once
// Video scripts: the key frames a script file lists, the parameters of every frame between them,
// the movie sizes offered and the rules of the movie's source frame and file name. Nothing here
// touches a window, so the reader can be run on any text.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Types.h"

// A script holds at most this many key frames; a larger count in its second line is cut to it.
constexpr Integer MaxKeyFrames = 100;
// The highest frame number a key frame may name (a movie of about eleven hours): the frame
// table is made for every frame up to the last key frame.
constexpr Integer MaxScriptFrame = 999'999;

// ---- Key frames ---------------------------------------------------------------------------------

// A script file as read.
struct TVideoScript {
  // Line 1: the pattern number 1..10 (0 when it is not a number); the pattern type is one less.
  Integer PatternNumber = 0;
  // Key frames read; at most MaxKeyFrames.
  Integer DatasetCount = 0;
  // ScriptData[0][r] is key frame r's frame number, ScriptData[1..6][r] its P1..P6. A field that
  // is not a whole number reads as 0.
  std::array<std::array<Integer, MaxKeyFrames>, 7> ScriptData{};
  // A field of key frame FirstInvalidRow was not a whole number (or the line had too few of
  // them, or the file ended early); -1 when every key frame was valid. The rows from there on
  // show no parameters.
  Integer FirstInvalidRow = -1;
  // Line 1 did not name a pattern 1..10; the script then uses the first pattern.
  bool PatternInvalid = false;

  bool DataInvalid() const { return FirstInvalidRow >= 0 || PatternInvalid; }
  // The pattern type 0..9.
  Integer PatternType() const { return PatternInvalid ? 0 : PatternNumber - 1; }
  // The frame number of the last key frame, 0 without key frames.
  Integer LastFrame() const;
};

// Reads a script from its text (lines ended by LF, CR LF or CR).
TVideoScript ReadScript(std::string_view Text);

// The parameters P1..P6 of every frame 0..LastFrame: Values[m][f] is P(m + 1) of frame f.
struct TFrameTable {
  Integer LastFrame = 0;
  std::array<std::vector<Integer>, 6> Values;
};

// Interpolates straight between consecutive key frames; frames before the first key frame, and
// frames that a falling pair of frame numbers skips, stay 0. Where two key frames share a frame
// number, the later one holds there.
TFrameTable InterpolateFrames(const TVideoScript& Script);

// ---- Movie sizes ----------------------------------------------------------------------------------

// The 20 sizes offered: entries 0..9 at 4:3, 10..19 the same widths at 16:9.
constexpr Integer VideoSizeCount = 20;
struct TVideoSize {
  Integer Width;
  Integer Height;
};
TVideoSize VideoSizeEntry(Integer Entry);
// The size box's caption of entry E: "640 x 480 (4:3)".
std::string VideoSizeCaption(Integer Entry);
// The size box's first item.
inline constexpr const char* SameAsSourceText = "Same as source";

// The part of a Width x Height picture kept for a movie of VideoWidth x VideoHeight: as wide as
// the picture and centred vertically when the picture is at least as tall as the movie's shape,
// else as high as the picture and centred horizontally.
struct TCropArea {
  Integer Left, Top, Width, Height;
};
TCropArea VideoCropArea(Integer Width, Integer Height, Integer VideoWidth, Integer VideoHeight);

// The name a movie is saved under: FileName, with ".avi" appended unless its extension is
// exactly ".avi".
std::string MovieSaveName(const std::string& FileName);
