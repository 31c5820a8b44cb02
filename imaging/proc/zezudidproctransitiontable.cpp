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
    {"Expand from Left", nullptr, 12},                                                                 // 31
    {"Expand from Right", nullptr, 12},                                                                // 32
    {"Expand from Top", nullptr, 12},                                                                  // 33
    {"Expand from Bottom", nullptr, 12},                                                               // 34
    {"Expand from Top Left", nullptr, 12},                                                             // 35
    {"Expand from Top Right", nullptr, 12},                                                            // 36
    {"Expand from Bottom Left", nullptr, 12},                                                          // 37
    {"Expand from Bottom Right", nullptr, 12},                                                         // 38
    {"Expand in from Left", nullptr, 12},                                                              // 39
    {"Expand in from Right", nullptr, 12},                                                             // 40
    {"Expand in from Top", nullptr, 12},                                                               // 41
    {"Expand in from Bottom", nullptr, 12},                                                            // 42
    {"Expand in to Vertical Center", nullptr, 12},                                                     // 43
    {"Expand in to Horizon", nullptr, 12},                                                             // 44
    {"Expand in from Sides", nullptr, 12},                                                             // 45
    {"Expand in from Top and Bottom", nullptr, 12},                                                    // 46
    {"Expand out from Horizon", nullptr, 12},                                                          // 47
    {"Expand out from Vertical Center", nullptr, 12},                                                  // 48
    {"Wipe from Top Left", nullptr, 257},                                                              // 49
    {"Wipe from Top Right", nullptr, 257},                                                             // 50
    {"Wipe from Bottom Left", nullptr, 257},                                                           // 51
    {"Wipe from Bottom Right", nullptr, 257},                                                          // 52
    {"Wipe in from Top and Bottom", nullptr, 257},                                                     // 53
    {"Wipe from Horizon", nullptr, 257},                                                               // 54
    {"Wipe in from Sides", nullptr, 257},                                                              // 55
    {"Wipe out from Vertical Center", nullptr, 257},                                                   // 56
    {"Build up from Left", nullptr, 16},                                                               // 57
    {"Build up from Right", nullptr, 16},                                                              // 58
    {"Build up from Top", nullptr, 16},                                                                // 59
    {"Build up from Bottom", nullptr, 16},                                                             // 60
    {"Unroll from Left", nullptr, 258},                                                                // 61
    {"Unroll from Right", nullptr, 258},                                                               // 62
    {"Unroll from Top", nullptr, 258},                                                                 // 63
    {"Unroll from Bottom", nullptr, 258},                                                              // 64
    {"Slide in from Left", nullptr, 9},                                                                // 65
    {"Slide in from Right", nullptr, 9},                                                               // 66
    {"Slide in from Top", nullptr, 9},                                                                 // 67
    {"Slide in from Bottom", nullptr, 9},                                                              // 68
    {"Shrink to Top Left", nullptr, 11},                                                               // 69
    {"Shrink to Top Right", nullptr, 11},                                                              // 70
    {"Shrink to Bottom Left", nullptr, 11},                                                            // 71
    {"Shrink to Bottom Right", nullptr, 11},                                                           // 72
    {"Shrink to Center", nullptr, 11},                                                                 // 73
    {"Quarters Wipe in to Center", nullptr, 257},                                                      // 74
    {"Quarters Expand to Center", nullptr, 12},                                                        // 75
    {"Quarters Slide in to Center", nullptr, 9},                                                       // 76
    {"Curved Wipe from Left", nullptr, 259},                                                           // 77
    {"Curved Wipe from Right", nullptr, 259},                                                          // 78
    {"Curved Wipe from Top", nullptr, 259},                                                            // 79
    {"Curved Wipe from Bottom", nullptr, 259},                                                         // 80
    {"Curved Wipe from Top Left", nullptr, 259},                                                       // 81
    {"Curved Wipe from Top Right", nullptr, 259},                                                      // 82
    {"Curved Wipe from Bottom Left", nullptr, 259},                                                    // 83
    {"Curved Wipe from Bottom Right", nullptr, 259},                                                   // 84
    {"Bars in from Left", nullptr, 264},                                                               // 85
    {"Bars in from Right", nullptr, 264},                                                              // 86
    {"Bars from Top", nullptr, 264},                                                                   // 87
    {"Bars from Bottom", nullptr, 264},                                                                // 88
    {"Bars Left then Right", nullptr, 264},                                                            // 89
    {"Bars Right then Left", nullptr, 264},                                                            // 90
    {"Bars Top then Bottom", nullptr, 264},                                                            // 91
    {"Bars Bottom then Top", nullptr, 264},                                                            // 92
    {"Bars from both Sides", nullptr, 264},                                                            // 93
    {"Bars from Top and Bottom", nullptr, 264},                                                        // 94
    {"Shredded from Left", nullptr, 263},                                                              // 95
    {"Shredded from Right", nullptr, 263},                                                             // 96
    {"Shredded from Top", nullptr, 263},                                                               // 97
    {"Shredded from Bottom", nullptr, 263},                                                            // 98
    {"Shredded from Top and Left", nullptr, 263},                                                      // 99
    {"Shredded from Top and Right", nullptr, 263},                                                     // 100
    {"Shredded from Bottom and Left", nullptr, 263},                                                   // 101
    {"Shredded from Bottom and Right", nullptr, 263},                                                  // 102
    {"Shredded from Horizon and Left", nullptr, 263},                                                  // 103
    {"Shredded from Horizon and Right", nullptr, 263},                                                 // 104
    {"Shredded from Top and Vertical Center", nullptr, 263},                                           // 105
    {"Shredded from Bottom and Vertical Center", nullptr, 263},                                        // 106
    {"Shredded from Center", nullptr, 263},                                                            // 107
    {"Shredded to Center", nullptr, 263},                                                              // 108
    {"Shredded in to Horizon", nullptr, 263},                                                          // 109
    {"Shredded in to Vertical Center", nullptr, 263},                                                  // 110
    {"Shredded out from Horizon", nullptr, 263},                                                       // 111
    {"Shredded out from Vertical Center", nullptr, 263},                                               // 112
    {"Expanding Rectangles", nullptr, 269},                                                            // 113
    {"Expanding Triangles", nullptr, 269},                                                             // 114
    {"Expanding Circles", nullptr, 269},                                                               // 115
    {"Expanding Diamonds", nullptr, 269},                                                              // 116
    {"Circular Wipe from Center", nullptr, 261},                                                       // 117
    {"Circular Wipe to Center", nullptr, 261},                                                         // 118
    {"Crisscross Wipe from Top Left", nullptr, 264},                                                   // 119
    {"Crisscross Wipe from Top Right", nullptr, 264},                                                  // 120
    {"Crisscross Wipe from Bottom Left", nullptr, 264},                                                // 121
    {"Crisscross Wipe from Bottom Right", nullptr, 264},                                               // 122
    {"Crisscross Wipe Bounce from Top Left", nullptr, 264},                                            // 123
    {"Crisscross Wipe Bounce from Top Right", nullptr, 264},                                           // 124
    {"Crisscross Wipe Bounce from Bottom Left", nullptr, 264},                                         // 125
    {"Crisscross Wipe Bounce from Bottom Right", nullptr, 264},                                        // 126
    {"Crisscross Wipe from Left Right and Top", nullptr, 264},                                         // 127
    {"Crisscross Wipe from Left Right and Bottom", nullptr, 264},                                      // 128
    {"Crisscross Wipe from Left Top and Bottom", nullptr, 264},                                        // 129
    {"Crisscross Wipe from Top Left Right and Bottom", CrisscrossWipeFromTopLeftRightAndBottom, 264},  // 130
    {"Crisscross Wipe from Right Top and Bottom", nullptr, 264},                                       // 131
    {"Crisscross Wipe from Bottom Left Top Right", nullptr, 264},                                      // 132
    {"Wipe diagonal from Top Left", nullptr, 260},                                                     // 133
    {"Wipe diagonal from Top Right", nullptr, 260},                                                    // 134
    {"Wipe diagonal from Bottom Left", nullptr, 260},                                                  // 135
    {"Wipe diagonal from Bottom Right", nullptr, 260},                                                 // 136
    {"Diagonal Sweep Clockwise", nullptr, 271},                                                        // 137
    {"Diagonal Sweep Counter-Clockwise", nullptr, 271},                                                // 138
    {"Sweep Clockwise", nullptr, 271},                                                                 // 139
    {"Sweep Counter-Clockwise", nullptr, 271},                                                         // 140
    {"Starburst Clockwise", nullptr, 271},                                                             // 141
    {"Starburst Counter-Clockwise", nullptr, 271},                                                     // 142
    {"Rotational Rectangle Clockwise", nullptr, 271},                                                  // 143
    {"Rotational Rectangle Counter-Clockwise", nullptr, 271},                                          // 144
    {"Rotational Star Clockwise", nullptr, 271},                                                       // 145
    {"Rotational Star Counter-Clockwise", nullptr, 271},                                               // 146
    {"Speckled Wipe from Left", nullptr, 258},                                                         // 147
    {"Speckled Wipe from Right", nullptr, 258},                                                        // 148
    {"Speckled Wipe from Top", nullptr, 258},                                                          // 149
    {"Speckled Wipe from Bottom", nullptr, 258},                                                       // 150
    {"Push Left and Slide out", nullptr, 10},                                                          // 151
    {"Push Right and Slide out", nullptr, 10},                                                         // 152
    {"Push up and Slide out", nullptr, 10},                                                            // 153
    {"Push down and Slide out", nullptr, 10},                                                          // 154
    {"Push and Squeeze Left", nullptr, 10},                                                            // 155
    {"Push and Squeeze Right", nullptr, 10},                                                           // 156
    {"Push and Squeeze up", nullptr, 10},                                                              // 157
    {"Push and Squeeze down", nullptr, 10},                                                            // 158
    {"Horizontal Blinds", nullptr, 272},                                                               // 159
    {"Vertical Blinds", nullptr, 272},                                                                 // 160
    {"Uneven Blinds from Left", nullptr, 272},                                                         // 161
    {"Uneven Blinds from Right", nullptr, 272},                                                        // 162
    {"Uneven Blinds from Top", nullptr, 272},                                                          // 163
    {"Uneven Blinds from Bottom", nullptr, 272},                                                       // 164
    {"Rectangles from the Left", nullptr, 273},                                                        // 165
    {"Rectangles from the Right", nullptr, 273},                                                       // 166
    {"Rectangles from the Top", nullptr, 273},                                                         // 167
    {"Rectangles from the Bottom", nullptr, 273},                                                      // 168
    {"Spiralling Rectangle Clockwise", nullptr, 271},                                                  // 169
    {"Spiralling Rectangle Counter-Clockwise", nullptr, 271},                                          // 170
    {"Arrow Wipe from Left", nullptr, 260},                                                            // 171
    {"Arrow Wipe from Right", nullptr, 260},                                                           // 172
    {"Arrow Wipe from Top", nullptr, 260},                                                             // 173
    {"Arrow Wipe from Bottom", nullptr, 260},                                                          // 174
    {"Horizontal Bow Tie Wipe", nullptr, 260},                                                         // 175
    {"Vertical Bow Tie Wipe", nullptr, 260},                                                           // 176
    {"Diagonal Cross from Center", nullptr, 261},                                                      // 177
    {"Diagonal Cross to Center", nullptr, 261},                                                        // 178
    {"Zigzag Wipe from Horizon", nullptr, 260},                                                        // 179
    {"Zigzag Wipe from Vertical Center", nullptr, 260},                                                // 180
    {"Diamond Wipe from Center", nullptr, 261},                                                        // 181
    {"Diamond Wipe to Center", nullptr, 261},                                                          // 182
    {"Diamond Wipe In and Out", nullptr, 262},                                                         // 183
    {"Triangular Wipe", nullptr, 260},                                                                 // 184
    {"Random Big Boxes", nullptr, 270},                                                                // 185
    {"Page Flip", nullptr, 0},                                                                         // 186
    {"Page Flip 2", nullptr, 0},                                                                       // 187
    {"Reverse Page Flip", nullptr, 0},                                                                 // 188
    {"Reverse Page Flip 2", nullptr, 0},                                                               // 189
    {"Zigzag Wipe To Horizon", nullptr, 260},                                                          // 190
    {"Zigzag Wipe To Vertical Center", nullptr, 260},                                                  // 191
    {"Random Hearts", nullptr, 270},                                                                   // 192
    {"Random 5 Pointed Stars", nullptr, 270},                                                          // 193
    {"Random 6 Pointed Stars", nullptr, 270},                                                          // 194
    {"Random Explosions", nullptr, 270},                                                               // 195
    {"Expanding Hearts", nullptr, 269},                                                                // 196
    {"Expanding 5 Pointed Stars", nullptr, 269},                                                       // 197
    {"Expanding 6 Pointed Stars", nullptr, 269},                                                       // 198
    {"Expanding Explosions", nullptr, 269},                                                            // 199
    {"Expanding Lightning Bolts", nullptr, 269},                                                       // 200
    {"Heart Wipe from Center", nullptr, 261},                                                          // 201
    {"Heart Wipe to Center", nullptr, 261},                                                            // 202
    {"5 Pointed Star Wipe from Center", nullptr, 261},                                                 // 203
    {"5 Pointed Star Wipe to Center", nullptr, 261},                                                   // 204
    {"6 Pointed Star Wipe from Center", nullptr, 261},                                                 // 205
    {"6 Pointed Star Wipe to Center", nullptr, 261},                                                   // 206
    {"Explosion Wipe from Center", nullptr, 261},                                                      // 207
    {"Explosion Wipe to Center", nullptr, 261},                                                        // 208
    {"Cross Wipe from Center", nullptr, 261},                                                          // 209
    {"Cross Wipe to Center", nullptr, 261},                                                            // 210
    {"Heart Wipe In and Out", nullptr, 262},                                                           // 211
    {"5 Pointed Star Wipe In and Out", nullptr, 262},                                                  // 212
    {"6 Pointed Star Wipe In and Out", nullptr, 262},                                                  // 213
    {"Explosion Wipe In and Out", nullptr, 262},                                                       // 214
};
