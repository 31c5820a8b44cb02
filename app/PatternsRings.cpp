// The ring and spiral generators: circles, twirls and the spirograph.
#include "app/Main.h"
#include "app/Patterns.h"

void CreateCircles() {
  SeedCount = 0;
}

void CreateTwirls() {
  SeedCount = 0;
}

void CreateSpirograph() {
  SeedCount = 0;
}
