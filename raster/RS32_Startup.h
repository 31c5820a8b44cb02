#pragma once
// The start-up and shut-down of the raster library. InitializeRasterLibrary runs the units'
// start-up in their fixed order, once; it must run before the first TBitmap32 is created.
// FinalizeRasterLibrary undoes it in reverse order.
void InitializeRasterLibrary();
void FinalizeRasterLibrary();
bool RasterLibraryStarted();

// Chooses every pixel routine again from the reported processor features (SetCpuFeatures);
// for tests of the multimedia forms.
void SelectPixelRoutines();
