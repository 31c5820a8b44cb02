#pragma once
// The keys of a skin's [FORMINFO] section: the frame picture's anchors, client and caption
// areas and stretching. Loading reads them; the skin generator writes them.
#include "skin/data/bsSkinData.h"

const TbsSkinKeys<TbsSkinData>& FormInfoKeys();
