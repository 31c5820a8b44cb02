#pragma once
// Project files: the pattern type, the six parameters, the options, the effect strengths and,
// for the kaleidoscope, the drawn points of the main window Form1, kept in an INI file so that a
// mosaic can be rebuilt later from the current source. The source itself is not stored.
//
// Section "Project" holds the controls ("Pattern", "Param 1".."Param 6", nine options as 1 or
// 0, three effect strengths); section "Kaleidoscope", only for that type, holds "Points" = n
// and keys "1".."n", each a point's x and y formatted "%6d %6d", all strokes in drawing order.
#include <string>

#include "platform/system/Types.h"

// A project file holds at most this many points; a file claiming more is invalid.
constexpr Integer MaxProjectPoints = 10'000'000;

// Writes the controls of Form1 (and for the kaleidoscope its points) under FileName as given,
// replacing the file, then tells the user the project was saved, or warns that it could not be.
void SaveProjectFile(const std::string& FileName);

// Sets the controls of Form1 from the file (a missing key, or a missing or foreign file, reads
// as the default) with builds held back meanwhile, then builds once and tells the user. For the
// kaleidoscope the stored points become the drawing, joined into one stroke; invalid points
// give a warning and the build runs with the controls as read. A file that cannot be read
// gives a warning and changes nothing.
void LoadProjectFile(const std::string& FileName);

// The name a project is called by in messages: the file's name without its folder and without
// its last four characters (".prj").
std::string ProjectName(const std::string& FileName);
