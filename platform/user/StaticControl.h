#pragma once
// The STATIC control in the classic look.
//
// Text statics fill the client area with the parent's WM_CTLCOLORSTATIC brush and draw the
// window text with DrawText in the window font (the system font without WM_SETFONT), in the
// colours the parent set (disabled: COLOR_GRAYTEXT):
//   SS_LEFT / SS_CENTER / SS_RIGHT   word wrap, expanded tabs, the alignment;
//   SS_LEFTNOWORDWRAP                no wrap (lines break at line feeds only);
//   SS_SIMPLE                        one line, left;
//   SS_CENTERIMAGE                   one line, centred vertically;
//   SS_ENDELLIPSIS / SS_PATHELLIPSIS / SS_WORDELLIPSIS   one line, shortened with "...";
//   SS_NOPREFIX                      '&' is drawn as it is (otherwise it underlines the next
//                                    character).
// Rectangles and frames: SS_BLACK* in COLOR_3DDKSHADOW, SS_GRAY* in COLOR_3DSHADOW, SS_WHITE*
// in COLOR_3DHILIGHT; SS_ETCHEDHORZ / SS_ETCHEDVERT / SS_ETCHEDFRAME an etched line on the top,
// on the left or all round. SS_SUNKEN draws a one-pixel sunken edge inside the client area and
// the rest inside it. SS_BITMAP / SS_ICON show STM_SETIMAGE's image at the top-left (centred with
// SS_CENTERIMAGE); a bitmap resizes the control to its size unless SS_CENTERIMAGE or
// SS_REALSIZECONTROL. SS_OWNERDRAW sends WM_DRAWITEM (ODT_STATIC) to the parent.
//
// Without SS_NOTIFY a static is transparent to the mouse (HTTRANSPARENT); with it, a left
// press sends STN_CLICKED and a double click STN_DBLCLK through WM_COMMAND.
#include "platform/user/CommonControls.h"
