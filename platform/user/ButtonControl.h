#pragma once
// The BUTTON control in the classic look.
//
// Kinds (BS_TYPEMASK): push buttons (BS_PUSHBUTTON, BS_DEFPUSHBUTTON with a one-pixel
// COLOR_WINDOWFRAME frame around the raised edge), check boxes (BS_CHECKBOX, BS_AUTOCHECKBOX,
// BS_3STATE, BS_AUTO3STATE), radio buttons (BS_RADIOBUTTON, BS_AUTORADIOBUTTON), group boxes
// and owner-drawn buttons (WM_DRAWITEM with ODT_BUTTON to the parent).
//
// Layout:
//   push buttons   DrawFrameControl(DFCS_BUTTONPUSH) over the client area (sunken while
//                  pushed; a pushed default button shows a COLOR_3DSHADOW frame inside its
//                  black one); the text or image centred by default in the client area less
//                  2 pixels (3 for the default button), moved 1 pixel down and right while
//                  pushed; the focus rectangle 3 pixels inside the client area (4 for the
//                  default button).
//   check / radio  the parent's WM_CTLCOLORSTATIC brush under everything; a 13 x 13 check box
//                  or 12 x 12 radio circle (DrawFrameControl) at the left (the right with
//                  BS_LEFTTEXT), centred vertically (BS_TOP / BS_BOTTOM: at the top / bottom);
//                  the text 4 pixels beside it, left-aligned by default; the focus rectangle
//                  around the text as drawn, 1 pixel larger on each side, within the client.
//                  BS_PUSHLIKE draws them as push buttons, sunken while checked.
//   group box      an etched frame from half the font height down, the text 8 pixels from the
//                  left on the frame line over the brush's background (2 pixels each side).
// Text: DrawText in the window font with '&' prefixes, one line centred vertically unless
// BS_MULTILINE (word wrap, the block placed by BS_TOP / BS_VCENTER / BS_BOTTOM); disabled text
// grey (COLOR_3DSHADOW) embossed with COLOR_3DHILIGHT. Push buttons use COLOR_BTNTEXT; check
// boxes, radio buttons and group boxes the text colour the parent set in WM_CTLCOLORSTATIC.
//
// Behaviour: a left press takes the focus and the capture and pushes the button; the pushed
// look follows the mouse out of and back into the button while the capture lasts; the release
// inside clicks. Space pushes, its release clicks. A click toggles BS_AUTOCHECKBOX, cycles
// BS_AUTO3STATE (unchecked, checked, indeterminate), checks BS_AUTORADIOBUTTON and unchecks the
// other auto radio buttons of its group (the siblings from the nearest WS_GROUP sibling at or
// before it up to the next one), then sends BN_CLICKED. BM_CLICK does the press and release.
// Double clicks send BN_DOUBLECLICKED for BS_RADIOBUTTON, BS_USERBUTTON, BS_OWNERDRAW and
// BS_NOTIFY buttons, and act as a press for the others. Group boxes never take the focus and
// are transparent to the mouse (HTTRANSPARENT).
#include "platform/user/CommonControls.h"
