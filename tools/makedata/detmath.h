// Our own elementary functions for the data generator. libm's results may
// differ in the last bit between versions and machines, and one such bit can
// move a rounded byte; these use only + - * / and IEEE-exact operations
// (sqrt, floor, fabs), so with fused multiply-add off every machine makes the
// same data. Accurate to a few units in the last place for the arguments the
// generator uses (|x| below about a million for sin and cos).
#pragma once

namespace det {

double sin(double x);
double cos(double x);
double exp(double x);
double log(double x);            // x > 0
double pow(double x, double y);  // x >= 0
double hypot(double x, double y);
long lround(double x);  // halves away from zero, as std::lround

}  // namespace det
