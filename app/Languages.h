#pragma once
// The user-interface texts. Interface texts caption the main window's controls and menu
// items; variable texts are its status texts, labels, messages and parameter names. Both
// tables count from 1 (entry 0 is unused); a language file replaces them, the English texts
// are the defaults.
#include <array>
#include <string>

#include "platform/system/Types.h"

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
