// The language file the benchmarks and the timing program work on, made in-process and the
// same on every run: 65,000 records, about 3.5 MB when written.
#pragma once
#include "langfile/lngmodel.h"

constexpr int kSampleRecords = 65000;

// Records in ascending ID order, as the program saves them; or, with shuffled set, the same
// records in a scrambled order, as a hand-edited file might have them. Null without memory.
LangFile *BuildSampleModel(int shuffled);
