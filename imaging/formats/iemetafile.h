#pragma once
// Content tests for enhanced and Windows metafiles (with or without the placeable header).
// Both read from the stream's position and leave it there.
class TStream;

bool EmfIsFile(TStream* Stream);
bool WmfIsFile(TStream* Stream);
