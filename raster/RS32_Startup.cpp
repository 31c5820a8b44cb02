#include "raster/RS32_Startup.h"

#include "raster/RS32.h"
#include "raster/RS32_Blend.h"
#include "raster/RS32_LowLevel.h"
#include "raster/RS32_MicroTiles.h"
#include "raster/RS32_Resamplers.h"
#include "raster/RS32_RowLogic.h"
#include "raster/RS32_System.h"

namespace {
bool Started = false;
}  // namespace

// The units' start-up in their fixed order.
void InitializeRasterLibrary() {
  if (Started) return;
  // Processor tests, timer and theme window.
  InitializeRS32_System();
  // Fill routine choice.
  SelectFillRoutine();
  // Containers and fixed-point arithmetic have nothing to prepare.
  // Blending tables and routine choice.
  BuildAlphaTables();
  SelectBlendRoutines();
  // Resampling procedure variables, resampler and kernel registries.
  InitializeRS32_Resamplers();
  // Logical row routines.
  SelectRowLogicRoutines();
  // The bitmap unit.
  InitializeRS32();
  // The micro-tile routines.
  SelectMicroTilesRoutines();
  Started = true;
}

void FinalizeRasterLibrary() {
  if (!Started) return;
  FinalizeRS32_Resamplers();
  FinalizeRS32_System();
  Started = false;
}

bool RasterLibraryStarted() {
  return Started;
}

void SelectPixelRoutines() {
  SelectFillRoutine();
  SelectBlendRoutines();
  SelectResamplingRoutines();
  SelectRowLogicRoutines();
  SelectBilinearMix();
  SelectMicroTilesRoutines();
}
