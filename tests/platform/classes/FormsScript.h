#pragma once
// Scripted input for the form tests: a display back end that plays the events a test queues.
// Its own file keeps the display interface's names away from the class library's (both have a
// TMouseButton).
#include <initializer_list>
#include <string>

#include "platform/system/Types.h"

// Installs the script back end (and the window layer's input part); Remove takes it away.
void InstallScriptDisplay();
void RemoveScriptDisplay();
void ScriptMoveTo(Integer X, Integer Y);
// Moves there, then presses and releases the button (0 left, 1 right, 2 middle).
void ScriptClick(Integer X, Integer Y, Integer Button = 0);
void ScriptButton(bool Down, Integer Button = 0);
// Modifiers (virtual keys) down, the key down, its text, the key up, the modifiers up.
void ScriptKeyPress(Word VirtualKey, const std::string& Text = "",
                    std::initializer_list<Word> Modifiers = {});
void ScriptWheel(Integer Delta);
