// The ANSI code page's lead bytes, looked up in a table learnt once: walks over every row ask
// about every byte, and a call into the system per byte costs more than the walk.
#pragma once

// True when c starts a double-byte character of the ANSI code page; a LeadByteFn.
bool IsAnsiLeadByte(unsigned char c);

// Sets isLead[c] for every byte c that starts a double-byte character of codePage (CP_ACP for the
// ANSI one). False when the system does not know the code page: then no byte leads.
bool LearnLeadBytes(unsigned codePage, bool isLead[256]);
