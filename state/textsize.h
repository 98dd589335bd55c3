// The size of every text the program keeps, its terminator included: a host string, a
// translation, a list cell, a UI text. A language file keeps at most kTextSize - 1 bytes of a text.
#pragma once

constexpr int kTextSize = 252;
