#pragma once
// a * b + c rounded once, to nearest with ties to even, computed with
// integer arithmetic. std::fma cannot be trusted for this where no FMA
// instruction is used: MinGW-w64's runtime (libmingwex) computes it with
// doubles and rounds twice, wrong in about one case in eight.
//
// Exact for every finite a, b, c, subnormal and overflowing results
// included; with an infinite or nan operand the result is that of a * b + c.
double exactFma(double a, double b, double c);
