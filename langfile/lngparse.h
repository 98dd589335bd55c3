// Reading a language file's bytes into the model: the signature block, the item lines, the sort.
// Works on a byte range; never reads outside it and never relies on a terminator.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame/textcut.h"
#include "langfile/lngmodel.h"

constexpr size_t kLangIdTokenMax = 255; // bytes of an ID token kept; its value comes from them
// The ID of a token whose digits pass 32 bits: like every ID from kLangIdLimit on, it matches no
// string, so such an item can never land on a real row.
constexpr uint32_t kLangIdTooLarge = UINT32_MAX;

// Parses length bytes at data into model: the signature replaces the model's, the records are
// appended and then all of them sorted by ID. Returns the number of records the model holds.
// A text token longer than kLangTextMax bytes keeps its first kLangTextMax bytes at most, cut on
// a character boundary (isLeadByte is asked only there); the rest of the token is consumed. The
// same for ID tokens and kLangIdTokenMax, and for the signature and kLangSignatureMax.
int LangFileParse(LangFile *model, const char *data, size_t length, LeadByteFn isLeadByte);
