// The shared port fakes of the tests, compiled once into the benchmark program, so that
// benchmarks drive the core exactly as the tests do.
#include "support/fake_platform.cpp"
