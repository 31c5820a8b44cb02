#pragma once
// The pattern generators. Each turns the grid size and the parameters P1..P6 into cells: the
// mesh generators (pinch and the two tubes) compute the node tables and one seed per cell for
// the mesh stage to draw; the others draw their wire frame into ResultBitmap themselves. All
// read GridPx, NodeCount, PatternSize, OffsetX, OffsetY and the sliders as ShowGrid left them,
// poll AbortRequested at least once per node or cell and stop at once when it is set.
#include "platform/system/Types.h"

// Type 0, "Pinch and blow".
void CreatePinch();
// Type 4, "Tube (horizontal)": the rows crowd; x is kept.
void CreateVerCylinder();
// Type 5, "Tube (vertical)": the columns crowd; y is kept.
void CreateHorCylinder();
// The mesh of types 0, 4 and 5 into ResultBitmap: a white square of PatternSize with a black
// outline, the node lines and, with pattern colours, each cell filled as soon as it is closed.
// False when the build was cancelled.
bool DrawMesh();

// The ring, spiral, hexagon and sphere generators are not written yet: they draw nothing and
// find no cells.
void CreateCircles();
void CreateTwirls();
void CreateHexagons();
void CreateSpheres();
void CreateSpirograph();

// The status text of a generator (" Creating pinch...") and one run of the message queue.
void ShowGeneratorStatus(Byte Type);
