// The generators whose cells are placed with random jitter: hexagons and spheres.
#include "app/Main.h"
#include "app/Patterns.h"

void CreateHexagons() {
  SeedCount = 0;
}

void CreateSpheres() {
  SeedCount = 0;
}
