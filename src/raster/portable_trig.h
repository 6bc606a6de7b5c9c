#pragma once
// Sine and cosine compiled into the program, so that every build (Linux,
// Windows, WebAssembly) composes the same frames: the C runtimes' sin and
// cos differ in the last bit on some arguments.
//
// For |x| < 105414350 the results are those of glibc 2.36's sin and cos as
// they run on x86-64 CPUs with FMA (the variant glibc picks there): the same
// table-driven algorithm, with a fused multiply-add wherever that build has
// one. Only IEEE double +, -, *, / and exactly rounded fused multiply-adds
// are used (exactFma, or the FMA instruction where the CPU has it, which
// gives the same bits), so the results depend on neither the compiler nor
// the CPU nor the C runtime.
//
// Beyond that range the results are deterministic values in [-1, 1] but not
// the sine and cosine of x (the demo never gets there); inf and nan give nan.

double portableSin(double x);
double portableCos(double x);

namespace portable_trig_detail {

// The same functions, always with the integer fused multiply-add, whatever
// the CPU offers (for the tests: portableSin/portableCos use the FMA
// instruction where there is one, and both must give the same bits).
double sinWithSoftwareFma(double x);
double cosWithSoftwareFma(double x);

}  // namespace portable_trig_detail
