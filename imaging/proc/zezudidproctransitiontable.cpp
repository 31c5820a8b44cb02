// The table of the 214 transitions: name, step procedure and family flags. Rows 1 to 30 are
// drawn by the engine itself and have no procedure; row 213 is drawn by the pan-zoom step.
#include "imaging/proc/iextratransitions.h"
#include "imaging/proc/zezudidproctransitions.h"

const TEffect ExtraTransitionTable[IETransitionCount] = {
    {"Cross Fade", nullptr, 256},                                                                      // 1
    {"Fade Out", nullptr, 17},                                                                         // 2
    {"Fade In", nullptr, 17},                                                                          // 3
    {"Fade Out then In", nullptr, 0},                                                                  // 4
    {"Wipe Left to Right", nullptr, 257},                                                              // 5
    {"Wipe Left to Right 2", nullptr, 257},                                                            // 6
    {"Wipe Right to Left", nullptr, 257},                                                              // 7
    {"Wipe Right to Left 2", nullptr, 257},                                                            // 8
    {"Wipe Top to Bottom", nullptr, 257},                                                              // 9
    {"Wipe Top to Bottom 2", nullptr, 257},                                                            // 10
    {"Wipe Bottom to Top", nullptr, 257},                                                              // 11
    {"Wipe Bottom to Top 2", nullptr, 257},                                                            // 12
    {"Slide from Top Left", nullptr, 9},                                                               // 13
    {"Slide from Top Right", nullptr, 9},                                                              // 14
    {"Slide from Bottom Left", nullptr, 9},                                                            // 15
    {"Slide from Bottom Right", nullptr, 9},                                                           // 16
    {"Push Left to Right", nullptr, 10},                                                               // 17
    {"Slide Out Left to Right", nullptr, 9},                                                           // 18
    {"Push Right to Left", nullptr, 10},                                                               // 19
    {"Slide Out Right to Left", nullptr, 9},                                                           // 20
    {"Push Top to Bottom", nullptr, 10},                                                               // 21
    {"Slide Out Top to Bottom", nullptr, 9},                                                           // 22
    {"Push Bottom to Top", nullptr, 10},                                                               // 23
    {"Slide Out Bottom to Top", nullptr, 9},                                                           // 24
    {"Random Points", nullptr, 270},                                                                   // 25
    {"Random Boxes", nullptr, 270},                                                                    // 26
    {"Wipe Out from Center", nullptr, 257},                                                            // 27
    {"Wipe In to Center", nullptr, 257},                                                               // 28
    {"Expand Out from Center", nullptr, 12},                                                           // 29
    {"Expand In to Center", nullptr, 12},                                                              // 30
    {"Expand from Left", ExpandFromLeft, 12},                                                          // 31
    {"Expand from Right", ExpandFromRight, 12},                                                        // 32
    {"Expand from Top", ExpandFromTop, 12},                                                            // 33
    {"Expand from Bottom", ExpandFromBottom, 12},                                                      // 34
    {"Expand from Top Left", ExpandFromTopLeft, 12},                                                   // 35
    {"Expand from Top Right", ExpandFromTopRight, 12},                                                 // 36
    {"Expand from Bottom Left", ExpandFromBottomLeft, 12},                                             // 37
    {"Expand from Bottom Right", ExpandFromBottomRight, 12},                                           // 38
    {"Expand in from Left", ExpandInFromLeft, 12},                                                     // 39
    {"Expand in from Right", ExpandInFromRight, 12},                                                   // 40
    {"Expand in from Top", ExpandInFromTop, 12},                                                       // 41
    {"Expand in from Bottom", ExpandInFromBottom, 12},                                                 // 42
    {"Expand in to Vertical Center", ExpandInToVerticalCenter, 12},                                    // 43
    {"Expand in to Horizon", ExpandInToHorizon, 12},                                                   // 44
    {"Expand in from Sides", ExpandInFromSides, 12},                                                   // 45
    {"Expand in from Top and Bottom", ExpandInFromTopAndBottom, 12},                                   // 46
    {"Expand out from Horizon", ExpandOutFromHorizon, 12},                                             // 47
    {"Expand out from Vertical Center", ExpandOutFromVerticalCenter, 12},                              // 48
    {"Wipe from Top Left", WipeFromTopLeft, 257},                                                      // 49
    {"Wipe from Top Right", WipeFromTopRight, 257},                                                    // 50
    {"Wipe from Bottom Left", WipeFromBottomLeft, 257},                                                // 51
    {"Wipe from Bottom Right", WipeFromBottomRight, 257},                                              // 52
    {"Wipe in from Top and Bottom", WipeInFromTopAndBottom, 257},                                      // 53
    {"Wipe from Horizon", WipeFromHorizon, 257},                                                       // 54
    {"Wipe in from Sides", WipeInFromSides, 257},                                                      // 55
    {"Wipe out from Vertical Center", WipeOutFromVerticalCenter, 257},                                 // 56
    {"Build up from Left", BuildUpFromLeft, 16},                                                       // 57
    {"Build up from Right", BuildUpFromRight, 16},                                                     // 58
    {"Build up from Top", BuildUpFromTop, 16},                                                         // 59
    {"Build up from Bottom", BuildUpFromBottom, 16},                                                   // 60
    {"Unroll from Left", UnrollFromLeft, 258},                                                         // 61
    {"Unroll from Right", UnrollFromRight, 258},                                                       // 62
    {"Unroll from Top", UnrollFromTop, 258},                                                           // 63
    {"Unroll from Bottom", UnrollFromBottom, 258},                                                     // 64
    {"Slide in from Left", SlideInFromLeft, 9},                                                        // 65
    {"Slide in from Right", SlideInFromRight, 9},                                                      // 66
    {"Slide in from Top", SlideInFromTop, 9},                                                          // 67
    {"Slide in from Bottom", SlideInFromBottom, 9},                                                    // 68
    {"Shrink to Top Left", ShrinkToTopLeft, 11},                                                       // 69
    {"Shrink to Top Right", ShrinkToTopRight, 11},                                                     // 70
    {"Shrink to Bottom Left", ShrinkToBottomLeft, 11},                                                 // 71
    {"Shrink to Bottom Right", ShrinkToBottomRight, 11},                                               // 72
    {"Shrink to Center", ShrinkToCenter, 11},                                                          // 73
    {"Quarters Wipe in to Center", QuartersWipeInToCenter, 257},                                       // 74
    {"Quarters Expand to Center", QuartersExpandToCenter, 12},                                         // 75
    {"Quarters Slide in to Center", QuartersSlideInToCenter, 9},                                       // 76
    {"Curved Wipe from Left", CurvedWipeFromLeft, 259},                                                // 77
    {"Curved Wipe from Right", CurvedWipeFromRight, 259},                                              // 78
    {"Curved Wipe from Top", CurvedWipeFromTop, 259},                                                  // 79
    {"Curved Wipe from Bottom", CurvedWipeFromBottom, 259},                                            // 80
    {"Curved Wipe from Top Left", CurvedWipeFromTopLeft, 259},                                         // 81
    {"Curved Wipe from Top Right", CurvedWipeFromTopRight, 259},                                       // 82
    {"Curved Wipe from Bottom Left", CurvedWipeFromBottomLeft, 259},                                   // 83
    {"Curved Wipe from Bottom Right", CurvedWipeFromBottomRight, 259},                                 // 84
    {"Bars in from Left", BarsInFromLeft, 264},                                                        // 85
    {"Bars in from Right", BarsInFromRight, 264},                                                      // 86
    {"Bars from Top", BarsFromTop, 264},                                                               // 87
    {"Bars from Bottom", BarsFromBottom, 264},                                                         // 88
    {"Bars Left then Right", BarsLeftThenRight, 264},                                                  // 89
    {"Bars Right then Left", BarsRightThenLeft, 264},                                                  // 90
    {"Bars Top then Bottom", BarsTopThenBottom, 264},                                                  // 91
    {"Bars Bottom then Top", BarsBottomThenTop, 264},                                                  // 92
    {"Bars from both Sides", BarsFromBothSides, 264},                                                  // 93
    {"Bars from Top and Bottom", BarsFromTopAndBottom, 264},                                           // 94
    {"Shredded from Left", ShreddedFromLeft, 263},                                                     // 95
    {"Shredded from Right", ShreddedFromRight, 263},                                                   // 96
    {"Shredded from Top", ShreddedFromTop, 263},                                                       // 97
    {"Shredded from Bottom", ShreddedFromBottom, 263},                                                 // 98
    {"Shredded from Top and Left", ShreddedFromTopAndLeft, 263},                                       // 99
    {"Shredded from Top and Right", ShreddedFromTopAndRight, 263},                                     // 100
    {"Shredded from Bottom and Left", ShreddedFromBottomAndLeft, 263},                                 // 101
    {"Shredded from Bottom and Right", ShreddedFromBottomAndRight, 263},                               // 102
    {"Shredded from Horizon and Left", ShreddedFromHorizonAndLeft, 263},                               // 103
    {"Shredded from Horizon and Right", ShreddedFromHorizonAndRight, 263},                             // 104
    {"Shredded from Top and Vertical Center", ShreddedFromTopAndVerticalCenter, 263},                  // 105
    {"Shredded from Bottom and Vertical Center", ShreddedFromBottomAndVerticalCenter, 263},            // 106
    {"Shredded from Center", ShreddedFromCenter, 263},                                                 // 107
    {"Shredded to Center", ShreddedToCenter, 263},                                                     // 108
    {"Shredded in to Horizon", ShreddedInToHorizon, 263},                                              // 109
    {"Shredded in to Vertical Center", ShreddedInToVerticalCenter, 263},                               // 110
    {"Shredded out from Horizon", ShreddedOutFromHorizon, 263},                                        // 111
    {"Shredded out from Vertical Center", ShreddedOutFromVerticalCenter, 263},                         // 112
    {"Expanding Rectangles", ExpandingRectangles, 269},                                                // 113
    {"Expanding Triangles", ExpandingTriangles, 269},                                                  // 114
    {"Expanding Circles", ExpandingCircles, 269},                                                      // 115
    {"Expanding Diamonds", ExpandingDiamonds, 269},                                                    // 116
    {"Circular Wipe from Center", CircularWipeFromCenter, 261},                                        // 117
    {"Circular Wipe to Center", CircularWipeToCenter, 261},                                            // 118
    {"Crisscross Wipe from Top Left", CrisscrossWipeFromTopLeft, 264},                                 // 119
    {"Crisscross Wipe from Top Right", CrisscrossWipeFromTopRight, 264},                               // 120
    {"Crisscross Wipe from Bottom Left", CrisscrossWipeFromBottomLeft, 264},                           // 121
    {"Crisscross Wipe from Bottom Right", CrisscrossWipeFromBottomRight, 264},                         // 122
    {"Crisscross Wipe Bounce from Top Left", CrisscrossWipeBounceFromTopLeft, 264},                    // 123
    {"Crisscross Wipe Bounce from Top Right", CrisscrossWipeBounceFromTopRight, 264},                  // 124
    {"Crisscross Wipe Bounce from Bottom Left", CrisscrossWipeBounceFromBottomLeft, 264},              // 125
    {"Crisscross Wipe Bounce from Bottom Right", CrisscrossWipeBounceFromBottomRight, 264},            // 126
    {"Crisscross Wipe from Left Right and Top", CrisscrossWipeFromLeftRightAndTop, 264},               // 127
    {"Crisscross Wipe from Left Right and Bottom", CrisscrossWipeFromLeftRightAndBottom, 264},         // 128
    {"Crisscross Wipe from Left Top and Bottom", CrisscrossWipeFromLeftTopAndBottom, 264},             // 129
    {"Crisscross Wipe from Top Left Right and Bottom", CrisscrossWipeFromTopLeftRightAndBottom, 264},  // 130
    {"Crisscross Wipe from Right Top and Bottom", CrisscrossWipeFromRightTopAndBottom, 264},           // 131
    {"Crisscross Wipe from Bottom Left Top Right", CrisscrossWipeFromBottomLeftTopRight, 264},         // 132
    {"Wipe diagonal from Top Left", WipeDiagonalFromTopLeft, 260},                                     // 133
    {"Wipe diagonal from Top Right", WipeDiagonalFromTopRight, 260},                                   // 134
    {"Wipe diagonal from Bottom Left", WipeDiagonalFromBottomLeft, 260},                               // 135
    {"Wipe diagonal from Bottom Right", WipeDiagonalFromBottomRight, 260},                             // 136
    {"Diagonal Sweep Clockwise", DiagonalSweepClockwise, 271},                                         // 137
    {"Diagonal Sweep Counter-Clockwise", DiagonalSweepCounterClockwise, 271},                          // 138
    {"Sweep Clockwise", SweepClockwise, 271},                                                          // 139
    {"Sweep Counter-Clockwise", SweepCounterClockwise, 271},                                           // 140
    {"Starburst Clockwise", StarburstClockwise, 271},                                                  // 141
    {"Starburst Counter-Clockwise", StarburstCounterClockwise, 271},                                   // 142
    {"Rotational Rectangle Clockwise", RotationalRectangleClockwise, 271},                             // 143
    {"Rotational Rectangle Counter-Clockwise", RotationalRectangleCounterClockwise, 271},              // 144
    {"Rotational Star Clockwise", RotationalStarClockwise, 271},                                       // 145
    {"Rotational Star Counter-Clockwise", RotationalStarCounterClockwise, 271},                        // 146
    {"Speckled Wipe from Left", SpeckledWipeFromLeft, 258},                                            // 147
    {"Speckled Wipe from Right", SpeckledWipeFromRight, 258},                                          // 148
    {"Speckled Wipe from Top", SpeckledWipeFromTop, 258},                                              // 149
    {"Speckled Wipe from Bottom", SpeckledWipeFromBottom, 258},                                        // 150
    {"Push Left and Slide out", PushLeftAndSlideOut, 10},                                              // 151
    {"Push Right and Slide out", PushRightAndSlideOut, 10},                                            // 152
    {"Push up and Slide out", PushUpAndSlideOut, 10},                                                  // 153
    {"Push down and Slide out", PushDownAndSlideOut, 10},                                              // 154
    {"Push and Squeeze Left", PushAndSqueezeLeft, 10},                                                 // 155
    {"Push and Squeeze Right", PushAndSqueezeRight, 10},                                               // 156
    {"Push and Squeeze up", PushAndSqueezeUp, 10},                                                     // 157
    {"Push and Squeeze down", PushAndSqueezeDown, 10},                                                 // 158
    {"Horizontal Blinds", HorizontalBlinds, 272},                                                      // 159
    {"Vertical Blinds", VerticalBlinds, 272},                                                          // 160
    {"Uneven Blinds from Left", UnevenBlindsFromLeft, 272},                                            // 161
    {"Uneven Blinds from Right", UnevenBlindsFromRight, 272},                                          // 162
    {"Uneven Blinds from Top", UnevenBlindsFromTop, 272},                                              // 163
    {"Uneven Blinds from Bottom", UnevenBlindsFromBottom, 272},                                        // 164
    {"Rectangles from the Left", RectanglesFromTheLeft, 273},                                          // 165
    {"Rectangles from the Right", RectanglesFromTheRight, 273},                                        // 166
    {"Rectangles from the Top", RectanglesFromTheTop, 273},                                            // 167
    {"Rectangles from the Bottom", RectanglesFromTheBottom, 273},                                      // 168
    {"Spiralling Rectangle Clockwise", SpirallingRectangleClockwise, 271},                             // 169
    {"Spiralling Rectangle Counter-Clockwise", SpirallingRectangleCounterClockwise, 271},              // 170
    {"Arrow Wipe from Left", ArrowWipeFromLeft, 260},                                                  // 171
    {"Arrow Wipe from Right", ArrowWipeFromRight, 260},                                                // 172
    {"Arrow Wipe from Top", ArrowWipeFromTop, 260},                                                    // 173
    {"Arrow Wipe from Bottom", ArrowWipeFromBottom, 260},                                              // 174
    {"Horizontal Bow Tie Wipe", HorizontalBowTieWipe, 260},                                            // 175
    {"Vertical Bow Tie Wipe", VerticalBowTieWipe, 260},                                                // 176
    {"Diagonal Cross from Center", DiagonalCrossFromCenter, 261},                                      // 177
    {"Diagonal Cross to Center", DiagonalCrossToCenter, 261},                                          // 178
    {"Zigzag Wipe from Horizon", ZigzagWipeFromHorizon, 260},                                          // 179
    {"Zigzag Wipe from Vertical Center", ZigzagWipeFromVerticalCenter, 260},                           // 180
    {"Diamond Wipe from Center", DiamondWipeFromCenter, 261},                                          // 181
    {"Diamond Wipe to Center", DiamondWipeToCenter, 261},                                              // 182
    {"Diamond Wipe In and Out", DiamondWipeInAndOut, 262},                                             // 183
    {"Triangular Wipe", TriangularWipe, 260},                                                          // 184
    {"Random Big Boxes", RandomBigBoxes, 270},                                                         // 185
    {"Page Flip", PageFlip, 0},                                                                        // 186
    {"Page Flip 2", PageFlip2, 0},                                                                     // 187
    {"Reverse Page Flip", ReversePageFlip, 0},                                                         // 188
    {"Reverse Page Flip 2", ReversePageFlip2, 0},                                                      // 189
    {"Zigzag Wipe To Horizon", ZigzagWipeToHorizon, 260},                                              // 190
    {"Zigzag Wipe To Vertical Center", ZigzagWipeToVerticalCenter, 260},                               // 191
    {"Random Hearts", RandomHearts, 270},                                                              // 192
    {"Random 5 Pointed Stars", RandomFivePointedStars, 270},                                           // 193
    {"Random 6 Pointed Stars", RandomSixPointedStars, 270},                                            // 194
    {"Random Explosions", RandomExplosions, 270},                                                      // 195
    {"Expanding Hearts", ExpandingHearts, 269},                                                        // 196
    {"Expanding 5 Pointed Stars", ExpandingFivePointedStars, 269},                                     // 197
    {"Expanding 6 Pointed Stars", ExpandingSixPointedStars, 269},                                      // 198
    {"Expanding Explosions", ExpandingExplosions, 269},                                                // 199
    {"Expanding Lightning Bolts", ExpandingLightningBolts, 269},                                       // 200
    {"Heart Wipe from Center", HeartWipeFromCenter, 261},                                              // 201
    {"Heart Wipe to Center", HeartWipeToCenter, 261},                                                  // 202
    {"5 Pointed Star Wipe from Center", FivePointedStarWipeFromCenter, 261},                           // 203
    {"5 Pointed Star Wipe to Center", FivePointedStarWipeToCenter, 261},                               // 204
    {"6 Pointed Star Wipe from Center", SixPointedStarWipeFromCenter, 261},                            // 205
    {"6 Pointed Star Wipe to Center", SixPointedStarWipeToCenter, 261},                                // 206
    {"Explosion Wipe from Center", ExplosionWipeFromCenter, 261},                                      // 207
    {"Explosion Wipe to Center", ExplosionWipeToCenter, 261},                                          // 208
    {"Cross Wipe from Center", CrossWipeFromCenter, 261},                                              // 209
    {"Cross Wipe to Center", CrossWipeToCenter, 261},                                                  // 210
    {"Heart Wipe In and Out", HeartWipeInAndOut, 262},                                                 // 211
    {"5 Pointed Star Wipe In and Out", FivePointedStarWipeInAndOut, 262},                              // 212
    {"6 Pointed Star Wipe In and Out", SixPointedStarWipeInAndOut, 262},                               // 213
    {"Explosion Wipe In and Out", ExplosionWipeInAndOut, 262},                                         // 214
};
