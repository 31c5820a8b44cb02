#pragma once
// The user-interface texts. Interface texts caption the main window's controls and menu
// items; variable texts are its status texts, labels, messages and parameter names. Both
// tables count from 1 (entry 0 is unused); a language file replaces them, the English texts
// are the defaults.
#include <array>
#include <string>

#include "app/TextIndices.h"
#include "platform/system/Types.h"

class TForm1;

constexpr Integer TextCount = 100;
using TTextTable = std::array<std::string, TextCount + 1>;

extern TTextTable InterfaceTexts;
extern TTextTable VariableTexts;
// The label of each parameter slider per pattern type; an empty label hides the slider's
// label and value.
extern std::array<std::array<std::string, 6>, 10> ParamLabels;

// The variable texts take their English defaults (texts without a default are left alone).
void SetDefaultTexts();
// The interface texts take the window's own English captions.
void SetDefaultInterfaceTexts();
// Group box captions get a blank on each side, the status texts "..." and the check box
// captions a leading blank.
void PadCaptions();
// ParamLabels from the variable texts.
void BuildParamLabels();
// The variable texts into the controls (status, labels) and the parameter labels.
void ApplyVariableTexts();
// The interface texts onto Form's controls and menu items (found by their names, so a control
// the window does not have is skipped) and into its pattern list, which shows its first item.
void ApplyInterfaceTexts(TForm1* Form);

// The interface texts of the pattern list's items 0..9.
inline constexpr TInterfaceText PatternListTexts[10] = {
    itPinchItem,     itCircular1, itTwirlingspiral1, itHexagons1,     itTubehorizontal1,
    itTubevertical1, itSpheres1,  itSpirograph1,     itKaleidoscope1, itFreeDrawingItem};

// The texts of the web-update window, entries 0..24: variable texts 60..84 of the language
// file last read (empty until a file is read).
extern std::array<std::string, 25> UpdateCaptions;

// Shown when a language file is missing; the English texts stay (or come) in force.
inline constexpr const char* LanguageNotFoundText =
    "Warning: language file not found.\r\nSwitching to English (default)";

// Reads the language file FileName (full name; INI sections "Interface" and "Variables", keys
// "1".."100", a missing key reads as an empty text) and captions the main window with it.
// A missing file is reported in a message box and leaves the English texts in force.
void LoadLanguageFile(const std::string& FileName);
