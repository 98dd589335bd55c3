// Resource numbers of the image resource tests.
#pragma once
#define IDR_TEST_STRIP 103
#define IDR_TEST_TEXT 104
