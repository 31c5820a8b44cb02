#include "raster/RS32_Startup.h"

#include "raster/RS32.h"
#include "raster/RS32_Blend.h"
#include "raster/RS32_LowLevel.h"
#include "raster/RS32_Resamplers.h"
#include "raster/RS32_RowLogic.h"
#include "raster/RS32_System.h"

namespace {
bool Started = false;
}  // namespace

void InitializeRasterLibrary() {
  if (Started) return;
  InitializeRS32_System();         // processor tests, timer and theme window
  SelectFillRoutine();             // fill routine choice
                                   // containers, fixed-point arithmetic: nothing to prepare
  BuildAlphaTables();              // blending tables and routine choice
  SelectBlendRoutines();
  InitializeRS32_Resamplers();     // resampling routines, resampler and kernel registries
  SelectRowLogicRoutines();        // logical row routines
  InitializeRS32();                // the bitmap unit
                                   // the micro-tile routines start here
  Started = true;
}

void FinalizeRasterLibrary() {
  if (!Started) return;
  FinalizeRS32_Resamplers();
  FinalizeRS32_System();
  Started = false;
}

bool RasterLibraryStarted() { return Started; }

void SelectPixelRoutines() {
  SelectFillRoutine();
  SelectBlendRoutines();
  SelectResamplingRoutines();
  SelectRowLogicRoutines();
  SelectBilinearMix();
}
