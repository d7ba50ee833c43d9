// Uniform random numbers from one generator that the program never seeds, so
// every run draws the same sequence.
#pragma once

// Uniform in [min(a, b), max(a, b)); a when a == b.
double RandomFloat(double a, double b);

// Uniform integer from lo to hi, both included (the bounds may come in either order).
int RandomInt(int lo, int hi);
