#pragma once
// The pattern generators. Each turns the grid size and the parameters P1..P6 into cells: the
// mesh generators (pinch and the two tubes) compute the node tables and one seed per cell for
// the mesh stage to draw; the others draw their wire frame into ResultBitmap themselves. All
// read GridPx, NodeCount, PatternSize, OffsetX, OffsetY and the sliders as ShowGrid left them,
// poll AbortRequested at least once per node or cell and stop at once when it is set. They
// read their parameters and report through PatternHost().
#include "platform/system/Types.h"

class TBitmap;
class TPatternHost;

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

// The generator of pattern types 0 to 7, with the mesh drawing for types 0, 4 and 5; types 8
// and 9 have none. False when the build was cancelled in the mesh stage.
bool RunGenerator(Byte Type);

// Type 1, "Circular": rings of cells round the centre.
void CreateCircles();
// Type 2, "Twirling spiral": twisted arms crossed by rings.
void CreateTwirls();
// Type 7, "Spirograph": one long rolling-circle curve; its crossings make the cells.
void CreateSpirograph();
// Finds every white region of a black-on-white drawing, one seed per region in scan order,
// and with the host's pattern colours floods each with its colour (TForm1::Colorize).
void ColorizeDrawing(TPatternHost& Host, TBitmap* Bitmap);
// Type 3, "Hexagons": a hexagon tiling with jittered corners.
void CreateHexagons();
// Type 6, "Spheres": discs dropped at random that overlap only as far as P2 allows.
void CreateSpheres();

// The square the kaleidoscope and free drawing are drawn on: sizes from the grid and, unless a
// stroke is being drawn, white canvases with the picture area's frame.
void ResetDrawingArea();

// The status text of a generator (" Creating pinch...") and one run of the message queue.
void ShowGeneratorStatus(Byte Type);
