// Forming a language file's bytes from the model: the commented signature, then one
// ID="text" line per record. Window-free; the bytes go to a sink.
#pragma once
#include <cstddef>
#include <cstdint>

#include "langfile/lngmodel.h"

// Where formatted bytes go. write returns non-zero when it took all length bytes.
struct ByteSink {
    int (*write)(void *context, const char *bytes, size_t length);
    void *context;
};

// The signature of a template: three labels, each on its own line.
constexpr char kLangDefaultSignature[] = "Language: \r\nAuthor: \r\nVersion: \r\n";

// Formats model (with kLangDefaultSignature instead of its own signature when templateFlag is
// set) and hands the bytes to sink in a few large pieces. Returns the number of item-line bytes
// (the header is not counted; 0 for a model without records), or -1 when the sink failed or
// memory ran out.
//
// The header is the signature with "; " in front of each line and one CR LF after it; it is
// written whole, so a signature the reader kept (up to kLangSignatureMax bytes) comes back the
// same. An item line is the ID in unsigned decimal, "=", the text in double quotes and CR LF,
// written whole however long; in the text, tab, line feed, carriage return, double quote and
// backslash are written as \t, \n, \r, \" and \\, so every text without NUL reads back as it was.
int64_t LangFileFormat(const LangFile *model, int templateFlag, const ByteSink *sink);
