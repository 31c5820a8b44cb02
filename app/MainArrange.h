#pragma once
// The main window's control column fitted to its captions. Captions change with the language,
// so the column is arranged again whenever the texts are applied: every check box, button and
// label is as wide as its caption in its own font, columns as wide as their widest caption,
// and two check boxes share a row only where both fit.
#include "platform/system/Types.h"

class TForm1;

// The width of the control column at the window's left, and how far it may widen for long
// captions; the result takes the rest.
constexpr Integer ControlPanelWidth = 296;
constexpr Integer MaxControlPanelWidth = 480;

// Places every control of the column (group boxes, their controls and the build buttons).
void ArrangeControls(TForm1* Form);

// Places the controls of the page "Video scripts" for group boxes Width wide (MainVideoPage.cpp).
void ArrangeVideoPage(TForm1* Form, Integer Width);
