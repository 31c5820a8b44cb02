#pragma once
// The program's own stored skins, in the order the program lists them. They are drawn and
// packed at build time and embedded in the program (library tv_program_skins, which defines
// these functions); the bytes stay in read-only memory for the life of the process.
#include <cstddef>
#include <span>

#include "platform/system/Types.h"

class TbsCompressedSkinList;

struct TbsProgramSkin {
  const char* Name;  // as the program lists it, e.g. "iMetal dark"
  const Byte* Data;  // the stored skin file: envelope and compressed payload
  std::size_t Size;
};

std::span<const TbsProgramSkin> ProgramSkins();
// Adds one item per program skin to List, named after it and holding its stored skin.
void AddProgramSkins(TbsCompressedSkinList* List);
