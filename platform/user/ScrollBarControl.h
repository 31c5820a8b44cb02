#pragma once
// The SCROLLBAR control. Its state, clamping, geometry, drawing and mouse tracking are the
// window scroll bars' (ScrollBars.h, the SB_CTL slot), so a control and a window bar of the
// same size and state look and behave alike.
//
// The control never moves itself: a press on an arrow or the track sends WM_HSCROLL /
// WM_VSCROLL (SBS_VERT) with SB_LINE* / SB_PAGE* to the parent, repeated while held; the thumb
// sends SB_THUMBTRACK and SB_THUMBPOSITION; every press ends with SB_ENDSCROLL; lParam is the
// control's handle. The parent answers with SetScrollPos / SetScrollInfo(SB_CTL). A focused
// control (it takes the focus on a press when it has WS_TABSTOP) sends SB_LINEUP for Left and
// Up, SB_LINEDOWN for Right and Down, SB_PAGEUP / SB_PAGEDOWN for Page Up / Page Down, SB_TOP /
// SB_BOTTOM for Home / End, and SB_ENDSCROLL when the key is released.
//
// SBS_TOPALIGN / SBS_BOTTOMALIGN (horizontal) and SBS_LEFTALIGN / SBS_RIGHTALIGN (vertical)
// give the control the standard thickness at that edge of the rectangle it was created with.
// SBS_SIZEBOX is a plain COLOR_3DFACE box, SBS_SIZEGRIP the grooved grip; a press on either
// starts sizing the parent (WM_SYSCOMMAND SC_SIZE + WMSZ_BOTTOMRIGHT). The track uses the
// brush the parent gives for WM_CTLCOLORSCROLLBAR, or the classic dither when it gives the
// default one.
#include "platform/user/CommonControls.h"
#include "platform/user/ScrollBars.h"
