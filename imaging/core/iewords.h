#pragma once
// The words of the library's dialogs in every language the library carries.

// Fills the word table's rows from msEnglish to msHungarian, in row order; msSystem and
// msUser stay as they are. Called by the library's start-up.
void IEWordsInitialize();
