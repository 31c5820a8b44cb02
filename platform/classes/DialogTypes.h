#pragma once
// The kinds and buttons of the platform's message dialogs (MessageDlg and the boxes built like
// it), in the platform's order. The modal results of the buttons are those of Forms.h.
#include "platform/system/Sets.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn, 16>;
