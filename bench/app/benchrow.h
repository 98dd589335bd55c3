// The line a timing program prints for each measured operation, beside its own report, so
// that scripts/bench.sh can gather every program's figures into one table.
//
//   @bench <tab> operation <tab> size <tab> median ms <tab> compared with <tab> compared ms <tab> target
//
// The compared figure is a time in milliseconds: a budget, or what a reference takes for the
// same work. The table's ratio is compared / median, so above 1 is better.
#pragma once
#include <cstdio>

inline void BenchRow(const char *operation, const char *size, double medianMs, const char *comparedWith,
                     double comparedMs, const char *target)
{
    printf("@bench\t%s\t%s\t%.3f\t%s\t%.3f\t%s\n", operation, size, medianMs, comparedWith, comparedMs, target);
    fflush(stdout);
}
